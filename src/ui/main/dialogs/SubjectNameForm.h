#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The dialog that gives a block a new identifier: one line of at most 15 characters, in
// which ">" and "^" cannot be typed (they would break the files the identifier is written
// to). A new dialog serves each renaming; the standing instance of the program is unused.
class TSubjectNameForm : public QDialog
{
public:
    static constexpr int MaxIdLength = 15;

    explicit TSubjectNameForm(QWidget *parent = nullptr);

    // Shows identifier in the edit, all of it selected or with the caret after its end.
    void SetIdentifier(const QString &identifier, bool selectAll);
    QString Identifier() const;
    // The old cell text, kept as the dialog's old value.
    void SetOldValue(const QString &value) { mOldValue = value; }
    const QString &OldValue() const { return mOldValue; }
    void InitializeText();

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void subjIdEdTextEdited(const QString &text);
    void ApplySelection();

    QString mOldValue;
    bool mSelectAll = true;
    QLabel *subjIdLa;
    QLineEdit *subjIdEd;
    QPushButton *okPb, *cancelPb;
};

// Opens the dialog modally over owner. True only when the operator confirms a text that
// differs from identifier; identifier then holds that text (as typed, blanks included).
bool ShowSubjectNameDialog(QWidget *owner, QString &identifier, const QString &oldCellText, bool selectAll);
