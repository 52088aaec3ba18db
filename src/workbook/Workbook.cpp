#include "workbook/Workbook.h"

#include "core/Exceptions.h"
#include "core/MarnovelUtils.h"
#include "core/TextIds.h"
#include "core/UiTextManager.h"

#include <QFile>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <map>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kMaxTextLength = 32767; // a spreadsheet cell's limit
constexpr int kMaxDecimals = 15;            // beyond a double's digits

// What a cell can hold: XML 1.0 has no place for most control characters, and a
// spreadsheet none for more than kMaxTextLength characters.
QByteArray CellText(const QString &text)
{
    QString clean;
    clean.reserve(std::min(text.size(), kMaxTextLength));
    for (qsizetype i = 0; i < text.size() && clean.size() < kMaxTextLength; ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || u == 0xFFFE || u == 0xFFFF)
            continue;
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            if (clean.size() + 2 > kMaxTextLength)
                break;
            clean.append(c);
            clean.append(text.at(++i));
        } else if (c.isSurrogate()) {
            clean.append(QChar::ReplacementCharacter); // alone, it has no UTF-8
        } else {
            clean.append(c);
        }
    }
    return clean.toUtf8();
}

} // namespace

struct TWorkbook::TPrivate
{
    QTemporaryDir folder;
    QByteArray fileName;
    QByteArray folderName;
    lxw_workbook *workbook = nullptr;
    std::map<int, lxw_format *> decimals; // -1: general
    lxw_format *date = nullptr;
    lxw_format *heading = nullptr;
    lxw_format *boolean = nullptr;
    bool closed = false;
};

TWorkbook::TWorkbook(TMemory memory) : d(std::make_unique<TPrivate>())
{
    if (!d->folder.isValid())
        throw EInOutError(UiText(TextId::WorkbookNotAssembled).arg(d->folder.errorString()),
                          UiText(TextId::WorkbookNotAssembled).arg(d->folder.errorString()));
    d->folderName = QFile::encodeName(d->folder.path());
    d->fileName = QFile::encodeName(d->folder.filePath(u"workbook.xlsx"_s));
    lxw_workbook_options options{};
    options.constant_memory = memory == TMemory::RowByRow ? 1 : 0;
    options.tmpdir = d->folderName.data();
    options.use_zip64 = 1;
    d->workbook = workbook_new_opt(d->fileName.constData(), &options);
    if (d->workbook == nullptr)
        Refuse(LXW_ERROR_MEMORY_MALLOC_FAILED);
}

TWorkbook::~TWorkbook()
{
    // An unfinished workbook still owns its memory; closing it writes into the private
    // folder, which goes with it.
    if (!d->closed && d->workbook != nullptr)
        workbook_close(d->workbook);
}

void TWorkbook::Refuse(int error) const
{
    // The library's failures are mostly the system's: a full or missing temporary folder.
    const int systemError = errno;
    const QString detail = systemError != 0 ? SystemErrorReason(systemError)
                                            : QString::fromUtf8(lxw_strerror(static_cast<lxw_error>(error)));
    const QString reason = UiText(TextId::WorkbookNotAssembled).arg(detail);
    throw EInOutError(reason, reason);
}

TWorksheet TWorkbook::AddSheet(const QString &name)
{
    lxw_worksheet *sheet = workbook_add_worksheet(d->workbook, CellText(name).constData());
    if (sheet == nullptr)
        Refuse(LXW_ERROR_SHEETNAME_ALREADY_USED);
    return TWorksheet(*this, sheet);
}

lxw_format *TWorkbook::DecimalsFormat(std::optional<int> decimals)
{
    const int key = decimals ? std::clamp(*decimals, 0, kMaxDecimals) : -1;
    auto found = d->decimals.find(key);
    if (found != d->decimals.end())
        return found->second;
    lxw_format *format = nullptr;
    if (key >= 0) {
        format = workbook_add_format(d->workbook);
        const QByteArray pattern = key == 0 ? QByteArray("0") : "0." + QByteArray(key, '0');
        format_set_num_format(format, pattern.constData());
    }
    d->decimals.emplace(key, format);
    return format;
}

lxw_format *TWorkbook::DateFormat()
{
    if (d->date == nullptr) {
        d->date = workbook_add_format(d->workbook);
        format_set_num_format(d->date, "yyyy-mm-dd");
    }
    return d->date;
}

