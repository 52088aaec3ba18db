#pragma once

#include <functional>

class QDialog;

// The program's own modal dialogs (not message boxes, which go through the presenter) are
// run through one replaceable runner. The default runs the dialog's own loop; a test
// installs one that shows the dialog, works it with real clicks and keys and returns its
// result, so no test has to wait inside a dialog's loop.
using TModalRunner = std::function<int(QDialog &dialog)>;

// Runs the dialog modally and returns its result (QDialog::Accepted, Rejected or the value
// given to done()).
int ExecModal(QDialog &dialog);
// Installs a runner; an empty one restores the dialog's own loop.
void SetModalRunner(TModalRunner runner);
