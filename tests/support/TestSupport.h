#pragma once

#include "core/Messages.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

// Every test process runs in a temporary HOME and XDG_CONFIG_HOME (set before main). The
// settings store gets the date settings "/" and "dd/MM/yyyy"; the number separators come from
// the system locale, or, with VELOMYRA_TEST_REGIONAL=comma, are "," (decimal) and "."
// (thousands). Every test starts with the English catalogue, English (United States) as the
// default locale (it gives the month and day names) and the RecordingPresenter installed and
// empty (ProcessState.h).
namespace TestSupport {

struct RecordedMessage
{
    QString text;
    TMsgDlgType kind;
    TMsgDlgButtons buttons;
    QString caption;
};

// Records every message; answers with queued results, else the first button offered.
// File dialogs answer with queued names (empty queue: cancelled).
class RecordingPresenter : public IPresenter
{
public:
    TModalResult ShowMessage(const QString &text, TMsgDlgType kind, TMsgDlgButtons buttons,
                             const QString &caption) override;
    bool AskFileName(TFileDialogKind kind, const QString &filter, const QString &initialFolder,
                     const QString &proposedName, QString &fileName) override;

    std::vector<RecordedMessage> messages;
    std::deque<TModalResult> answers;
    std::deque<QString> fileNames; // an empty text cancels
    struct FileRequest
    {
        TFileDialogKind kind;
        QString filter, initialFolder, proposedName;
    };
    std::vector<FileRequest> fileRequests;

    QStringList Texts() const;
    void Clear();
};

// The presenter installed for the whole test process.
RecordingPresenter &Presenter();

// The temporary home folder of this test process.
QString HomeDir();

// A number text written with "." turned into the regional decimal separator.
QString Dec(const QString &text);
inline QString Dec(const char *text)
{
    return Dec(QString::fromUtf8(text));
}

// True when this run uses the comma regional variant.
bool CommaVariant();

} // namespace TestSupport