// Some spreadsheets show a boolean without a format as 0 or 1; this one reads TRUE or FALSE
// in all of them.
lxw_format *TWorkbook::BooleanFormat()
{
    if (d->boolean == nullptr) {
        d->boolean = workbook_add_format(d->workbook);
        format_set_num_format(d->boolean, "\"TRUE\";\"TRUE\";\"FALSE\"");
    }
    return d->boolean;
}

lxw_format *TWorkbook::HeadingFormat()
{
    if (d->heading == nullptr) {
        d->heading = workbook_add_format(d->workbook);
        format_set_bold(d->heading);
    }
    return d->heading;
}

void TWorkbook::Close()
{
    if (d->closed)
        throw EInOutError(u"The workbook was already written."_s);
    d->closed = true;
    errno = 0;
    if (const lxw_error error = workbook_close(d->workbook); error != LXW_NO_ERROR)
        Refuse(error);
}

void TWorkbook::WriteTo(TSafeFileWriter &file)
{
    Close();
    QFile workbook(d->folder.filePath(u"workbook.xlsx"_s));
    errno = 0;
    if (!workbook.open(QIODevice::ReadOnly))
        Refuse(LXW_ERROR_CREATING_XLSX_FILE);
    constexpr qint64 kChunk = 1 << 20;
    while (!workbook.atEnd()) {
        const QByteArray chunk = workbook.read(kChunk);
        if (chunk.isEmpty())
            Refuse(LXW_ERROR_CREATING_XLSX_FILE);
        file.Append(chunk);
    }
    file.Finish();
}

QByteArray TWorkbook::Bytes()
{
    Close();
    QFile workbook(d->folder.filePath(u"workbook.xlsx"_s));
    errno = 0;
    if (!workbook.open(QIODevice::ReadOnly))
        Refuse(LXW_ERROR_CREATING_XLSX_FILE);
    QByteArray bytes = workbook.readAll();
    if (bytes.size() != workbook.size())
        Refuse(LXW_ERROR_CREATING_XLSX_FILE);
    return bytes;
}

void TWorkbook::Check(int error) const
{
    if (error != LXW_NO_ERROR)
        Refuse(error);
}

void TWorksheet::Text(int row, int column, const QString &text)
{
    if (!text.isEmpty())
        mWorkbook->Check(worksheet_write_string(mSheet, static_cast<lxw_row_t>(row),
                                                static_cast<lxw_col_t>(column), CellText(text).constData(),
                                                nullptr));
}

void TWorksheet::Heading(int row, int column, const QString &text)
{
    mWorkbook->Check(worksheet_write_string(mSheet, static_cast<lxw_row_t>(row),
                                            static_cast<lxw_col_t>(column), CellText(text).constData(),
                                            mWorkbook->HeadingFormat()));
}

void TWorksheet::Number(int row, int column, std::optional<double> value, std::optional<int> decimals)
{
    if (value && std::isfinite(*value))
        mWorkbook->Check(worksheet_write_number(mSheet, static_cast<lxw_row_t>(row),
                                                static_cast<lxw_col_t>(column), *value,
                                                mWorkbook->DecimalsFormat(decimals)));
}

void TWorksheet::Date(int row, int column, const QDate &date)
{
    if (!date.isValid())
        return;
    // The spreadsheet's calendar starts in 1900 and ends with 9999.
    if (date.year() < 1900 || date.year() > 9999) {
        Text(row, column, date.toString(Qt::ISODate));
        return;
    }
    lxw_datetime when{date.year(), date.month(), date.day(), 0, 0, 0.0};
    mWorkbook->Check(worksheet_write_datetime(
        mSheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column), &when, mWorkbook->DateFormat()));
}

void TWorksheet::Boolean(int row, int column, bool value)
{
    mWorkbook->Check(worksheet_write_boolean(mSheet, static_cast<lxw_row_t>(row),
                                             static_cast<lxw_col_t>(column), value ? 1 : 0,
                                             mWorkbook->BooleanFormat()));
}

void TWorksheet::ColumnWidth(int column, double characters)
{
    mWorkbook->Check(worksheet_set_column(mSheet, static_cast<lxw_col_t>(column),
                                          static_cast<lxw_col_t>(column), characters, nullptr));
}

void TWorksheet::FreezeRows(int rows)
{
    worksheet_freeze_panes(mSheet, static_cast<lxw_row_t>(rows), 0);
}
