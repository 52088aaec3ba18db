#pragma once

#include "core/Exceptions.h"
#include "plate/MarnovelTypes.h"
#include "run/QcRules.h"

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>

class QMimeData;
class ITextGrid;
class OWCells;
class OWCellBlockBase;
class TLinearRegression;

// Receives the standard-curve points of a calculation: x = ln(concentration),
// y = ln(mean OD), of standard `standard` (0: S1). Drawing them is the caller's business.
class ICurvePointSink
{
public:
    virtual ~ICurvePointSink() = default;
    virtual void AddPoint(double x, double y, TColor color, int standard) = 0;
};

// A plate text that does not fit the 13 x 9 plate matrix: a tenth line, or a fourteenth
// value on a line. Raised by both plate-text loads before anything is stored; the paste
// command reports it as text 126, a file load as a failed load.
class EPlateTextOverflow : public MarnovelException
{
public:
    using MarnovelException::MarnovelException;
};

// Why a plate text was not taken (loadDataObject).
enum class TPlateTextProblem
{
    None,
    NoDataObject,   // "dataObj = nil"
    NoText,         // text 126
    WrongLineCount, // text 118: not 8 lines
    // Text 126: a number with more than 3 decimals too large to round to 3 on 32 bits
    // (beyond 2147483.647); the rounding refuses it, so the paste fails.
    UnroundableNumber,
};

// The message loadDataObject shows for a problem; empty for None.
QString PlateTextProblemText(TPlateTextProblem problem);

// Columns and rows of the subject result grid (without the identifier column).
struct TResultGridCount
{
    int X = 0;
    int Y = 0;
    bool operator==(const TResultGridCount &) const = default;
};

// The run data of one plate: plate text, the standard and subject blocks, the curve
// type and standard concentrations, and the calculation. Edition-independent base; the
// research edition is TMarnovelRdData.
class TMarnovelData
{
public:
    // The plate text matrix: column 0-12, row 0-8 (one column more than a plate has, so
    // a trailing tab can be detected and refused when copying to the grid).
    static constexpr int DataCols = 13;
    static constexpr int DataRows = 9;
    // Colour of the curve points handed to the sink (blue).
    static constexpr TColor CurvePointColor = 0x00FF0000;
    // Standard blocks (replicate series) a calculation takes at most.
    static constexpr int MaxStandardSeries = 21;

    TMarnovelData();
    virtual ~TMarnovelData();
    TMarnovelData(const TMarnovelData &) = delete;
    TMarnovelData &operator=(const TMarnovelData &) = delete;

    // ---- edition hooks ---------------------------------------------------------------
    virtual QString StandardName(int index) const = 0;
    // blockIndex >= 0: replicate `index` of standard block blockIndex agrees with mean.
    // blockIndex < 0: the top-standard minimum on mean.
    virtual TQcCheck CheckStandardReplicate(int blockIndex, int index, const OWCells &blocks, double mean,
                                            double sd) const = 0;
    virtual bool IsCvApplicable(int index, int count, double mean) const = 0;
    virtual bool IsLowStandard(int index, int count) const = 0;
    // False when standard `index` gives no curve point (zero concentration or zero mean).
    // x and y may come out NaN/inf for negative inputs; calc checks them.
    virtual bool GetRegressionPoint(int index, double &x, double mean, double &y) const = 0;
    // Subject results from the fitted line. EMathError when an OD cannot be converted.
    virtual void CalcResults(const TLinearRegression &regression, OWCells &blocks) = 0;
    virtual QString NormaliseNonNumeric(const QString &text) const = 0;
    virtual TQcCheck CheckCv(int index, double cv) const;
    bool IsCvAcceptable(int index, double cv) const { return CheckCv(index, cv).Passed; }
    virtual QString QcResultText(const QString &text, int index) const;

    TMarnovelData &CurrentCriteria() { return *this; }
    virtual QString MaxCellValueStr() const { return QString(); }
    virtual void SetXExtent(int value) { mXExtent = value; }
    virtual void SetYExtent(int value) { mYExtent = value; }

    virtual QString GetPrintHeadingResultString() const = 0;
    virtual bool printValidResultGridLine(int indexToCheck) const = 0;
    virtual int printMarginWidth() const = 0;

    // ---- plate text ------------------------------------------------------------------
    // The first text the data object offers, parsed as plate lines. nullptr shows
    // "dataObj = nil", no text shows text 126, a line count other than 8 shows text 118;
    // each returns false. EPlateTextOverflow when the text does not fit the matrix.
    virtual bool loadDataObject(const QMimeData *dataObj);
    // A grid of text, outer index = row (as stored in run data files); same parser.
    virtual bool loadDataObject(const TStringGridData &data);
    // The parses underneath: the same, but silent; they return why the text was not taken.
    TPlateTextProblem ParseDataObject(const QMimeData *dataObj);
    TPlateTextProblem ParseDataObject(const TStringGridData &data);

