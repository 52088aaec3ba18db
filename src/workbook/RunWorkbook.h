#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class TRunSession;
class TSafeFileWriter;

// The calculated run as a workbook of four sheets:
//  "Results"   one row per sample: ID, wells, ODs, concentration, the result as shown, its
//              marks, the range flags and the 95 % prediction interval;
//  "Standards" one row per standard: concentration, replicate ODs, mean, %CV, QC, and the
//              back-calculated concentration, recovery and residual of the fit;
//  "Plate"     the plate's ODs (texts where a well holds no number) and below them the
//              layout: each well's standard or sample ID;
//  "Run"       the run details, curve, verdict, diagnostics, footnotes and every QC rule
//              with its threshold, measured value and outcome.
// Every number is the one `calc --json` gives (RunJsonObject), stored as a number with the
// decimals it is shown with; dates are dates; texts and headings are the program's, in the
// current language. The sheet names stay as they are in every language, for the formulas
// and imports that refer to them. The session must hold a calculation. EInOutError when the
// workbook cannot be put together or written.
QByteArray RunWorkbookBytes(const TRunSession &session);
void WriteRunWorkbook(const TRunSession &session, TSafeFileWriter &file);

// The decimals a number is shown with in `text` ("0.350": 3, "12": 0); none when the text
// holds no digits.
std::optional<int> ShownDecimals(const QString &text);
