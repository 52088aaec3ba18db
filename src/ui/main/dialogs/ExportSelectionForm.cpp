#include "ExportSelectionForm.h"

#include "core/Exceptions.h"
#include "core/FileDialogs.h"
#include "core/MarnovelUtils.h"
#include "core/TextIds.h"
#include "core/UiTextManager.h"
#include "files/ExportTexts.h"
#include "platform/DialogSetup.h"
#include "platform/ExceptionBoundary.h"
#include "platform/WindowTools.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TfrmExportSelection::TfrmExportSelection(QWidget *parent) : QDialog(parent)
{
    SetUpDialog(this, u"frmExportSelection"_s, TDialogKind::Plain);
    grpSelection = Named(new QGroupBox(this), u"grpSelection"_s);
    rbClipboardExport = Named(new QRadioButton(grpSelection), u"rbClipboardExport"_s);
    rbFileExport = Named(new QRadioButton(grpSelection), u"rbFileExport"_s);
    rbWorkbookExport = Named(new QRadioButton(grpSelection), u"rbWorkbookExport"_s);
    auto *choices = new QVBoxLayout(grpSelection);
    choices->addWidget(rbClipboardExport);
    choices->addWidget(rbFileExport);
    choices->addWidget(rbWorkbookExport);

    const TOkCancelButtons buttons = AddOkCancelButtons(this, u"btnOk"_s, u"btnCancel"_s);
    btnOk = buttons.ok;
    btnCancel = buttons.cancel;

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(grpSelection);
    layout->addLayout(buttons.row);
    // A fixed dialog border: the dialog is as large as its texts need, no larger.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    rbClipboardExport->setChecked(true);
    OnChecked(rbClipboardExport, this, &TfrmExportSelection::rbClipboardExportClick);
    OnChecked(rbFileExport, this, &TfrmExportSelection::rbFileExportClick);
    OnChecked(rbWorkbookExport, this, &TfrmExportSelection::rbWorkbookExportClick);
    connect(btnOk, &QPushButton::clicked, this, Guarded(this, &TfrmExportSelection::btnOkClick));
    InitializeText();
}

void TfrmExportSelection::InitializeText()
{
    setWindowTitle(UiText(TextId::ProgramName));
    SetControlText(grpSelection, 264, false);
    SetControlText(rbClipboardExport, 265, false);
    SetControlText(rbFileExport, 266, false);
    SetControlText(rbWorkbookExport, TextId::ExportToWorkbook, false);
    SetOkCancelTexts(btnOk, btnCancel);
}

void TfrmExportSelection::SetExport(const QString &textToWrite, const QString &addToFileNameStr,
                                    const QDate &runDate, TWorkbookSource workbook)
{
    mTextToWrite = textToWrite;
    fAddToFileNameStr = addToFileNameStr;
    mRunDate = runDate;
    mWorkbook = std::move(workbook);
    // Without a run to put in a workbook there is no third choice.
    rbWorkbookExport->setVisible(static_cast<bool>(mWorkbook));
}

void TfrmExportSelection::rbClipboardExportClick()
{
    fExportSelectedType = EXP_CLIPBOARD;
}

void TfrmExportSelection::rbFileExportClick()
{
    fExportSelectedType = EXP_FILE;
}

void TfrmExportSelection::rbWorkbookExportClick()
{
    fExportSelectedType = EXP_WORKBOOK;
}

void TfrmExportSelection::btnOkClick()
{
    if (fExportSelectedType == EXP_CLIPBOARD) {
        QGuiApplication::clipboard()->setText(mTextToWrite);
    } else if (fExportSelectedType == EXP_WORKBOOK) {
        const QString proposed =
            QFileInfo(ProposedExportFileName(mRunDate, fAddToFileNameStr, u"xlsx"_s)).fileName();
        QString fileName;
        if (!SaveWorkbookFileDialog(proposed, fileName))
            return;
        QByteArray workbook;
        try {
            workbook = mWorkbook();
        } catch (const MarnovelException &error) {
            // Put together beside the target's folder, it still fails as this file's write.
            throw EInOutError(WriteFailureText(fileName, error.Reason()), error.Reason());
        }
        WriteFileAtomically(fileName, workbook);
    } else {
        const QString proposed = QFileInfo(ProposedExportFileName(mRunDate, fAddToFileNameStr)).fileName();
        QString fileName;
        if (!SaveExportFileDialog(proposed, fileName))
            return; // the operator may choose again
        WriteExportFile(fileName, mTextToWrite);
    }
    mOutcome = fExportSelectedType;
    accept();
}

TfrmExportSelection *RunExportSelection(QWidget *parent, const QString &text, const QString &addToFileNameStr,
                                        const QDate &runDate, TWorkbookSource workbook,
                                        std::function<void(TExportSelectionType)> closed)
{
    auto *dialog = new TfrmExportSelection(parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->SetExport(text, addToFileNameStr, runDate, std::move(workbook));
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog, closed = std::move(closed)] {
        const TExportSelectionType outcome = dialog->Outcome();
        if (closed)
            RunGuarded([&] { closed(outcome); });
    });
    dialog->open();
    return dialog;
}
