// The Results Export and Data Export commands and the export selection dialog: the
// clipboard, a text file, and the ways out without exporting.

#include "MainWindowTestSupport.h"

#include "core/MarnovelConfigManager.h"
#include "core/MarnovelUtils.h"
#include "core/SettingsStore.h"
#include "core/UiTextManager.h"
#include "files/ExportTexts.h"
#include "run/RunCalculation.h"
#include "support/GuiApplication.h"
#include "ui/main/RunDatePicker.h"
#include "ui/main/dialogs/ExportSelectionForm.h"
#include "ui/main/grids/RawDataGrid.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QRadioButton>
#include <QSettings>

#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;
using TestSupport::Presenter;

namespace {

// Files larger than `bytes` cannot be written while it lives: the system's "File too large".
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &mSaved);
        mHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, mSaved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &mSaved);
        std::signal(SIGXFSZ, mHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit mSaved{};
    void (*mHandler)(int) = nullptr;
};

QByteArray Content(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ExportsTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        // The example run is dated 9 December 2026.
        QDir folder(ExportFolder());
        for (const QString &name : folder.entryList({u"09Dec26*"_s}, QDir::Files))
            folder.remove(name);
        QGuiApplication::clipboard()->setText(u"before"_s);
        LoadAndCalculate();
    }

    static QString ExportFolder() { return GetConfigManager().GetDirExportFiles(); }
    static QString InExportFolder(const QString &name) { return QDir(ExportFolder()).filePath(name); }

    TfrmExportSelection *OpenExport(const QString &command) const
    {
        Click(Button(command));
        auto *dialog = window->findChild<TfrmExportSelection *>();
        EXPECT_TRUE(dialog && dialog->isVisible()) << command.toStdString();
        return dialog;
    }
    template <typename Widget> static Widget *In(TfrmExportSelection *dialog, const QString &name)
    {
        auto *widget = dialog->findChild<Widget *>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    // Clicks through the dialog; true when it closed.
    bool Choose(TfrmExportSelection *dialog, const QString &radio, const QString &button) const
    {
        QPointer<TfrmExportSelection> alive(dialog);
        Click(In<QRadioButton>(dialog, radio));
        Click(In<QPushButton>(dialog, button));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return !alive || !alive->isVisible();
    }

public:
    TRunDetails Details() const
    {
        return {window->GetRunDateDt()->date(), window->GetRunNoEd()->text(),
                window->GetKitBatchNoEd()->text(), window->GetOperatorEd()->text()};
    }
    QString ResultsText() const
    {
        return BuildResultsExportText(window->RunData(), *window->LastResult(), Details());
    }
    QString RawDataText() const
    {
        return BuildRawDataExportText(window->RunData(), *window->LastResult(), Details(),
                                      *Child<TRawDataGrid>(u"rawDataGd"_s));
    }
};

} // namespace

TEST_F(ExportsTest, ResultsExport_ClipboardChosenAtFirst_TextOnClipboardAndText149)
{
    TfrmExportSelection *dialog = OpenExport(u"resultsExportPb"_s);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    EXPECT_TRUE(In<QRadioButton>(dialog, u"rbClipboardExport"_s)->isChecked());
    EXPECT_EQ(In<QGroupBox>(dialog, u"grpSelection"_s)->title(), u"Export Type"_s);
    EXPECT_EQ(In<QRadioButton>(dialog, u"rbFileExport"_s)->text(), u"Export To File"_s);
    EXPECT_EQ(dialog->ExportSelectedType(), EXP_CLIPBOARD);

    EXPECT_TRUE(Choose(dialog, u"rbClipboardExport"_s, u"btnOk"_s));
    const QString text = QGuiApplication::clipboard()->text();
    EXPECT_EQ(text, ResultsText());
    EXPECT_TRUE(text.contains(u"\r\nID 36\t1\t09/Dec/2026\tYes\t> 10#\r\n"_s)) << text.toStdString();
    EXPECT_EQ(Presenter().Texts(), QStringList{u"Results copied to Windows Clipboard."_s});
    EXPECT_TRUE(Presenter().fileRequests.empty());
}

TEST_F(ExportsTest, DataExport_ToClipboard_TextAndText110)
{
    TfrmExportSelection *dialog = OpenExport(u"rawDataExportPb"_s);
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(Choose(dialog, u"rbClipboardExport"_s, u"btnOk"_s));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), RawDataText());
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith(u"Version: "_s));
    EXPECT_EQ(Presenter().Texts(), QStringList{u"Raw Data copied to Windows Clipboard."_s});
    // A copy that worked is information, not an error.
    EXPECT_EQ(Presenter().messages.front().kind, TMsgDlgType::mtInformation);
}

