#pragma once

#include <QString>

class QDialog;
class QHBoxLayout;
class QPushButton;

// The program's own small windows are set up here, so that each kind opens, blocks and takes
// the focus the same way wherever it is built.
enum class TDialogKind
{
    // The toolkit's dialog frame; how it is run (exec() or open()) is its caller's choice.
    Plain,
    // Blocks the program while it shows.
    Modal,
    // Modal, in the thin frame of a tool window.
    ModalTool,
    // A modal choice at the pointer: a tool window on top, with a title, a system menu and a
    // close box only.
    ModalMenu,
    // Beside the main window while the plate is worked on: on top, with a title and a close box
    // only, never modal, and shown without taking the focus from the plate.
    Floating,
};

// Gives the dialog its object name (by which tests and automation find it) and the frame,
// modality and focus rule of its kind. Called first in the constructor, before any control.
void SetUpDialog(QDialog *dialog, const QString &objectName, TDialogKind kind);

struct TOkCancelButtons
{
    QPushButton *ok;
    QPushButton *cancel;
    QHBoxLayout *row; // a stretch, then OK and Cancel: the pair sits at the right
};
// OK (the default button) and Cancel in a row of their own, for the caller's layout. Cancel
// rejects the dialog; what OK does is the dialog's to connect.
TOkCancelButtons AddOkCancelButtons(QDialog *dialog, const QString &okName, const QString &cancelName);
// Their catalogue texts; again at a language switch.
void SetOkCancelTexts(QPushButton *ok, QPushButton *cancel);

// The width a push button needs for its caption (mnemonic marks not counted) with room either
// side; at least `minimum`.
int ButtonWidthForText(const QPushButton *button, int minimum);

// Fixes the dialog at its layout's preferred size, wider where its caption needs more room.
void FixToContentsAndCaption(QDialog *dialog);
