#include "Startup.h"

#include "core/Exceptions.h"
#include "core/MarnovelConfigManager.h"
#include "core/Messages.h"
#include "core/RegionalSettings.h"
#include "core/SoftwareInfoManager.h"
#include "core/TextIds.h"
#include "core/UiTextManager.h"
#include "platform/ExceptionBoundary.h"
#include "platform/Logo.h"
#include "ui/main/MainFormCombinedRd.h"
#include "ui/main/dialogs/SubjectNameForm.h"
#include "ui/main/dialogs/about.h"
#include "ui/print/PrintScreen.h"

#include <QApplication>

#include <exception>

using namespace Qt::StringLiterals;

TApplicationStartup::TApplicationStartup(QStringList arguments) : mArguments(std::move(arguments)) {}

TApplicationStartup::~TApplicationStartup() = default;

int TApplicationStartup::Run()
{
    // Every window, the standing ones and the dialogs, shows the program's icon.
    QApplication::setWindowIcon(ProgramIcon());
    try {
        ReadVersionInformation();
        LoadEnglishCatalogue();
        CreateConfiguration();
        CreateMainWindow();
        CreateAboutWindow();
        CreatePrintWindow();
        CreateSubjectNameDialog();
        return RunEventLoop();
    } catch (const MarnovelException &error) {
        ShowStartupError(error.Message());
    } catch (const std::exception &error) {
        ShowStartupError(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowStartupError(u"Unknown exception."_s);
    }
    return 1;
}

void TApplicationStartup::ShowStartupError(const QString &text)
{
    QString caption;
    try {
        caption = UiText(TextId::ProgramName);
    } catch (...) {
    }
    if (caption.isEmpty())
        caption = u"Velomyra"_s;
    try {
        ShowCaptionedMessage(text, TMsgDlgType::mtCustom, TMsgDlgBtn::mbOK, caption);
    } catch (...) {
        ShowErrorMessage(text); // never raises; falls back to standard error
    }
}

void TApplicationStartup::ReadVersionInformation()
{
    GetSoftwareInfoManager();
}

void TApplicationStartup::LoadEnglishCatalogue()
{
    // Always English at start; the language stored by the last switch is not read back.
    GetTranslationManager().LoadResource(u"LOCALE_ENGLISH"_s);
}

void TApplicationStartup::CreateConfiguration()
{
    GetConfigManager();
}

void TApplicationStartup::CreateMainWindow()
{
    mMainWindow = std::make_unique<TfrmMainCombinedRd>();
}

void TApplicationStartup::CreateAboutWindow()
{
    mAboutBox = std::make_unique<TAboutBox>(mMainWindow.get());
    mMainWindow->SetAboutBox(mAboutBox.get());
}

void TApplicationStartup::CreatePrintWindow()
{
    mPrintWindow = std::make_unique<TScreenPrintFormCombinedTorvinTandem>(mMainWindow.get());
    mMainWindow->SetPrintWindow(mPrintWindow.get());
}

void TApplicationStartup::CreateSubjectNameDialog()
{
    mSubjectNameForm = std::make_unique<TSubjectNameForm>(mMainWindow.get());
}

int TApplicationStartup::RunEventLoop()
{
    mMainWindow->show();
    // Number separators of the regional settings that could not be used are told once.
    RunGuarded([] { ReportRegionalSettingsWarnings(); });
    const QString runFile = RunFileArgument(mArguments);
    // Opened as Load opens a file: what goes wrong is shown and the program carries on.
    if (!runFile.isEmpty())
        RunGuarded([&] { mMainWindow->OpenRunFile(runFile); });
    return QApplication::exec();
}

QString RunFileArgument(const QStringList &arguments)
{
    for (const QString &argument : arguments) {
        if (!ControlsToFileArgument(argument))
            return argument;
    }
    return QString();
}
