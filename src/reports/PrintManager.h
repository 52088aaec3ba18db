#pragma once

#include <QList>

// Tells the report pages whether they draw for a PDF file or a printer job, and collects
// the Y positions at which pages 2, 3, ... begin in a tall file image.
class TPrintManager
{
public:
    void FilePrintSet(bool value) { fFilePrint = value; }
    bool FilePrintGet() const { return fFilePrint; }
    void PrinterPrintingSet(bool value) { fPrinterPrinting = value; }
    bool PrinterPrintingGet() const { return fPrinterPrinting; }

    void PageEndAddItem(int pItem) { fPageEnd.append(pItem); }
    // ERangeError outside the list.
    int PageEndGetItem(int pIndex) const;
    int PageEndGetCount() const { return static_cast<int>(fPageEnd.size()); }
    void PageEndClearAllItems() { fPageEnd.clear(); }
    const QList<int> &PageEnds() const { return fPageEnd; }

private:
    QList<int> fPageEnd;
    bool fFilePrint = false;
    bool fPrinterPrinting = false;
};

// Created on first use, alive until the process ends.
TPrintManager &GetPrintManager();

// Sets FilePrint (or PrinterPrinting) for its lifetime and clears it again, also when the
// drawing throws.
class TFilePrintScope
{
public:
    TFilePrintScope() { GetPrintManager().FilePrintSet(true); }
    ~TFilePrintScope() { GetPrintManager().FilePrintSet(false); }
    TFilePrintScope(const TFilePrintScope &) = delete;
    TFilePrintScope &operator=(const TFilePrintScope &) = delete;
};

class TPrinterPrintingScope
{
public:
    TPrinterPrintingScope() { GetPrintManager().PrinterPrintingSet(true); }
    ~TPrinterPrintingScope() { GetPrintManager().PrinterPrintingSet(false); }
    TPrinterPrintingScope(const TPrinterPrintingScope &) = delete;
    TPrinterPrintingScope &operator=(const TPrinterPrintingScope &) = delete;
};
