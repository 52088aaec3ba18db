#include "FuzzSupport.h"

#include "core/Messages.h"
#include "core/UiTextManager.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

namespace {

class SilentPresenter : public IPresenter
{
public:
    TModalResult ShowMessage(const QString &, TMsgDlgType, TMsgDlgButtons, const QString &) override
    {
        return TModalResult::mrOk;
    }
    bool AskFileName(TFileDialogKind, const QString &, const QString &, const QString &, QString &) override
    {
        return false;
    }
};

} // namespace

void FuzzSupport::Initialise()
{
    static std::unique_ptr<QTemporaryDir> home;
    static SilentPresenter presenter;
    if (home)
        return;
    home = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/velomyra-fuzz-XXXXXX"));
    const QByteArray path = home->path().toLocal8Bit();
    setenv("HOME", path.constData(), 1);
    const QByteArray config = path + QByteArray("/.config");
    setenv("XDG_CONFIG_HOME", config.constData(), 1);
    SetPresenter(&presenter);
    GetTranslationManager().LoadResource(QStringLiteral("LOCALE_ENGLISH"));
}
