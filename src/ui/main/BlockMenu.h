#pragma once

#include <QDialog>
#include <QPoint>

class OWCellBlockBase;
class QPushButton;
class QRect;

// What the operator chose in the block menu.
enum TBlockClickAction : signed char
{
    BlockActionCancel = 0,
    BlockActionDeleteBlock = 1,
    BlockActionClearFormat = 2
};

// The menu a right-click on a block opens: a small stay-on-top tool window whose buttons
// close it with their action. It places itself so that the centre of its Delete Block
// button lies under the mouse pointer; the focus starts on Cancel.
class TBlockClickActionFrm : public QDialog
{
public:
    explicit TBlockClickActionFrm(QWidget *parent = nullptr);

    TBlockClickAction ClickAction() const { return fClickAction; }
    // Where the pointer is taken to be when the menu is shown (by default the mouse's).
    void SetPointer(QPoint globalPos)
    {
        mPointer = globalPos;
        mPointerSet = true;
    }
    virtual void InitializeText();

    // Top-left corner of the window's frame that puts the button's centre under the pointer;
    // clientOffset is where the client area starts inside the frame (border, title bar).
    static QPoint MenuPosition(QPoint pointer, QPoint clientOffset, const QRect &button);

protected:
    void showEvent(QShowEvent *event) override;
    // Adds a button below the others that closes the menu with action.
    QPushButton *AddActionButton(const QString &name, TBlockClickAction action);

    QPushButton *deleteBlockPb = nullptr;
    QPushButton *cancelPb = nullptr;

private:
    void PlaceUnderPointer();

    TBlockClickAction fClickAction = BlockActionCancel;
    QPoint mPointer;
    bool mPointerSet = false;
};

// The main window's block menu: Delete Block, Clear Format, Cancel.
class TBlockClickActionCombinedFrm : public TBlockClickActionFrm
{
public:
    explicit TBlockClickActionCombinedFrm(QWidget *parent = nullptr);
    void InitializeText() override;

private:
    QPushButton *btnClearFormat = nullptr;
};

// Opens the block menu modally for block, under pointer (global), and returns the action;
// closing it by its close box is Cancel.
TBlockClickAction ShowBlockMenu(QWidget *owner, const OWCellBlockBase &block, QPoint pointer);
