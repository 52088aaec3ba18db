#include "Startup.h"

#include "core/Exceptions.h"
#include "core/MarnovelConfigManager.h"
#include "core/UiTextManager.h"
#include "support/GuiApplication.h"
#include "support/TestSupport.h"
#include "ui/main/MainFormCombinedRd.h"
#include "ui/main/dialogs/SubjectNameForm.h"
#include "ui/main/dialogs/about.h"
#include "ui/print/PrintScreen.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using TestSupport::Presenter;

namespace {

// Records every step as it ends; the step named in failAt raises as a failing step would.
class RecordingStartup : public TApplicationStartup
{
public:
    using TApplicationStartup::TApplicationStartup;

    QStringList steps;
    QString failAt;
    bool failWithForeignType = false; // raise something that is no exception class at all
    QString catalogueInLoop;
    bool quitAtOnce = false; // run the real event loop, which ends as soon as it starts

protected:
    void ReadVersionInformation() override
    {
        TApplicationStartup::ReadVersionInformation();
        Step(u"version"_s);
    }
    void LoadEnglishCatalogue() override
    {
        TApplicationStartup::LoadEnglishCatalogue();
        Step(u"catalogue"_s);
    }
    void CreateConfiguration() override
    {
        TApplicationStartup::CreateConfiguration();
        Step(u"configuration"_s);
    }
    void CreateMainWindow() override
    {
        TApplicationStartup::CreateMainWindow();
        Step(MainWindow()->objectName());
    }
    void CreateAboutWindow() override
    {
        TApplicationStartup::CreateAboutWindow();
        Step(AboutWindow()->objectName());
    }
    void CreatePrintWindow() override
    {
        TApplicationStartup::CreatePrintWindow();
        Step(PrintWindow()->objectName());
    }
    void CreateSubjectNameDialog() override
    {
        TApplicationStartup::CreateSubjectNameDialog();
        Step(SubjectNameDialog()->objectName());
    }
    int RunEventLoop() override
    {
        Step(u"loop"_s);
        catalogueInLoop = GetTranslationManager().GetResourceId();
        if (!quitAtOnce)
            return 0;
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                  Qt::QueuedConnection);
        return TApplicationStartup::RunEventLoop();
    }

private:
    void Step(const QString &name)
    {
        steps << name;
        if (name == failAt && failWithForeignType)
            throw 42;
        if (name == failAt)
            throw MarnovelException(u"Exception occured in: "_s + name + u"\r\nReason: broken"_s);
    }
};

TEST(StartupTest, Run_StepsInOrder_EndInTheEventLoop)
{
    RecordingStartup startup;
    EXPECT_EQ(startup.Run(), 0);
    EXPECT_EQ(
        startup.steps,
        (QStringList{u"version"_s, u"catalogue"_s, u"configuration"_s, u"frmMainCombinedRd"_s, u"AboutBox"_s,
                     u"ScreenPrintFormCombinedTorvinTandem"_s, u"SubjectNameForm"_s, u"loop"_s}));
    EXPECT_TRUE(Presenter().messages.empty()) << Presenter().Texts().join(u'|').toStdString();
}

