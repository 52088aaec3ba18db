#pragma once

#include <QDate>
#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <span>
#include <vector>

// Shared routines: the exception-message format, decimal rounding on number texts,
// comparisons at a number of decimals, the program's own number and date
// conversions (regional settings, never the C library locale) and text helpers.

// ---- exception messages ---------------------------------------------------------
// "Exception occured in: " where CR LF ["With parameters: " parameters CR LF] "Reason: " reason
QString BuildExceptionMessage(const QString &where, const QString &parameters, const QString &reason);

// ---- numbers ----------------------------------------------------------------------
QString NormalizeNumberText(const QString &input);
// Half-up decimal rounding done on the digits of the text. Raises MarnovelException for
// decimals <= 0 and EIntOverflow when the scaled value leaves the signed 32-bit range.
QString RoundWideString(QStringView input, int decimals);
double PowerOfTen(int exponent); // 10^exponent, a table lookup for 0 to 22
int RoundHalfUp(double x);       // ERangeError outside the 32-bit range
double RoundToDecimals(int d, double x);
bool IsLessAtDecimals(int d, double x, double y);
bool IsLessOrEqualAtDecimals(int d, double x, double y);
bool IsGreaterOrEqualAtDecimals(int d, double x, double y);
double RoundAwayToDecimals(int d, double x); // d from -37 to 37
QString FormatTwoDecimals(double x);
void MeanAndSampleDeviation(std::span<const double> values, double &mean, double &deviation);
int MaxDictValue(const QMap<int, int> &map);
QString ReplaceDecimalSeparator(const QString &text, QChar sep);
std::vector<double> TextsToDoubles(const QStringList &texts, QChar sep); // EConvertError
// exp((ln(od) - intercept) / slope) rounded half away from zero to 2 decimals (no NaN check here)
double ConcentrationFromOD(double od, double intercept, double slope);

// The program's number format: regional decimal separator, optional blanks around,
// optional sign, optional exponent. Never throws.
bool TryTextToFloat(QStringView text, double &value);
double TextToFloat(const QString &text); // EConvertError "'text' is not a valid floating point value"
bool TryTextToInt(const QString &text, int &value); // optional sign, decimal digits, 32-bit
int TextToInt(const QString &text);                 // EConvertError "'text' is not a valid integer value"
// Fixed notation with exactly `decimals` decimals and the regional decimal separator.
QString FormatFixed(double value, int decimals);
// Room for a number text written without allocating, for a caller that keeps it only when
// it differs from the text it has.
struct TNumberTextBuffer
{
    std::array<char16_t, 64> Chars; // left uninitialised
    QString Long;                   // a text the engine writes
};
// FormatFixed into the buffer; the view lives as long as the buffer is not reused.
QStringView FormatFixed(double value, int decimals, TNumberTextBuffer &buffer);
// General number format with up to `precision` significant digits (shortest form,
// regional decimal separator), as used for plain numbers in exports.
QString FormatGeneral(double value, int precision = 15);

// ---- texts ------------------------------------------------------------------------
QStringList SplitText(const QString &text, const QString &sep);
int CountSeparators(const QString &text, const QString &sep);
QString RemoveChar(const QString &text, QChar c);
// The text without surrounding blanks: white space and every character up to 0x20, the
// blanks that the number reader also trims.
QString TrimSpaceAndBlanks(const QString &text);
QString RemoveAllOf(const QString &text, const QString &s);
QString DeleteFromTo(const QString &text, const QString &a, const QString &b);
QString TextBetween(const QString &text, const QString &a, const QString &b);
QString TextBefore(const QString &text, const QString &sep);
QString TextAfter(const QString &text, const QString &sep);
bool IsInList(const QString &text, const QStringList &list);
QString RepeatChar(QChar c, int n);
QString StripMarkup(const QString &text);
// A column heading as short lines, each centred on the longest word by leading blanks:
// words end at blanks and hyphens (a hyphen stays with its word), CR LF starts a new
// piece, and words of one character (or two ending in "-") join the word before them.
QStringList SplitHeading(const QString &text);
bool ContainsNoInvalidChar(const QString &text);
// Every control character (C0, DEL, C1) and every bidirectional control (embeddings,
// overrides, isolates, the directional marks) replaced by a blank: texts read from files
// must not split export columns or lines, reach a terminal as escape sequences, nor show
// themselves or the texts beside them in another order than they are stored.
QString ReplaceControlChars(const QString &text);
QString RemoveInvalidChars(const QString &text);
QString InvalidCharList();
QString InvalidCharMessage();

// Fixed texts (not from the catalogue).
QString ProductNameText();   // "Velomyra R&D"
QString ToolbarPromptText(); // "Please select a standard from the format toolbar before proceeding."
QString FilesSavedText(const QString &folder); // "All files saved to " + folder
QString MakerFooterText();                     // "A Parvenox Company"
QString LongDateFormatPattern();               // "dddddd"
QString ShortFileDateFormatPattern();          // "ddmmmyy"

// ---- dates ------------------------------------------------------------------------
enum TDateConvertResult
{
    DCR_OK,
    DCR_CONVERTERROR
};

// Formats with the program's date patterns (case-insensitive): d dd ddd dddd ddddd
// dddddd m mm mmm mmmm yy yyyy, h hh n nn s ss, "/" = regional date separator,
// ":" = time separator, quoted literals kept. Month and day names are those of the
// regional settings (the system locale's).
QString FormatDateTime(const QString &pattern, const QDateTime &value);
QString FormatDate(const QString &pattern, const QDate &value);
// Date (and optional time) text in the regional short date format.
QString DateTimeToText(const QDateTime &value); // short date, then the time unless midnight
bool TryTextToDateTime(const QString &text, QDateTime &value);
TDateConvertResult ConvertDate(const QString &text, QChar sep, QString &dateText);
// The same, keeping the date as a date: today on DCR_CONVERTERROR.
TDateConvertResult ConvertDate(const QString &text, QChar sep, QDate &date);
// "yyyy-m-d" as a date (years 1 to 9999). EConvertError on bad parts.
QDate DateFromIsoParts(const QString &text);
QString DateTextFromIsoParts(const QString &text); // EConvertError on bad parts
QString IsoDateText(const QDate &date);            // "yyyy-mm-dd"; empty for an invalid date
QString IsoDateText(const QString &text);          // EConvertError when unreadable
