#include "SubjectNameForm.h"

#include "core/FontManager.h"
#include "core/Messages.h"
#include "core/TextIds.h"
#include "core/UiTextManager.h"
#include "plate/CellBlock.h"
#include "platform/DialogSetup.h"
#include "platform/ExceptionBoundary.h"
#include "platform/ModalDialogs.h"
#include "platform/WindowTools.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

bool IsIllegalIdChar(QChar c)
{
    return c == u'>' || c == u'^';
}

} // namespace

TSubjectNameForm::TSubjectNameForm(QWidget *parent) : QDialog(parent)
{
    SetUpDialog(this, u"SubjectNameForm"_s, TDialogKind::ModalTool);

    subjIdLa = Named(new QLabel(this), u"subjIdLa"_s);
    subjIdEd = Named(new QLineEdit(this), u"subjIdEd"_s);
    subjIdEd->setMaxLength(MaxIdLength);
    const TOkCancelButtons buttons = AddOkCancelButtons(this, u"okPb"_s, u"cancelPb"_s);
    okPb = buttons.ok;
    cancelPb = buttons.cancel;
    cancelPb->setAutoDefault(false);

    auto *layout = new QGridLayout(this);
    layout->addWidget(subjIdLa, 0, 0);
    layout->addWidget(subjIdEd, 0, 1);
    layout->addLayout(buttons.row, 1, 0, 1, 2);

    subjIdEd->setFocus();
    connect(okPb, &QPushButton::clicked, this, &QDialog::accept);
    connect(subjIdEd, &QLineEdit::textEdited, this, Guarded(this, &TSubjectNameForm::subjIdEdTextEdited));
    InitializeText();
}

void TSubjectNameForm::InitializeText()
{
    setWindowTitle(UiText(TextId::ChangeSubjectId));
    SetControlText(subjIdLa, UiText(TextId::SubjectId) + u':', CONTROL_DEFAULT);
    SetOkCancelTexts(okPb, cancelPb);
    const int charset = GetTranslationManager().DetermineCharset();
    QFont font = subjIdEd->font();
    font.setPointSize(GetFontManager().DetermineFontSize(charset, CONTROL_DEFAULT));
    subjIdEd->setFont(font);
    // Room for the longest identifier.
    subjIdEd->setMinimumWidth(subjIdEd->fontMetrics().horizontalAdvance(QString(MaxIdLength, u'0')) + 12);
}

void TSubjectNameForm::SetIdentifier(const QString &identifier, bool selectAll)
{
    if (OWCellBlockBase::GetIdentifierCount() > 0) {
        QFont font = subjIdEd->font();
        font.setPointSize(
            GetFontManager().DetermineFontSize(GetTranslationManager().DetermineCharset(), FORMAT_NORMAL));
        subjIdEd->setFont(font);
    }
    subjIdEd->setText(identifier);
    mSelectAll = selectAll;
    ApplySelection();
}

void TSubjectNameForm::ApplySelection()
{
    if (mSelectAll)
        subjIdEd->selectAll();
    else
        subjIdEd->setCursorPosition(static_cast<int>(subjIdEd->text().size()));
}

void TSubjectNameForm::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    // Showing a dialog gives its focus widget the focus as a Tab would, and an edit selects
    // all of its text then; what is selected is the caller's choice.
    if (visible)
        ApplySelection();
}

QString TSubjectNameForm::Identifier() const
{
    return subjIdEd->text();
}

void TSubjectNameForm::subjIdEdTextEdited(const QString &text)
{
    if (std::none_of(text.begin(), text.end(), IsIllegalIdChar))
        return;
    QString cleaned = text;
    std::replace_if(cleaned.begin(), cleaned.end(), IsIllegalIdChar, QChar(u' '));
    const int caret = subjIdEd->cursorPosition();
    subjIdEd->setText(cleaned);
    subjIdEd->setCursorPosition(caret);
    ShowErrorMessage(UiText(TextId::IllegalCharacter));
}

void TSubjectNameForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        // As small as the controls allow, but wide enough for the caption.
        FixToContentsAndCaption(this);
        if (const QWidget *owner = parentWidget()) {
            QRect frame = frameGeometry();
            frame.moveCenter(owner->window()->frameGeometry().center());
            move(frame.topLeft());
        }
    }
    subjIdEd->setFocus();
}

bool ShowSubjectNameDialog(QWidget *owner, QString &identifier, const QString &oldCellText, bool selectAll)
{
    TSubjectNameForm dialog(owner);
    dialog.SetIdentifier(identifier, selectAll);
    dialog.SetOldValue(oldCellText);
    if (ExecModal(dialog) != QDialog::Accepted)
        return false;
    const QString typed = dialog.Identifier();
    const bool changed = typed != identifier;
    identifier = typed;
    return changed;
}
