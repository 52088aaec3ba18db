#include "run/ResultTexts.h"

#include "core/Annotations.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "run/QcRules.h"
#include "run/RunCalculation.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace {

constexpr int StdConcDecimals = 3;

// Slope and intercept are shown with 4 decimals of at most 9 significant digits.
// value with 9 significant digits as Qt writes them: correctly rounded, an exact half up
// (the standard writer would round it to even).
double NineDigits(double value)
{
    if (!std::isfinite(value) || value == 0.0)
        return value;
    // The shortest form lies within half an ulp of value: no 9-digit half lies between them
    // unless it is that half itself (10 digits ending in 5), which is left to Qt.
    std::array<char, 64> text{};
    char *const end =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::scientific).ptr;
    char *const exponent = std::find(text.data(), end, 'e');
    char *digits = text.data() + (value < 0 ? 1 : 0); // d.ddd
    const auto count = static_cast<int>(exponent - digits) - (exponent - digits > 1 ? 1 : 0);
    if (count <= 9)
        return value;
    if (count == 10 && exponent[-1] == '5')
        return QString::number(value, 'g', 9).toDouble();
    // Half up on the ninth digit: the eighth digit after the point.
    char *const last = digits + 9; // d . d1..d8
    bool carry = last[1] >= '5';
    for (char *at = last; carry && at >= digits; --at) {
        if (*at == '.')
            continue;
        carry = *at == '9';
        *at = carry ? '0' : static_cast<char>(*at + 1);
    }
    double rounded = 0.0;
    std::string number(text.data(), last + 1);
    if (carry) // 9.99999999x became 0.00000000: one more power of ten
        number.insert(number.begin() + (digits - text.data()), '1');
    number.append(exponent, end);
    std::from_chars(number.data(), number.data() + number.size(), rounded);
    return rounded;
}

QString MeanNumber(double mean)
{
    return FormatFixed(RoundedAtDecimalsInRange(3, mean), 3);
}

QString CvNumber(double cv)
{
    return FormatFixed(cv, 1);
}

// The catalogue texts of the standards table, looked up once for a whole table.
struct TCatalogueTexts
{
    QString NotApplicable = UiText(TextId::NotApplicable);
    QString Pass = UiText(TextId::Pass);
    QString Fail = UiText(TextId::Fail);
};

QString Cell(const TStandardQc &standard, int col, const TCatalogueTexts &texts)
{
    switch (col) {
    case 0:
        return standard.Name;
    case 1:
        return FormatFixed(standard.Concentration, StdConcDecimals);
    case 2:
        return standard.Mean ? MeanNumber(*standard.Mean) : texts.NotApplicable;
    case 3:
        return standard.Cv ? CvNumber(*standard.Cv) : texts.NotApplicable;
    case ResultTexts::StandardsQcColumn:
        return standard.Passed ? texts.Pass : texts.Fail;
    default:
        return QString();
    }
}

} // namespace

namespace ResultTexts {

QString StandardsHeading(int col)
{
    static constexpr int headings[StandardsColumnCount] = {TextId::StdHeading, TextId::ConcHeading,
                                                           TextId::MeanHeading, TextId::CvHeading,
                                                           TextId::QcResultHeading};
    return col >= 0 && col < StandardsColumnCount ? UiText(headings[col]) : QString();
}

QString Concentration(double value)
{
    return FormatFixed(value, StdConcDecimals);
}

QString Mean(const std::optional<double> &value)
{
    return value ? MeanNumber(*value) : UiText(TextId::NotApplicable);
}

QString Cv(const std::optional<double> &value)
{
    return value ? CvNumber(*value) : UiText(TextId::NotApplicable);
}

QString PassFail(bool pass)
{
    return UiText(pass ? TextId::Pass : TextId::Fail);
}

QString StandardCell(const TStandardQc &standard, int col)
{
    return Cell(standard, col, TCatalogueTexts());
}

void FillStandardCells(TStringGridData &table, const std::vector<TStandardQc> &standards, int firstCol)
{
    const TCatalogueTexts texts;
    for (int col = std::max(firstCol, 0); col < StandardsColumnCount && col < table.size(); ++col) {
        QStringList &column = table[col];
        for (std::size_t i = 0; i < standards.size() && static_cast<qsizetype>(i) + 1 < column.size(); ++i)
            column[static_cast<qsizetype>(i) + 1] = Cell(standards[i], col, texts);
    }
}

TStringGridData StandardsTable(const std::vector<TStandardQc> &standards)
{
    TStringGridData table(StandardsColumnCount, QStringList(static_cast<qsizetype>(standards.size()) + 1));
    for (int col = 0; col < StandardsColumnCount; ++col)
        table[col][0] = StandardsHeading(col);
    FillStandardCells(table, standards, 0);
    return table;
}

QString CurveValue(double value)
{
    return FormatFixed(NineDigits(value), 4);
}

QString Correlation(double value)
{
    return FormatFixed(RoundAwayToDecimals(2, value), 2);
}

QString Verdict(const TRunCalculationResult &result)
{
    return UiText(result.Valid ? TextId::ValidRun : TextId::InvalidRun);
}

QString SubjectResult(const TRunSubjectResult &subject)
{
    return subject.TextId != 0 ? UiText(subject.TextId) : subject.ResultText;
}

QStringList FootnoteLines(const TRunCalculationResult &result)
{
    QStringList lines;
    for (const TAnnotationType type : result.FootnoteAnnotations)
        if (const TAnnotationInfo *annotation = FindAnnotation(type))
            lines << FootnoteLine(*annotation);
    return lines;
}

} // namespace ResultTexts
