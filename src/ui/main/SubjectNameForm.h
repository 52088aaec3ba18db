#pragma once

#include <QDialog>

// The dialog that gives a block a new identifier. The standing instance is created at
// start-up; its controls arrive with the renaming of blocks on the plate grid.
class TSubjectNameForm : public QDialog
{
public:
    explicit TSubjectNameForm(QWidget *parent = nullptr);
};
