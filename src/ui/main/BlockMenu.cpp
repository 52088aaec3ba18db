#include "BlockMenu.h"

#include "plate/CellBlock.h"
#include "platform/DialogSetup.h"
#include "platform/ModalDialogs.h"
#include "platform/WindowTools.h"

#include <QCursor>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TBlockClickActionFrm::TBlockClickActionFrm(QWidget *parent) : QDialog(parent)
{
    SetUpDialog(this, u"BlockClickActionFrm"_s, TDialogKind::ModalMenu);
    new QVBoxLayout(this);
    deleteBlockPb = AddActionButton(u"deleteBlockPb"_s, BlockActionDeleteBlock);
    cancelPb = AddActionButton(u"cancelPb"_s, BlockActionCancel);
    cancelPb->setDefault(true);
    setFocusProxy(cancelPb);
    TBlockClickActionFrm::InitializeText();
}

QPushButton *TBlockClickActionFrm::AddActionButton(const QString &name, TBlockClickAction action)
{
    auto *button = Named(new QPushButton(this), name);
    button->setAutoDefault(false);
    button->setMinimumWidth(140);
    connect(button, &QPushButton::clicked, this, [this, action] {
        fClickAction = action;
        done(action == BlockActionCancel ? QDialog::Rejected : QDialog::Accepted);
    });
    // Cancel stays the last button.
    auto *column = static_cast<QVBoxLayout *>(layout());
    const int cancelIndex = cancelPb ? column->indexOf(cancelPb) : -1;
    column->insertWidget(cancelIndex < 0 ? column->count() : cancelIndex, button);
    return button;
}

void TBlockClickActionFrm::InitializeText()
{
    SetControlText(cancelPb, 69, false);
    SetControlText(deleteBlockPb, 70, false);
}

QPoint TBlockClickActionFrm::MenuPosition(QPoint pointer, QPoint clientOffset, const QRect &button)
{
    return QPoint(pointer.x() - clientOffset.x() - (button.left() + button.width() / 2),
                  pointer.y() - clientOffset.y() - (button.top() + button.height() / 2));
}

void TBlockClickActionFrm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    PlaceUnderPointer();
    cancelPb->setFocus();
}

void TBlockClickActionFrm::PlaceUnderPointer()
{
    // As small as the buttons allow, but wide enough for the caption (the block's identifier).
    FixToContentsAndCaption(this);
    layout()->activate();
    const QPoint pointer = mPointerSet ? mPointer : QCursor::pos();
    move(MenuPosition(pointer, geometry().topLeft() - frameGeometry().topLeft(), deleteBlockPb->geometry()));
}

TBlockClickActionCombinedFrm::TBlockClickActionCombinedFrm(QWidget *parent) : TBlockClickActionFrm(parent)
{
    setObjectName(u"BlockClickActionCombinedFrm"_s);
    btnClearFormat = AddActionButton(u"btnClearFormat"_s, BlockActionClearFormat);
    InitializeText();
}

void TBlockClickActionCombinedFrm::InitializeText()
{
    TBlockClickActionFrm::InitializeText();
    SetControlText(btnClearFormat, 183, false);
}

TBlockClickAction ShowBlockMenu(QWidget *owner, const OWCellBlockBase &block, QPoint pointer)
{
    TBlockClickActionCombinedFrm menu(owner);
    if (OWCellBlockBase::GetIdentifierCount() == 1)
        menu.setWindowTitle(block.id());
    menu.findChild<QPushButton *>(u"deleteBlockPb"_s)
        ->setEnabled(block.getIsStandard() || OWCellBlockBase::GetIdentifierCount() > 0);
    menu.SetPointer(pointer);
    ExecModal(menu);
    return menu.ClickAction();
}
