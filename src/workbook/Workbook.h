#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

#include <memory>
#include <optional>

class TSafeFileWriter;
struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

class TWorkbook;

// One sheet of a TWorkbook, addressed (row, column) from 0. Numbers are stored as numbers
// and shown with a fixed count of decimals (none given: as the spreadsheet's general format
// shows them); dates are stored as dates. A missing or non-finite number leaves its cell empty.
// Every write raises EInOutError when the workbook refuses it (a row past the format's last).
class TWorksheet
{
public:
    void Text(int row, int column, const QString &text);
    void Heading(int row, int column, const QString &text);
    void Number(int row, int column, std::optional<double> value, std::optional<int> decimals = std::nullopt);
    // A date before 1900 cannot be a spreadsheet date and is written as its ISO text.
    void Date(int row, int column, const QDate &date);
    void Boolean(int row, int column, bool value);
    void ColumnWidth(int column, double characters);
    // The rows above `rows` stay in view while the sheet scrolls.
    void FreezeRows(int rows);

private:
    friend class TWorkbook;
    TWorksheet(TWorkbook &workbook, lxw_worksheet *sheet) : mWorkbook(&workbook), mSheet(sheet) {}

    TWorkbook *mWorkbook;
    lxw_worksheet *mSheet;
};

// A spreadsheet workbook (.xlsx) put together in a private temporary folder and then handed
// to the safe writer, so that the target is never half-written. RowByRow keeps one row of
// each sheet in memory and needs every sheet written row after row, as a long summary is.
// Texts lose the control characters a spreadsheet cannot hold and are cut at its 32,767
// characters.
class TWorkbook
{
public:
    enum class TMemory
    {
        Whole,
        RowByRow
    };

    // EInOutError when the temporary folder cannot be made.
    explicit TWorkbook(TMemory memory = TMemory::Whole);
    ~TWorkbook();
    TWorkbook(const TWorkbook &) = delete;
    TWorkbook &operator=(const TWorkbook &) = delete;

    TWorksheet AddSheet(const QString &name);

    // Finish the workbook and append its bytes to `file` (then Finish it; the caller
    // commits), or return them. Either may be called once. EInOutError with a reason that
    // follows a colon when the workbook cannot be finished.
    void WriteTo(TSafeFileWriter &file);
    QByteArray Bytes();

private:
    friend class TWorksheet;
    lxw_format *DecimalsFormat(std::optional<int> decimals);
    lxw_format *DateFormat();
    lxw_format *HeadingFormat();
    lxw_format *BooleanFormat();
    void Close();
    void Check(int error) const; // a libxlsxwriter error code
    [[noreturn]] void Refuse(int error) const;

    struct TPrivate;
    std::unique_ptr<TPrivate> d;
};
