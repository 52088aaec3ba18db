#pragma once

#include "core/Messages.h"

#include <QMessageBox>
#include <QString>

// Shows the operator's messages and file dialogs with the toolkit's standard dialogs:
// message boxes centred on the screen and application-modal, their captions and button texts
// from the catalogue in the current language; file dialogs owned by the active window.
class TDialogPresenter : public IPresenter
{
public:
    TModalResult ShowMessage(const QString &text, TMsgDlgType kind, TMsgDlgButtons buttons,
                             const QString &caption) override;
    bool AskFileName(TFileDialogKind kind, const QString &filter, const QString &initialFolder,
                     const QString &proposedName, QString &fileName) override;

    // The pieces of the mapping, open for tests.
    static QMessageBox::Icon IconOfKind(TMsgDlgType kind);
    static QString CaptionOfKind(TMsgDlgType kind);
    // "Description|*.a;*.b|Other|*.c" -> "Description (*.a *.b);;Other (*.c)"
    static QString ToQtFilter(const QString &filter);
};

// The toolkit's own texts (the file dialogs) in the language of a text catalogue
// ("LOCALE_GERMAN"). English, and a language the toolkit has no translation
// for, show the toolkit's English. True when a translation is in use.
bool LoadToolkitTranslation(const QString &resourceName);
