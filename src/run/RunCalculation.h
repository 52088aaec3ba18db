#pragma once

#include "core/Exceptions.h"
#include "plate/MarnovelTypes.h"
#include "run/QcRules.h"

#include <QPoint>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

class ITextGrid;
class OWCellBlockBase;
class TMarnovelData;

// The run is not ready to be calculated: fewer than two standard blocks or more than a
// calculation takes, no sample block, or a standard concentration below 0 (the window
// keeps Calculate disabled then).
class ERunNotCalculable : public MarnovelException
{
public:
    using MarnovelException::MarnovelException;
};

// The data cannot be calculated because of the value of one well: a sample's OD whose
// logarithm is not defined.
class EWellNotCalculable : public EMathError
{
public:
    EWellNotCalculable(QString message, QPoint well) : EMathError(std::move(message)), mWell(well) {}
    QPoint Well() const { return mWell; }

private:
    QPoint mWell; // grid coordinates
};

// Text 1022 when `seriesCount` standard series are more than a calculation takes
// (TMarnovelData::MaxStandardSeries); empty otherwise.
QString StandardSeriesProblem(int seriesCount);

struct TRunCurvePoint
{
    double X = 0.0; // ln(concentration)
    double Y = 0.0; // ln(mean OD)
    TColor Color = 0;
    int Standard = -1; // the standard the point is of, 0: S1
};

struct TRunSubjectResult
{
    QString Id;                  // the block's identifier
    QString ResultText;          // as stored in the block, marks between bold tags included
    int TextId = 0;              // the catalogue text shown instead of a value (N/A, N/S); 0: none
    QStringList Marks;           // "#", "¶", "*" of the annotations the block carries
    std::optional<double> Value; // IU/mL for a numeric OD (also above range); none otherwise
    std::optional<double> Od;    // the OD the value comes from; none where Value is none
};

struct TRunCalculationResult
{
    // Figures, flags and catalogue ids only: ResultTexts makes the shown texts from them in
    // the language of the moment. The standards' figures and pass flags are Qc.Standards'.
    std::vector<TRunCurvePoint> CurvePoints;
    double Intercept = 0.0;
    double Slope = 0.0;
    double Correlation = 0.0;
    bool CorrelationPass = false;
    bool Valid = false;
    // Zero-standard mean above 0.150: plate washing should be investigated (text 258).
    bool PlateWashNote = false;
    // Every QC rule the calculation applied, per standard and for the run: why the verdict
    // is what it is. The run's rules end with the plate-washing note (advisory).
    TRunQc Qc;
    std::vector<TRunSubjectResult> Subjects; // subject blocks in collection order
    // The annotations present in any subject block, "#" first, "¶", then "*"
    // (FootnotedAnnotations): one footnote line each.
    std::vector<TAnnotationType> FootnoteAnnotations;
};

// Calculates a whole run: the plate text must be loaded and the blocks laid out. The
// blocks read their wells from `source`, or, when it is null, from a grid filled from
// the plate text (copyDataToStringgrid). Raises ERunNotCalculable when the run cannot be
// calculated yet, EMathError when the data cannot be calculated (text 185),
// EWellNotCalculable when the value of one well is the cause,
// TCustomInvalidExtentsException when the plate text does not fit the grid; other errors
// propagate.
TRunCalculationResult CalculateRun(TMarnovelData &data, const ITextGrid *source = nullptr);

// The grid column (1 to 12) of the rightmost plate column with a text other than blanks in
// one of its 8 rows; -1 for a plate without data.
int LastColumnWithData(const TMarnovelData &data);

// What the window asks of the plate before it calculates, besides canCalc: some data (its
// Calculate button stays disabled without), and no block right of the data's last column
// (text 182, which refuses such a paste or format). Raises ERunNotCalculable otherwise.
void CheckPlateFitsLayout(const TMarnovelData &data);

// The standards table before calculation: headings and columns 0 and 1 filled.
TStringGridData BuildStandardsTable(const TMarnovelData &data);

// Text 81 (N/A) for a subject block without a value, 64 (N/S) for one whose value is not
// specified, else 0: the block's result is a number.
int SubjectResultTextId(const OWCellBlockBase &block);

// Plate-washing check on a zero-standard mean text: fails above 0.150; 0.150 itself
// passes, and a text that does not read as a number passes without a measured value.
TQcCheck CheckPlateWashing(const QString &zeroStandardMeanText);
// True when the check fails: the note text 258 is shown.
bool ShouldShowPlateWashing(const QString &zeroStandardMeanText);
