#pragma once

#include <QDialog>

// The print and PDF window. The standing instance is created at start-up; the preview,
// the printer and the PDF files arrive with the report pages.
class TScreenPrintFormCombinedTorvinTandem : public QDialog
{
public:
    explicit TScreenPrintFormCombinedTorvinTandem(QWidget *parent = nullptr);
};
