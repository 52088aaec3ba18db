#pragma once

#include "plate/MarnovelTypes.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

struct TRunCalculationResult;
struct TRunSubjectResult;
struct TStandardQc;

// The texts a calculation is shown with, made from its numbers, flags and catalogue ids when
// they are shown: the window, the tool and the reports show the same texts, and a language
// switch only needs them made again.
namespace ResultTexts {

// Name, concentration, mean OD, %CV, QC result.
inline constexpr int StandardsColumnCount = 5;
inline constexpr int StandardsQcColumn = 4;

// Texts 74-78; empty outside the columns.
QString StandardsHeading(int col);
QString Concentration(double value); // 3 decimals
// The mean OD with 3 decimals, the %CV with 1; text 81 (N/A) without a value.
QString Mean(const std::optional<double> &value);
QString Cv(const std::optional<double> &value);
QString PassFail(bool pass); // text 79 or 80
// One cell of a calculated standard's row; empty outside the columns.
QString StandardCell(const TStandardQc &standard, int col);
// The cells of calculated standards, columns firstCol to 4, into `table` (outer index =
// column, row i + 1 standard i); rows the table does not have are left out.
void FillStandardCells(TStringGridData &table, const std::vector<TStandardQc> &standards, int firstCol);
// The table as the standards grid shows it (outer index = column): row 0 the headings,
// row i + 1 standard i.
TStringGridData StandardsTable(const std::vector<TStandardQc> &standards);

// Intercept and slope: 4 decimals of at most 9 significant digits.
QString CurveValue(double value);
// Rounded half away from zero to 2 decimals.
QString Correlation(double value);
QString Verdict(const TRunCalculationResult &result); // text 87 or 364
// The subject's result with its marks ("<B>#</B>"), or the catalogue text shown instead.
QString SubjectResult(const TRunSubjectResult &subject);
// One line per annotation present, in footnote order.
QStringList FootnoteLines(const TRunCalculationResult &result);

} // namespace ResultTexts
