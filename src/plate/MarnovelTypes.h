#pragma once

#include "core/Annotations.h"

#include <QChar>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <array>
#include <bitset>
#include <initializer_list>

// The vocabulary of the plate and of the assay layouts: geometry, criteria and curve
// types, the small enumerations every layer uses, and the constant tables.

// Colours as stored everywhere in the program: 0x00BBGGRR.
using TColor = quint32;

// ---- plate geometry -------------------------------------------------------------
// Wells are addressed in raw-data grid coordinates (QPoint x = column, y = row):
// columns 1-12 and rows 1-8 are wells, column 0 and row 0 hold the headings.
inline constexpr int PlateColumnCount = 12;
inline constexpr int PlateRowCount = 8;
inline constexpr int PlateGridColumnCount = PlateColumnCount + 1;
inline constexpr int PlateGridRowCount = PlateRowCount + 1;

// 'A' for grid row 1 ... 'H' for grid row 8 (letter code 64 + row); a null QChar for
// rows outside 1-26.
QChar RowHeadingLetter(int gridRow);
// The well as the plate names it: row letter and column, "A1" ... "H12".
QString WellName(QPoint gridCell);

// ---- criteria (layout) types ----------------------------------------------------
// Stored by ordinal in files; the ordinals are not consecutive.
enum TCriteriaType : quint8
{
    CT_CORVEX_TWO = 0,
    CT_CORVEX_THREE = 1,
    CT_TORVIN = 2,
    CT_CMV_UNDILUTED = 3,
    CT_CMV_POSSIBLY_DILUTED = 4,
    CT_CMV_DILUTED = 5,
    CT_CMV_POSSIBLY_DILUTED_CMV = 6,
    CT_CMV_DILUTED_CMV = 7,
    CT_STANDARDS = 8,
    CT_KRX415_UNDILUTED = 9,
    CT_KRX415_1_10 = 10,
    CT_KRX415_1_100 = 11,
    CT_KRX415_1_10_1_100 = 12,
    CT_KRX415_UNDILUTED_1_10 = 13,
    CT_KRX415_UNDILUTED_1_10_1_100 = 14,
    CT_RESEARCH_SAMPLE = 90
};

// True for the ordinals that name a subject layout: 0-7, 9-14 and 90.
bool IsSubjectLayoutCriteriaType(int pOrdinal);

// A set of small ordinals 0 .. N-1. An ordinal outside that range raises ERangeError
// (Include, Exclude and Contains alike): it cannot be a member and is a caller's fault.
template <int N> class TOrdinalSet
{
public:
    TOrdinalSet() = default;
    TOrdinalSet(std::initializer_list<int> pOrdinals)
    {
        for (int ordinal : pOrdinals)
            Include(ordinal);
    }

    void Include(int pOrdinal) { mBits.set(Checked(pOrdinal)); }
    void Exclude(int pOrdinal) { mBits.reset(Checked(pOrdinal)); }
    bool Contains(int pOrdinal) const { return mBits.test(Checked(pOrdinal)); }
    bool IsEmpty() const { return mBits.none(); }
    void Clear() { mBits.reset(); }
    bool operator==(const TOrdinalSet &) const = default;

    static constexpr int Capacity = N;

private:
    static std::size_t Checked(int pOrdinal);
    std::bitset<N> mBits;
};

[[noreturn]] void RaiseOrdinalSetRangeError(int pOrdinal, int pCapacity);

template <int N> std::size_t TOrdinalSet<N>::Checked(int pOrdinal)
{
    if (pOrdinal < 0 || pOrdinal >= N)
        RaiseOrdinalSetRangeError(pOrdinal, N);
    return static_cast<std::size_t>(pOrdinal);
}

using TCriteriaTypes = TOrdinalSet<100>;

// ---- curve types ----------------------------------------------------------------
// Fixed underlying types: a value read from a file may be out of range and must still be
// a valid object that the checks below can refuse.
enum TCurveType : int
{
    CURVE_4POINT = 0,
    CURVE_8POINT = 1
};

bool IsValidCurveType(int pOrdinal);

// ---- small enumerations ---------------------------------------------------------
enum TValidityType : int
{
    ValidValue = 0,
    ValueNotNumerical = 1,
    ValueNotSpecified = 2
};

enum TResultType : int
{
    RT_NOTSET = 0,
    RT_POSITIVE = 1,
    RT_NEGATIVE = 2,
    RT_INDETERMINATE = 3,
    RT_NOTAPPLICABLE = 4,
    RT_DATAMISSING = 5,
    RT_SUSPECTEDPOSITIVE = 6
};

