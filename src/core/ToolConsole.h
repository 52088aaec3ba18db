#pragma once

#include "Messages.h"

#include <QString>
#include <QStringList>

#include <optional>

// Standard error of a command-line tool: one line per message, led by the tool's name
// ("velomyra-cli: ..."), a CR LF of a catalogue text written as a plain line break.
void WriteToolError(const QString &tool, const QString &text);
// A wrong command line: the problem, then where the usage is explained.
void WriteToolUsageError(const QString &tool, const QString &problem);
// Standard output may be a full disk or a closed pipe (with SIGPIPE ignored): true when every
// byte reached it, else false after one error line with the reason.
bool WriteToolOutput(const QString &tool, const QByteArray &bytes);

// --language CODE of the tools: the two-letter codes of the catalogues, in the language order
// ("en", "de", "fr", "es", "it", "el", "pt", "pl").
QStringList ToolLanguageCodes();
// The catalogue a code names ("de": "LOCALE_GERMAN"); nothing, with the usage problem naming
// the codes in `error`, for any other value.
std::optional<QString> ToolLanguageCatalogue(const QString &code, QString &error);

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
