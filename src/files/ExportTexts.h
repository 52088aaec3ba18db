#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

class ITextGrid;
class TMarnovelData;
struct TRunCalculationResult;

// How the standard concentrations were given: a dilution series from S1, or each typed.
enum class TStdConcValueType
{
    Default,
    Manual
};

// The run details the exports and reports name, and what a window shows beside them.
struct TRunDetails
{
    TRunDetails() = default;
    // The four that identify the run; the others are optional.
    TRunDetails(const QDate &runDate, const QString &runNumber, const QString &kitBatchNumber,
                const QString &operatorName, TStdConcValueType stdConcValueType = TStdConcValueType::Default,
                const QString &idPrefix = QString())
        : RunDate(runDate), RunNumber(runNumber), KitBatchNumber(kitBatchNumber), OperatorName(operatorName),
          StdConcValueType(stdConcValueType), IdPrefix(idPrefix)
    {
    }

    QDate RunDate;
    QString RunNumber;
    QString KitBatchNumber;
    QString OperatorName;
    // A run from a file keeps its own concentrations.
    TStdConcValueType StdConcValueType = TStdConcValueType::Default;
    // The subject identifier prefix a loaded run brings; run files as written carry none.
    QString IdPrefix;
};

// Text 114 ": " version, text 46 ": " operator, text 45 ": " kit batch number, each
// line ended by CR LF.
QString ExportPreamble(const TRunDetails &pDetails);

// One line per subject block with its results, then the footnotes of the annotations
// present. pResult is the calculation of the run in pData.
QString BuildResultsExportText(const TMarnovelData &pData, const TRunCalculationResult &pResult,
                               const TRunDetails &pDetails);

// The plate row by row as the raw-data grid shows it, beside the standards with the
// values used in the calculation and their QC. pRawDataGrid holds the plate with its
// headings (row 0 and column 0), as the window's raw-data grid has it.
QString BuildRawDataExportText(const TMarnovelData &pData, const TRunCalculationResult &pResult,
                               const TRunDetails &pDetails, const ITextGrid &pRawDataGrid);

// Copies the plate text into the grid (copyDataToStringgrid) and writes the headings
// the window's raw-data grid has: "1".."12" in row 0, "A".."H" in column 0, (0, 0) empty.
void FillRawDataGrid(const TMarnovelData &pData, ITextGrid &pGrid);

// The bytes of an export file: UTF-8 with a byte-order mark.
QByteArray ExportFileBytes(const QString &pText);
// Writes them through TSafeFileWriter: a failed write leaves any existing file as it was.
// EInOutError on failure.
void WriteExportFile(const QString &pFileName, const QString &pText);

// In the configured export folder: the run date "ddmmmyy", pWord ("ResultExp" or
// "DataExp"), the first free suffix ("a", "b", ...), "." pExtension.
QString ProposedExportFileName(const QDate &pRunDate, const QString &pWord,
                               const QString &pExtension = QStringLiteral("txt"));
