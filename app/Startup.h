#pragma once

#include <QStringList>

#include <memory>

class TAboutBox;
class TfrmMainCombinedRd;
class TScreenPrintFormCombinedTorvinTandem;
class TSubjectNameForm;

// How the program comes up: the version information, the English catalogue (whatever
// language was chosen last time), the configuration, the standing windows in their order,
// then the event loop. A failure on the way is shown once, captioned with the program's
// name, and ends the program; failures inside the event loop are the handlers' own.
// Each step is a virtual operation so that tests can watch the order and make one fail.
class TApplicationStartup
{
public:
    explicit TApplicationStartup(QStringList arguments = {});
    virtual ~TApplicationStartup();
    TApplicationStartup(const TApplicationStartup &) = delete;
    TApplicationStartup &operator=(const TApplicationStartup &) = delete;

    // Returns the program's exit status: the event loop's, or 1 after a failed start.
    int Run();

    // The standing windows, alive as long as this object (null until created).
    TfrmMainCombinedRd *MainWindow() const { return mMainWindow.get(); }
    TAboutBox *AboutWindow() const { return mAboutBox.get(); }
    TScreenPrintFormCombinedTorvinTandem *PrintWindow() const { return mPrintWindow.get(); }
    TSubjectNameForm *SubjectNameDialog() const { return mSubjectNameForm.get(); }

protected:
    virtual void ReadVersionInformation();
    virtual void LoadEnglishCatalogue();
    virtual void CreateConfiguration();
    virtual void CreateMainWindow();
    virtual void CreateAboutWindow();
    virtual void CreatePrintWindow();
    virtual void CreateSubjectNameDialog();
    // Shows the main window, opens a run file named on the command line and runs the loop
    // until the main window is closed.
    virtual int RunEventLoop();

private:
    // Before the catalogue is loaded the caption text is empty; the box still needs a name.
    static void ShowStartupError(const QString &text);

    QStringList mArguments;
    // Destroyed in reverse order: the main window last, after the windows it uses.
    std::unique_ptr<TfrmMainCombinedRd> mMainWindow;
    std::unique_ptr<TAboutBox> mAboutBox;
    std::unique_ptr<TScreenPrintFormCombinedTorvinTandem> mPrintWindow;
    std::unique_ptr<TSubjectNameForm> mSubjectNameForm;
};

// The run file the program opens at start: the first argument that is not the window-
// handle hook's "WriteControlsToFile=..." (in any letter case). Empty when there is none.
QString RunFileArgument(const QStringList &arguments);