    // ---- calculation -----------------------------------------------------------------
    virtual bool doCanCalc() const = 0;
    // The object's own concentrations, not a copy: editing them changes the run.
    virtual TStdConcData &StdConc() = 0;
    virtual const TStdConcData &StdConc() const = 0;
    virtual int StdConcSize() const;
    virtual void init(bool keepStdConc) = 0;
    virtual TResultGridCount ResultGridCount() const = 0;
    // Fills columns 2-4 of the standards table (outer index = column; rows 1.. are the
    // standards), hands curve points to series1 (may be null) and reg, calculates the
    // subject results and returns the run verdict. The table, and qc when given, are changed
    // only on success; qc receives every QC rule applied, for each standard and the run, and
    // each standard's figures.
    // EMathError: the data cannot be calculated (text 185). ERangeError: more than 21
    // replicates of a standard.
    virtual bool calc(ICurvePointSink *series1, TLinearRegression &reg, TStringGridData &concGd,
                      TRunQc *qc = nullptr);
    virtual void clear();

    virtual QString rawDataRowheading(int row) const = 0;
    virtual QString resultGridColHeading(int col) const = 0;
    virtual QString resultGridColHeadingForPrintout(int col) const { return resultGridColHeading(col); }
    virtual TCurveType GetCurveTypeForDataClass() const { return CURVE_4POINT; }

    // ---- queries -----------------------------------------------------------------------
    virtual bool HasNegativeODValues() const;
    virtual bool DoesCriteriaHaveData(TCriteriaType criteria) const;
    virtual TCriteriaTypes GetAllowedCriteriaTypes() const;
    virtual bool CriteriaHasMinimumNoStrips(TCriteriaType criteria) const;
    // Largest well column of any block; -1 without blocks.
    virtual int IndexColOfLastFormatStrip() const;
    virtual int IndexColOfLastFormatStrip(const OWCells &pWells) const;
    // Every subject block, then every standard block, reads its wells from the grid.
    virtual void SetValues(const ITextGrid &pSourceGrid);
    virtual void ClearStdBlocks();
    virtual void ClearRawData();
    virtual void ClearMData();
    virtual QString GetRawDataTypeString(int pIndex) const = 0;
    virtual void SetCurveType(TCurveType value) = 0;
    // Copies the first 4 or 8 values of pStdConc; ERangeError when it holds fewer.
    virtual void SetCurveType(TCurveType value, const QList<double> &pStdConc) = 0;
    virtual TCurveType GetCurveType() const { return fCurveType; }

    // ---- non-virtual -------------------------------------------------------------------
    TCriteriaType GetCriteriaType() const { return fCriteriaType; }
    void SetCriteriaType(TCriteriaType value) { fCriteriaType = value; }
    // Correlation >= 0.98 at 2 decimals.
    static bool IsValidCoefficient(double pCoefficient);
    // The standard block holding the well, else the subject block, else nullptr.
    OWCellBlockBase *cellAtPoint(QPoint p) const;
    bool canCalc() const;
    // Subject blocks pStartItem..pEndItem, 1-based and inclusive; 0 means first / last.
    bool AnnotationExists(TAnnotationType pAnnotationType, int pStartItem, int pEndItem) const;
    // TCustomInvalidExtentsException "Invalid Extents" when the extents are not valid.
    void copyDataToStringgrid(ITextGrid &dest) const;
    bool ExtentsValid() const;

    // ---- properties ----------------------------------------------------------------------
    OWCells &StdBlocks() { return *mStdBlocks; }
    const OWCells &StdBlocks() const { return *mStdBlocks; }
    OWCells &RawData() { return *mRawData; }
    const OWCells &RawData() const { return *mRawData; }
    int IDCellPosition() const { return mIDCellPosition; }
    int DataCellPosition() const { return mDataCellPosition; }
    int MinimumStrips() const { return fMinimumStrips; }
    int XExtent() const { return mXExtent; }
    int YExtent() const { return mYExtent; }
    int NumStdGroups() const { return fNumStdGroups; }
    int NumCellsPerDataGroup() const { return fNumCellsPerDataGroup; }
    int NumCellsPerStdGroup() const { return fNumCellsPerStdGroup; }
    bool LastPasteGood() const { return mLastPasteGood; }
    // Plate text at matrix column 0-12, row 0-8 (grid cell col + 1, row + 1); empty
    // text outside the matrix.
    QString PlateText(int col, int row) const;
    // The same text read in place; nullptr outside the matrix.
    const QString *StoredPlateText(int col, int row) const
    {
        if (col < 0 || col >= DataCols || row < 0 || row >= DataRows)
            return nullptr;
        return &mData[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
    }

protected:
    // Shared by both loads: WrongLineCount when the line count is not 8; EPlateTextOverflow
    // (nothing stored) when the lines do not fit the matrix.
    TPlateTextProblem ParsePlateLines(const QStringList &lines);

    std::unique_ptr<OWCells> mStdBlocks;
    std::unique_ptr<OWCells> mRawData;
    bool mLastPasteGood = true;
    int mIDCellPosition = 4;
    int mDataCellPosition = 0;
    std::array<std::array<QString, DataRows>, DataCols> mData; // [column][row]
    TCriteriaType fCriteriaType = CT_CORVEX_TWO;
    int fNumStdGroups = 2;
    int fNumCellsPerStdGroup = 4;
    int fNumCellsPerDataGroup = 4;
    int mXExtent = 0;
    int mYExtent = 0;
    TCurveType fCurveType = CURVE_4POINT;
    int fMinimumStrips = 1;
};