enum TCellExceptionType : int
{
    CELLEX_NONE = 0,
    CELLEX_TBMINUSNIL = 1
};

using TCellExceptionTypes = TOrdinalSet<8>;

// ---- well labels ------------------------------------------------------------------
// Returns a long well label; texts with a catalogue id are fetched on every call.
using TGetstringFunction = QString (*)();

struct TStdDisplayRec
{
    int ID;                              // 1-based position of the well in its block
    QString Text;                        // short label (untrimmed)
    TGetstringFunction LongTextFunction; // nullptr: no long label
    TColor Color;
};

// The long label of a record, or the empty text when it has none.
QString LongTextOf(const TStdDisplayRec &pRec);

// Well labels of a subject layout in block order. Any ordinal that names no subject
// layout (the standards ordinal 8 included) raises MarnovelException
// "TCBBlockPanelList.GetListForCriteriaType: Invalid Criteria type.".
const QList<TStdDisplayRec> &WellLabelsOfCriteriaType(int pCriteriaType);

// Standards S1..S4 or S1..S8; any other curve type raises MarnovelException
// "TStdPanel.SetBlockList(): Invalid curve type passed in.".
const QList<TStdDisplayRec> &StandardsOfCurveType(TCurveType pCurveType);
// 4 or 8; raises like StandardsOfCurveType for any other curve type.
int StandardCountOfCurveType(TCurveType pCurveType);

// ---- array types --------------------------------------------------------------------
using TArrayDouble21 = std::array<double, 21>;
using TArrayDouble = QList<double>;
using TStdConcData = QList<float>;
using TStringGridData = QList<QStringList>; // outer and inner index as each user states

// ---- constant tables ----------------------------------------------------------------
inline constexpr std::array<TColor, 4> StandardGreys{0x00DEDEDE, 0x00CDCDCD, 0x00BCBCBC, 0x00ABABAB};

inline constexpr std::array<TColor, 32> SubjectColours{
    0x0080A6DD, 0x0080B6FF, 0x0080E6FF, 0x0080FFE6, 0x0080FFB6, 0x0080FF86, 0x00ACFF80, 0x00DCFF80,
    0x00FFF280, 0x00FFBF80, 0x00FF8C80, 0x00FF80A3, 0x00FF80CF, 0x00C980FF, 0x00AC80FF, 0x009393EB,
    0x0093B5EB, 0x0093D7EB, 0x0093EDE7, 0x0093EDC6, 0x0093EDA6, 0x0098ED91, 0x00B6ED91, 0x00D5ED91,
    0x00EFE891, 0x00EFCB91, 0x00EFAC91, 0x00EF8E94, 0x00EF8EBA, 0x00EF8EEF, 0x009C8EEF, 0x009C8EEF};

// Colour of every subject well label (pure blue).
inline constexpr TColor SubjectWellLabelColor = 0x00FF0000;

// IU/mL, highest first; the last is the zero standard.
inline constexpr std::array<float, 4> DefaultStdConc4Point{4.0f, 1.0f, 0.25f, 0.0f};
inline constexpr std::array<float, 8> DefaultStdConc8Point{8.0f, 4.0f, 2.0f, 1.0f, 0.5f, 0.25f, 0.125f, 0.0f};

// Default concentrations of a curve type; raises like StandardsOfCurveType otherwise.
TStdConcData DefaultStdConc(TCurveType pCurveType);
// Concentrations are kept in single precision: a larger value would become infinite, a
// smaller one other than 0 would become 0 or lose its digits. True for 0 and for a
// magnitude from the smallest normal single-precision number to the largest; never
// for NaN.
bool FitsSinglePrecision(double value);
// Text 1025, why a concentration that does not fit is refused.
QString StdConcRangeText();

// Texts that mean "no sample / no value", in any language and in files.
const QStringList &NotSpecifiedMarkers();
// Exact, case-sensitive membership in NotSpecifiedMarkers.
bool IsNotSpecifiedMarker(const QString &pText);
// Whether a well's text means "no value": one of NotSpecifiedMarkers in any letter case,
// surrounding blanks ignored. Every language's marker counts whatever the current language,
// so that a plate gives the same results in all languages and after a save and reload.
bool IsNotSpecifiedText(const QString &pText);

// Inline markup that travels inside result texts.
const QStringList &MarkupTags();

// Field separator of pasted and stored plate text.
inline constexpr QChar PlateTextSeparator = QChar(u'\t');
