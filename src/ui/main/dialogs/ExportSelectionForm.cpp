#include "ExportSelectionForm.h"

#include "core/FileDialogs.h"
#include "core/TextIds.h"
#include "core/UiTextManager.h"
#include "files/ExportTexts.h"
#include "platform/ExceptionBoundary.h"
#include "platform/WindowTools.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TfrmExportSelection::TfrmExportSelection(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"frmExportSelection"_s);
    grpSelection = new QGroupBox(this);
    grpSelection->setObjectName(u"grpSelection"_s);
    rbClipboardExport = new QRadioButton(grpSelection);
    rbClipboardExport->setObjectName(u"rbClipboardExport"_s);
    rbFileExport = new QRadioButton(grpSelection);
    rbFileExport->setObjectName(u"rbFileExport"_s);
    auto *choices = new QVBoxLayout(grpSelection);
    choices->addWidget(rbClipboardExport);
    choices->addWidget(rbFileExport);

    btnOk = new QPushButton(this);
    btnOk->setObjectName(u"btnOk"_s);
    btnOk->setDefault(true);
    btnCancel = new QPushButton(this);
    btnCancel->setObjectName(u"btnCancel"_s);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(grpSelection);
    layout->addLayout(buttons);
    // A fixed dialog border: the dialog is as large as its texts need, no larger.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    rbClipboardExport->setChecked(true);
    connect(rbClipboardExport, &QRadioButton::clicked, this,
            Guarded(this, &TfrmExportSelection::rbClipboardExportClick));
    connect(rbFileExport, &QRadioButton::clicked, this,
            Guarded(this, &TfrmExportSelection::rbFileExportClick));
    connect(btnOk, &QPushButton::clicked, this, Guarded(this, &TfrmExportSelection::btnOkClick));
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    InitializeText();
}

void TfrmExportSelection::InitializeText()
{
    setWindowTitle(UiText(TextId::ProgramName));
    SetControlText(grpSelection, 264, false);
    SetControlText(rbClipboardExport, 265, false);
    SetControlText(rbFileExport, 266, false);
    SetControlText(btnOk, 48, false);
    SetControlText(btnCancel, 69, false);
}

void TfrmExportSelection::SetExport(const QString &textToWrite, const QString &addToFileNameStr,
                                    const QDate &runDate)
{
    mTextToWrite = textToWrite;
    fAddToFileNameStr = addToFileNameStr;
    mRunDate = runDate;
}

void TfrmExportSelection::rbClipboardExportClick()
{
    fExportSelectedType = EXP_CLIPBOARD;
}

void TfrmExportSelection::rbFileExportClick()
{
    fExportSelectedType = EXP_FILE;
}

void TfrmExportSelection::btnOkClick()
{
    if (fExportSelectedType == EXP_CLIPBOARD) {
        QGuiApplication::clipboard()->setText(mTextToWrite);
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
                                        const QDate &runDate,
                                        std::function<void(TExportSelectionType)> closed)
{
    auto *dialog = new TfrmExportSelection(parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->SetExport(text, addToFileNameStr, runDate);
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog, closed = std::move(closed)] {
        const TExportSelectionType outcome = dialog->Outcome();
        if (closed)
            RunGuarded([&] { closed(outcome); });
    });
    dialog->open();
    return dialog;
}
