#pragma once

#include "Messages.h"

#include <QString>

// Standard error of a command-line tool: one line per message, led by the tool's name
// ("velomyra-cli: ..."), a CR LF of a catalogue text written as a plain line break.
void WriteToolError(const QString &tool, const QString &text);
// A wrong command line: the problem, then where the usage is explained.
void WriteToolUsageError(const QString &tool, const QString &problem);
// Standard output may be a full disk or a closed pipe (with SIGPIPE ignored): true when every
// byte reached it, else false after one error line with the reason.
bool WriteToolOutput(const QString &tool, const QByteArray &bytes);

// What the model would show in a message box goes to standard error; file dialogs are
// cancelled, as nobody is there to answer them.
class TToolErrorPresenter : public IPresenter
{
public:
    explicit TToolErrorPresenter(const QString &tool) : mTool(tool) {}
    TModalResult ShowMessage(const QString &text, TMsgDlgType kind, TMsgDlgButtons buttons,
                             const QString &caption) override;
    bool AskFileName(TFileDialogKind kind, const QString &filter, const QString &initialFolder,
                     const QString &proposedName, QString &fileName) override;

private:
    QString mTool;
};