TEST_F(ExportsTest, ToFile_ProposedNameWithFirstFreeSuffix_Utf8WithBom)
{
    const struct
    {
        QString command, word;
        QString (ExportsTest::*text)() const;
    } exports[] = {{u"resultsExportPb"_s, u"ResultExp"_s, &ExportsTest::ResultsText},
                   {u"rawDataExportPb"_s, u"DataExp"_s, &ExportsTest::RawDataText}};
    for (const auto &e : exports) {
        for (const QString &suffix : {u"a"_s, u"b"_s}) {
            Presenter().Clear();
            const QString name = u"09Dec26"_s + e.word + suffix + u".txt"_s;
            Presenter().fileNames.push_back(InExportFolder(name));
            TfrmExportSelection *dialog = OpenExport(e.command);
            ASSERT_TRUE(dialog);
            EXPECT_TRUE(Choose(dialog, u"rbFileExport"_s, u"btnOk"_s));
            ASSERT_EQ(Presenter().fileRequests.size(), 1u);
            const auto &request = Presenter().fileRequests[0];
            EXPECT_EQ(request.kind, TFileDialogKind::Save);
            EXPECT_EQ(request.proposedName, name); // "a" taken after the first export
            EXPECT_EQ(request.filter, u"Text File|*.txt"_s);
            EXPECT_EQ(QDir(request.initialFolder), QDir(ExportFolder()));
            EXPECT_EQ(Content(InExportFolder(name)), QByteArray("\xEF\xBB\xBF") + (this->*e.text)().toUtf8());
            // No message after a file, and the clipboard untouched.
            EXPECT_TRUE(Presenter().messages.empty()) << Messages();
            EXPECT_EQ(QGuiApplication::clipboard()->text(), u"before"_s);
        }
    }
}

TEST_F(ExportsTest, SaveDialogCancelled_ExportDialogStaysOpenUntilCancel)
{
    TfrmExportSelection *dialog = OpenExport(u"resultsExportPb"_s);
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(Choose(dialog, u"rbFileExport"_s, u"btnOk"_s)); // nothing queued: cancelled
    EXPECT_EQ(Presenter().fileRequests.size(), 1u);
    EXPECT_EQ(dialog->ExportSelectedType(), EXP_FILE);
    EXPECT_TRUE(QDir(ExportFolder()).entryList({u"09Dec26*"_s}, QDir::Files).isEmpty());

    EXPECT_TRUE(Choose(dialog, u"rbFileExport"_s, u"btnCancel"_s));
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"before"_s);

    // Cancel at once exports nothing either.
    dialog = OpenExport(u"rawDataExportPb"_s);
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(Choose(dialog, u"rbClipboardExport"_s, u"btnCancel"_s));
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"before"_s);
}

TEST_F(ExportsTest, FileCannotBeWritten_SystemsReason_OldFileIntact_DialogStaysOpen)
{
    const QString target = InExportFolder(u"09Dec26ResultExpa.txt"_s);
    WriteFileAtomically(target, "old export");
    Presenter().fileNames.push_back(target);
    TfrmExportSelection *dialog = OpenExport(u"resultsExportPb"_s);
    ASSERT_TRUE(dialog);
    // Too small for the export, large enough for the settings store, which remembers the
    // export folder on the way.
    const qint64 exportSize = ResultsText().toUtf8().size() + 3;
    const qint64 storeSize = QFileInfo(SettingsStore::Open()->fileName()).size();
    ASSERT_LT(storeSize + 512, exportSize);
    bool closed = false;
    Presenter().answers = {TModalResult::mrYes}; // replace the old export
    {
        const FileSizeLimit limit(static_cast<rlim_t>(exportSize - 1));
        closed = Choose(dialog, u"rbFileExport"_s, u"btnOk"_s);
    }
    EXPECT_FALSE(closed);
    ASSERT_EQ(Presenter().messages.size(), 2u) << Messages();
    EXPECT_EQ(Presenter().messages[0].text, UiText(1000).arg(QDir::toNativeSeparators(target)));
    const QString message = Presenter().messages[1].text;
    EXPECT_EQ(message, u"The file \""_s + QDir::toNativeSeparators(target) +
                           u"\" cannot be written: the file is too large."_s);
    EXPECT_EQ(Presenter().messages[1].caption, UiText(131));
    EXPECT_EQ(Content(target), QByteArray("old export"));
    EXPECT_EQ(QDir(ExportFolder()).entryList({u"09Dec26*"_s}, QDir::Files | QDir::Hidden),
              QStringList{u"09Dec26ResultExpa.txt"_s});
}

