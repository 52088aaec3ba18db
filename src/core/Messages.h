#pragma once

#include <QFlags>
#include <QString>

// The operator-facing message boxes and file dialogs go through one replaceable
// presenter: the windows install one that shows real dialogs, tests and the headless
// tool install one that records or answers.

enum class TMsgDlgType
{
    mtWarning,
    mtError,
    mtInformation,
    mtConfirmation,
    mtCustom
};

enum class TMsgDlgBtn
{
    mbYes = 0x1,
    mbNo = 0x2,
    mbOK = 0x4,
    mbCancel = 0x8,
    mbAbort = 0x10,
    mbRetry = 0x20,
    mbIgnore = 0x40,
    mbAll = 0x80,
    mbNoToAll = 0x100,
    mbYesToAll = 0x200,
    mbHelp = 0x400,
    mbClose = 0x800,
};
Q_DECLARE_FLAGS(TMsgDlgButtons, TMsgDlgBtn)
Q_DECLARE_OPERATORS_FOR_FLAGS(TMsgDlgButtons)

enum class TModalResult
{
    mrNone,
    mrOk,
    mrCancel,
    mrAbort,
    mrRetry,
    mrIgnore,
    mrYes,
    mrNo,
    mrAll,
    mrNoToAll,
    mrYesToAll,
    mrClose
};

enum class TFileDialogKind
{
    Open,
    Save
};

class IPresenter
{
public:
    virtual ~IPresenter() = default;
    // caption empty: the platform's caption for the kind.
    virtual TModalResult ShowMessage(const QString &text, TMsgDlgType kind, TMsgDlgButtons buttons,
                                     const QString &caption) = 0;
    // Returns true and the chosen path when confirmed. filter is "Description|*.ext". A save
    // dialog returns the name as typed and asks nothing about an existing file: the caller
    // adds the extension and asks about the file it will write (FileDialogs.h).
    virtual bool AskFileName(TFileDialogKind kind, const QString &filter, const QString &initialFolder,
                             const QString &proposedName, QString &fileName) = 0;
};

// The caption a message box of that kind gets when none is given, in the current language
// ("Warning", "Error", "Information", "Confirm"); empty for the custom kind, whose caption is
// the program's name, and before a catalogue is loaded.
QString CaptionOfKind(TMsgDlgType kind);

// The presenter in use; without one installed, a console presenter writes messages to
// standard error, answers with the first button offered and cancels file dialogs.
IPresenter &GetPresenter();
// Installs a presenter (not owned); nullptr restores the console presenter.
void SetPresenter(IPresenter *presenter);

// OK button alone, no icon, caption text 131. Never raises.
void ShowErrorMessage(const QString &text);
// What went well (a copy to the clipboard): OK button alone, the information icon, caption
// text 131. Never raises.
void ShowNotice(const QString &text);
TModalResult ShowCaptionedMessage(const QString &text, TMsgDlgType kind, TMsgDlgButtons buttons,
                                  const QString &caption);
TModalResult ShowMessageDialog(const QString &text, TMsgDlgType kind, TMsgDlgButtons buttons,
                               int helpContext);
