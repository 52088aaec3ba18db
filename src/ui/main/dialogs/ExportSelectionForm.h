#pragma once

#include <QByteArray>
#include <QDate>
#include <QDialog>
#include <QString>

#include <functional>

class QGroupBox;
class QPushButton;
class QRadioButton;

enum TExportSelectionType
{
    EXP_NONE = 0,
    EXP_CLIPBOARD = 1,
    EXP_FILE = 2,
    EXP_WORKBOOK = 3
};

// The bytes of the run's workbook, built when chosen; EInOutError when it cannot be.
using TWorkbookSource = std::function<QByteArray()>;

// The export selection dialog (frmExportSelection): puts an export text on the clipboard or
// writes it to a text file. The clipboard is chosen at first. A file gets a proposed name in
// the remembered export folder (run date "ddmmmyy", the export's word, the first free
// suffix, ".txt") and is written as UTF-8 with a byte-order mark; cancelling the save dialog
// leaves this dialog open, and a file that cannot be written keeps its old content. The third
// choice writes the run's spreadsheet workbook instead, under the same kind of name with
// ".xlsx".
class TfrmExportSelection : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmExportSelection(QWidget *parent = nullptr);

    void SetExport(const QString &textToWrite, const QString &addToFileNameStr, const QDate &runDate,
                   TWorkbookSource workbook = {});
    TExportSelectionType ExportSelectedType() const { return fExportSelectedType; }
    // The chosen type once closed with OK; EXP_NONE before and after a cancel.
    TExportSelectionType Outcome() const { return mOutcome; }
    void InitializeText();

    // What OK does: the text on the clipboard, or in a file after the save dialog.
    void btnOkClick();

private:
    void rbClipboardExportClick();
    void rbFileExportClick();
    void rbWorkbookExportClick();

    QString mTextToWrite;
    QString fAddToFileNameStr;
    QDate mRunDate;
    TWorkbookSource mWorkbook;
    TExportSelectionType fExportSelectedType = EXP_CLIPBOARD;
    TExportSelectionType mOutcome = EXP_NONE;

    QGroupBox *grpSelection;
    QRadioButton *rbClipboardExport, *rbFileExport, *rbWorkbookExport;
    QPushButton *btnOk, *btnCancel;
};

// Shows the dialog for the text, window-modal over parent, and returns at once; `closed` runs
// when it closes, with the chosen type after OK (the text is then on the clipboard or in the
// file) and EXP_NONE after Cancel. The dialog deletes itself afterwards.
TfrmExportSelection *RunExportSelection(QWidget *parent, const QString &text, const QString &addToFileNameStr,
                                        const QDate &runDate, TWorkbookSource workbook,
                                        std::function<void(TExportSelectionType)> closed);