// Either export offers the run's workbook, named as the text exports are with ".xlsx"; one
// that cannot be written keeps the old file and names it.
TEST_F(ExportsTest, ToWorkbook_ProposedXlsxName_WrittenOrOldFileKept)
{
    const struct
    {
        QString command, word;
    } exports[] = {{u"resultsExportPb"_s, u"ResultExp"_s}, {u"rawDataExportPb"_s, u"DataExp"_s}};
    for (const auto &e : exports) {
        Presenter().Clear();
        const QString name = u"09Dec26"_s + e.word + u"a.xlsx"_s;
        Presenter().fileNames.push_back(InExportFolder(name));
        TfrmExportSelection *dialog = OpenExport(e.command);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(In<QRadioButton>(dialog, u"rbWorkbookExport"_s)->text(), u"Export To Excel Workbook"_s);
        EXPECT_TRUE(Choose(dialog, u"rbWorkbookExport"_s, u"btnOk"_s));
        ASSERT_EQ(Presenter().fileRequests.size(), 1u);
        EXPECT_EQ(Presenter().fileRequests[0].proposedName, name);
        EXPECT_EQ(Presenter().fileRequests[0].filter, u"Excel Workbook|*.xlsx"_s);
        const QByteArray workbook = Content(InExportFolder(name));
        EXPECT_TRUE(workbook.startsWith("PK\x03\x04")) << "a zip container";
        for (const char *part : {"xl/workbook.xml", "xl/worksheets/sheet4.xml"})
            EXPECT_TRUE(workbook.contains(part)) << part;
        EXPECT_TRUE(Presenter().messages.empty()) << Messages();
        EXPECT_EQ(QGuiApplication::clipboard()->text(), u"before"_s);
    }

    const QString target = InExportFolder(u"09Dec26ResultExpa.xlsx"_s);
    WriteFileAtomically(target, "old workbook");
    Presenter().Clear();
    Presenter().fileNames.push_back(target);
    Presenter().answers = {TModalResult::mrYes};
    TfrmExportSelection *dialog = OpenExport(u"resultsExportPb"_s);
    ASSERT_TRUE(dialog);
    bool closed = false;
    {
        const FileSizeLimit limit(
            static_cast<rlim_t>(QFileInfo(SettingsStore::Open()->fileName()).size() + 512));
        closed = Choose(dialog, u"rbWorkbookExport"_s, u"btnOk"_s);
    }
    EXPECT_FALSE(closed);
    ASSERT_EQ(Presenter().messages.size(), 2u) << Messages();
    EXPECT_TRUE(Presenter().messages[1].text.startsWith(u"The file \""_s + QDir::toNativeSeparators(target) +
                                                        u"\" cannot be written: "_s))
        << Messages();
    EXPECT_EQ(Content(target), QByteArray("old workbook"));
    EXPECT_TRUE(Choose(dialog, u"rbWorkbookExport"_s, u"btnCancel"_s));
}

TEST_F(ExportsTest, ToFile_NameWithoutExtension_AskedAboutTheTxtFileBeforeReplacingIt)
{
    const QString typed = InExportFolder(u"09Dec26ResultExpa"_s);
    const QString target = typed + u".txt"_s;
    WriteFileAtomically(target, "old export");
    const QString question = UiText(1000).arg(QDir::toNativeSeparators(target));

    // No: the save dialog opens again on that file; cancelled there, nothing is written.
    Presenter().fileNames = {typed};
    Presenter().answers = {TModalResult::mrNo};
    TfrmExportSelection *dialog = OpenExport(u"resultsExportPb"_s);
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(Choose(dialog, u"rbFileExport"_s, u"btnOk"_s));
    EXPECT_EQ(Presenter().Texts(), QStringList{question});
    EXPECT_EQ(Presenter().fileRequests.back().proposedName, target);
    EXPECT_EQ(Content(target), QByteArray("old export"));

    // Yes: replaced.
    Presenter().Clear();
    Presenter().fileNames = {typed};
    Presenter().answers = {TModalResult::mrYes};
    EXPECT_TRUE(Choose(dialog, u"rbFileExport"_s, u"btnOk"_s));
    EXPECT_EQ(Presenter().Texts(), QStringList{question});
    EXPECT_EQ(Content(target), QByteArray("\xEF\xBB\xBF") + ResultsText().toUtf8());
    EXPECT_EQ(QDir(ExportFolder()).entryList({u"09Dec26*"_s}, QDir::Files),
              QStringList{u"09Dec26ResultExpa.txt"_s});
}

TEST_F(ExportsTest, ToFile_DeviceOrFolder_RefusedNamingIt_NothingWritten)
{
    QDir(ExportFolder()).mkdir(u"09Dec26folder"_s);
    for (const QString &typed : {u"/dev/null"_s, InExportFolder(u"09Dec26folder"_s)}) {
        Presenter().Clear();
        Presenter().fileNames = {typed}; // then cancelled
        TfrmExportSelection *dialog = OpenExport(u"resultsExportPb"_s);
        ASSERT_TRUE(dialog);
        EXPECT_FALSE(Choose(dialog, u"rbFileExport"_s, u"btnOk"_s));
        EXPECT_EQ(Presenter().Texts(), QStringList{UiText(1001).arg(QDir::toNativeSeparators(typed))});
        EXPECT_FALSE(QFileInfo::exists(typed + u".txt"_s));
        EXPECT_TRUE(Choose(dialog, u"rbFileExport"_s, u"btnCancel"_s));
    }
    QDir(ExportFolder()).rmdir(u"09Dec26folder"_s);
}
