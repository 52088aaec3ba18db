#include "TestSupport.h"

#include "core/RegionalSettings.h"
#include "core/SettingsStore.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace TestSupport {

namespace {

QTemporaryDir *gHome = nullptr;

// Runs before main: QSettings and QStandardPaths must never see the real user's folders.
struct EarlyEnvironment
{
    EarlyEnvironment()
    {
        gHome = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/velomyra-test-XXXXXX"));
        const QByteArray home = gHome->path().toUtf8();
        qputenv("HOME", home);
        qputenv("XDG_CONFIG_HOME", home + "/.config");
        qputenv("XDG_DATA_HOME", home + "/.local/share");
        qputenv("XDG_CACHE_HOME", home + "/.cache");
        qputenv("XDG_DOCUMENTS_DIR", home + "/Documents");
    }
    ~EarlyEnvironment()
    {
        delete gHome;
        gHome = nullptr;
    }
} gEarly;

class VelomyraEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        // Dates are fixed so expected texts are stable; the number separators come from
        // the system locale, or are "," and "." in the comma variant.
        auto store = SettingsStore::Open();
        store->beginGroup(QString::fromLatin1(SettingsStore::InternationalGroup));
        store->setValue(QStringLiteral("sDate"), QStringLiteral("/"));
        store->setValue(QStringLiteral("sShortDate"), QStringLiteral("dd/MM/yyyy"));
        store->setValue(QStringLiteral("sLongDate"), QStringLiteral("dddd, d MMMM yyyy"));
        if (CommaVariant()) {
            store->setValue(QStringLiteral("sDecimal"), QStringLiteral(","));
            store->setValue(QStringLiteral("sThousand"), QStringLiteral("."));
        }
        store->endGroup();
        store->sync();
    }
    void TearDown() override { SetPresenter(nullptr); }
};

[[maybe_unused]] ::testing::Environment *const gEnvironment =
    ::testing::AddGlobalTestEnvironment(new VelomyraEnvironment);

} // namespace

TModalResult RecordingPresenter::ShowMessage(const QString &text, TMsgDlgType kind, TMsgDlgButtons buttons,
                                             const QString &caption)
{
    messages.push_back({text, kind, buttons, caption});
    if (!answers.empty()) {
        const TModalResult answer = answers.front();
        answers.pop_front();
        return answer;
    }
    if (buttons & TMsgDlgBtn::mbOK)
        return TModalResult::mrOk;
    if (buttons & TMsgDlgBtn::mbYes)
        return TModalResult::mrYes;
    return TModalResult::mrCancel;
}

bool RecordingPresenter::AskFileName(TFileDialogKind kind, const QString &filter,
                                     const QString &initialFolder, const QString &proposedName,
                                     QString &fileName)
{
    fileRequests.push_back({kind, filter, initialFolder, proposedName});
    if (fileNames.empty()) {
        fileName = proposedName;
        return false;
    }
    fileName = fileNames.front();
    fileNames.pop_front();
    return !fileName.isEmpty();
}

QStringList RecordingPresenter::Texts() const
{
    QStringList texts;
    for (const auto &message : messages)
        texts << message.text;
    return texts;
}

void RecordingPresenter::Clear()
{
    messages.clear();
    answers.clear();
    fileNames.clear();
    fileRequests.clear();
}

RecordingPresenter &Presenter()
{
    static RecordingPresenter presenter;
    return presenter;
}

QString HomeDir()
{
    return gHome ? gHome->path() : QString();
}

QString Dec(const QString &text)
{
    QString result = text;
    result.replace(QLatin1Char('.'), GetRegionalDecimalSeparator());
    return result;
}

bool CommaVariant()
{
    return qgetenv("VELOMYRA_TEST_REGIONAL") == "comma";
}

} // namespace TestSupport