// The window system shows the program's icon on every standing window, and the main window's
// caption as the window sets it.
TEST(StartupTest, Run_StandingWindows_CarryTheProgramIcon)
{
    RecordingStartup startup;
    ASSERT_EQ(startup.Run(), 0);
    const QList<QWidget *> windows{startup.MainWindow(), startup.AboutWindow(), startup.PrintWindow(),
                                   startup.SubjectNameDialog()};
    for (QWidget *window : windows) {
        EXPECT_FALSE(window->windowIcon().pixmap(32, 32).isNull()) << window->objectName().toStdString();
        EXPECT_EQ(window->windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
    }
    EXPECT_EQ(startup.MainWindow()->windowTitle(), u"Velomyra R&D (Version 5.3.0)"_s);
}

TEST(StartupTest, Run_GermanStoredAsLastLanguage_StartsInEnglish)
{
    GetConfigManager().SetDefaultLocale(u"LOCALE_GERMAN"_s);
    GetTranslationManager().LoadResource(u"LOCALE_GERMAN"_s);
    RecordingStartup startup;
    startup.Run();
    EXPECT_EQ(startup.catalogueInLoop, u"LOCALE_ENGLISH"_s);
    EXPECT_EQ(startup.MainWindow()->findChild<QPushButton *>(u"closepb"_s)->text(), u"&Close"_s);
    GetConfigManager().SetDefaultLocale(u"LOCALE_ENGLISH"_s);
}

TEST(StartupTest, Run_StepRaises_OneBoxCaptionedVelomyraAndNoEventLoop)
{
    for (const QString &failing :
         {u"version"_s, u"frmMainCombinedRd"_s, u"AboutBox"_s, u"SubjectNameForm"_s}) {
        Presenter().Clear();
        RecordingStartup startup;
        startup.failAt = failing;
        EXPECT_EQ(startup.Run(), 1) << failing.toStdString();
        EXPECT_FALSE(startup.steps.contains(u"loop"_s)) << failing.toStdString();
        ASSERT_EQ(Presenter().messages.size(), 1u) << failing.toStdString();
        EXPECT_EQ(Presenter().messages[0].caption, u"Velomyra"_s);
        EXPECT_EQ(Presenter().messages[0].text,
                  u"Exception occured in: "_s + failing + u"\r\nReason: broken"_s);
        EXPECT_EQ(Presenter().messages[0].buttons, TMsgDlgButtons(TMsgDlgBtn::mbOK));
    }
}

TEST(StartupTest, Run_StepRaisesAForeignType_StillOneBoxAndNoEventLoop)
{
    Presenter().Clear();
    RecordingStartup startup;
    startup.failAt = u"configuration"_s;
    startup.failWithForeignType = true;
    EXPECT_EQ(startup.Run(), 1);
    EXPECT_FALSE(startup.steps.contains(u"loop"_s));
    ASSERT_EQ(Presenter().messages.size(), 1u);
    EXPECT_EQ(Presenter().messages[0].caption, u"Velomyra"_s);
    EXPECT_EQ(Presenter().messages[0].text, u"Unknown exception."_s);
}

TEST(StartupTest, Run_RunFileOnTheCommandLine_IsOpenWhenTheLoopRuns)
{
    RecordingStartup startup({QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/run-8point.vdf")});
    startup.quitAtOnce = true;
    EXPECT_EQ(startup.Run(), 0);
    TfrmMainCombinedRd *window = startup.MainWindow();
    EXPECT_EQ(window->GetKitBatchNoEd()->text(), u"K0001"_s);
    EXPECT_EQ(window->GetOperatorEd()->text(), u"A. Smith"_s);
    EXPECT_EQ(window->ActivePage(), TfrmMainCombinedRd::RawDataPage);
    EXPECT_TRUE(Presenter().messages.empty()) << Presenter().Texts().join(u'|').toStdString();
    window->close();
}

// A file that cannot be opened is reported as Load reports it; the program still runs.
TEST(StartupTest, Run_RunFileThatFails_ShowsWhyAndTheLoopRuns)
{
    const struct
    {
        QString file;
        QString message;
    } cases[] = {
        {u"/runs/old run.fmt"_s,
         u"Exception occured in: TfrmMainCombined.LoadOldFileFormat\r\nWith parameters: pFileName=/runs/old "
         "run.fmt\r\nReason: Cannot load old file formats"_s},
        // A sentence of the catalogue, above the file it is about.
        {u"/runs/none such.vdf"_s, u"The file does not exist.\n/runs/none such.vdf"_s},
        {u"--hepl"_s, u"The file does not exist.\n--hepl"_s},
        {u"/"_s, u"This is a folder, not a file.\n/"_s},
    };
    for (const auto &c : cases) {
        Presenter().Clear();
        RecordingStartup startup({c.file});
        startup.quitAtOnce = true;
        EXPECT_EQ(startup.Run(), 0) << c.file.toStdString();
        EXPECT_TRUE(startup.steps.endsWith(u"loop"_s)) << c.file.toStdString();
        ASSERT_EQ(Presenter().messages.size(), 1u) << Presenter().Texts().join(u'|').toStdString();
        EXPECT_EQ(Presenter().messages[0].text, c.message);
        EXPECT_EQ(startup.MainWindow()->ActivePage(), TfrmMainCombinedRd::RunDetailsPage);
        startup.MainWindow()->close();
    }
}

TEST(StartupArguments, RunFileArgument_AnythingButTheHook)
{
    const struct
    {
        QStringList arguments;
        QString expected;
    } cases[] = {
        {{}, QString()},
        {{u"WriteControlsToFile=/tmp/handles.txt"_s}, QString()},
        {{u"run.vdf"_s}, u"run.vdf"_s},
        {{u"WriteControlsToFile=/tmp/handles.txt"_s, u"/data/run 7.vdf"_s}, u"/data/run 7.vdf"_s},
        {{u"writecontrolstofile=/x"_s}, QString()},
        {{u"run.vdf"_s, u"WRITECONTROLSTOFILE=/x"_s}, u"run.vdf"_s},
        {{u"WriteControlsToFile.vdf"_s}, u"WriteControlsToFile.vdf"_s},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RunFileArgument(c.arguments), c.expected) << c.arguments.join(u' ').toStdString();
}

} // namespace
