#include "SummaryCommand.h"
#include "files/RunJson.h"

#include "core/Exceptions.h"
#include "core/MarnovelUtils.h"
#include "core/Tool.h"
#include "files/ExportTexts.h"
#include "files/RunSession.h"
#include "workbook/Workbook.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

QString Quoted(const QString &fileName)
{
    return u'"' + fileName + u'"';
}

// What the first pass keeps of a file: enough to put it in its place.
struct TRunToSummarise
{
    QString file;
    QDate runDate;
    QString runNumber;
};

// Run numbers are usually whole numbers ("2" before "10"); others compare as texts.
int CompareRunNumbers(const QString &a, const QString &b)
{
    bool aNumber = false;
    bool bNumber = false;
    const qlonglong aValue = a.toLongLong(&aNumber);
    const qlonglong bValue = b.toLongLong(&bNumber);
    if (aNumber && bNumber && aValue != bValue)
        return aValue < bValue ? -1 : 1;
    return a.compare(b);
}

bool RunsInOrder(const TRunToSummarise &a, const TRunToSummarise &b)
{
    if (a.runDate != b.runDate)
        return a.runDate < b.runDate;
    if (const int byNumber = CompareRunNumbers(a.runNumber, b.runNumber); byNumber != 0)
        return byNumber < 0;
    return a.file < b.file;
}

// The run date and number from the head of a run file, without loading the plate and its
// blocks; nothing for a file without an ISO run date there (an old file's date, a file that is
// not a run file), which the full load then orders or refuses.
std::optional<TRunToSummarise> RunHead(const QString &file)
{
    QString text;
    try {
        text = DecodeText(ReadWholeFile(file));
    } catch (const MarnovelException &) {
        return std::nullopt;
    }
    if (!text.startsWith(u"[GeneralInfo]"_s))
        return std::nullopt;
    const qsizetype nextSection = text.indexOf(u"\n["_s);
    const QStringView head = QStringView(text).left(nextSection < 0 ? text.size() : nextSection);
    const auto value = [&](QStringView key) -> std::optional<QString> {
        const qsizetype at = head.indexOf(QString(u'\n' + key.toString() + u'='));
        if (at < 0)
            return std::nullopt;
        const qsizetype start = at + key.size() + 2;
        qsizetype end = head.indexOf(u'\n', start);
        return head.mid(start, (end < 0 ? head.size() : end) - start).trimmed().toString();
    };
    const std::optional<QString> date = value(u"RunDateI18n");
    QDate runDate;
    try {
        runDate = date ? DateFromIsoParts(*date) : QDate();
    } catch (const MarnovelException &) {
        return std::nullopt;
    }
    if (!runDate.isValid())
        return std::nullopt;
    return TRunToSummarise{file, runDate, value(u"RunNumber").value_or(QString())};
}

// A refusal names the file even where the step's reason does not.
QString FailureText(const QString &file, const TRunStepResult &step)
{
    return step.FileName.isEmpty() ? Quoted(file) + u": "_s + step.Reason : StepFailureText(step);
}

// The shortest text that reads back as the same double, "." as decimal point.
QString NumberText(const QJsonValue &value)
{
    return value.isDouble() ? QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest)
                            : QString();
}

const QStringList &FlagNames()
{
    static const QStringList names{u"aboveRange"_s, u"nonNumericalOd"_s, u"notSpecified"_s,
                                   u"belowLowestStandard"_s, u"aboveHighestStandard"_s};
    return names;
}

const QStringList &ColumnNames()
{
    static const QStringList names{u"file"_s,     u"run date"_s,      u"run number"_s, u"kit batch"_s,
                                   u"operator"_s, u"run valid"_s,     u"subject ID"_s, u"wells"_s,
                                   u"ODs"_s,      u"concentration"_s, u"result"_s,     u"flags"_s};
    return names;
}

// A row's cells as the table and the CSV show them: several wells and ODs joined by "; ",
// the concentration unrounded, the flags as the result's marks and the names of the JSON's
// flags that hold.
QStringList RowCells(const QJsonObject &row)
{
    QStringList wells;
    QStringList ods;
    for (const QJsonValue &well : row.value(u"wells"_s).toArray()) {
        wells << well[u"well"_s].toString();
        ods << NumberText(well[u"od"_s]);
    }
    QStringList flags;
    for (const QJsonValue &mark : row.value(u"marks"_s).toArray())
        flags << mark.toString();
    for (const QString &flag : FlagNames())
        if (row.value(flag).toBool())
            flags << flag;
    return {row.value(u"file"_s).toString(),
            row.value(u"runDate"_s).toString(),
            row.value(u"runNumber"_s).toString(),
            row.value(u"kitBatchNumber"_s).toString(),
            row.value(u"operator"_s).toString(),
            row.value(u"valid"_s).toBool() ? u"valid"_s : u"invalid"_s,
            row.value(u"id"_s).toString(),
            wells.join(u"; "_s),
            ods.join(u"; "_s),
            NumberText(row.value(u"valueExact"_s)),
            row.value(u"result"_s).toString(),
            flags.join(u' ')};
}

QString CsvLine(const QStringList &cells)
{
    QStringList fields;
    for (const QString &cell : cells)
        fields << CsvField(cell);
    return fields.join(u',') + u"\r\n"_s;
}

// The workbook's sheet "Summary": the CSV's columns with the run date a date, run valid a
// boolean, the concentration a number, and the ODs last, one number a column, because a run
// with more wells a sample than the first would otherwise shift the columns after them. Rows
// go to the workbook's temporary files as they come, so that memory stays the same however
// many runs there are; the OD headings are those of the first run's samples.
class TSummaryWorkbook
{
public:
    TSummaryWorkbook() : mWorkbook(TWorkbook::TMemory::RowByRow), mSheet(mWorkbook.AddSheet(u"Summary"_s)) {}

    void AddRows(const QList<QJsonObject> &rows)
    {
        if (mRow == 0)
            Headings(rows);
        for (const QJsonObject &row : rows) {
            const QStringList cells = RowCells(row);
            const int r = mRow++;
            for (int col : {0, 2, 3, 4, 6, 7, 10, 11})
                mSheet.Text(r, kColumn[col], cells.at(col));
            mSheet.Date(r, kColumn[1], QDate::fromString(row.value(u"runDate"_s).toString(), Qt::ISODate));
            mSheet.Boolean(r, kColumn[5], row.value(u"valid"_s).toBool());
            const QJsonValue value = row.value(u"valueExact"_s);
            mSheet.Number(r, kColumn[9],
                          value.isDouble() ? std::optional<double>(value.toDouble()) : std::nullopt);
            const QJsonArray wells = row.value(u"wells"_s).toArray();
            for (qsizetype i = 0; i < wells.size(); ++i) {
                const QJsonValue od = wells.at(i)[u"od"_s];
                mSheet.Number(r, kOdColumn + static_cast<int>(i),
                              od.isDouble() ? std::optional<double>(od.toDouble()) : std::nullopt);
            }
        }
    }

    void WriteTo(TSafeFileWriter &file)
    {
        if (mRow == 0)
            Headings({});
        mWorkbook.WriteTo(file);
    }

private:
    // Where each of ColumnNames() goes; "ODs" (8) moves to the end.
    static constexpr int kColumn[] = {0, 1, 2, 3, 4, 5, 6, 7, -1, 8, 9, 10};
    static constexpr int kOdColumn = 11;

    void Headings(const QList<QJsonObject> &firstRun)
    {
        const QStringList &names = ColumnNames();
        for (int col = 0; col < names.size(); ++col)
            if (kColumn[col] >= 0)
                mSheet.Heading(0, kColumn[col], names.at(col));
        qsizetype ods = 1;
        for (const QJsonObject &row : firstRun)
            ods = std::max(ods, row.value(u"wells"_s).toArray().size());
        for (int i = 0; i < ods; ++i)
            mSheet.Heading(0, kOdColumn + i, u"OD %1"_s.arg(i + 1));
        mSheet.ColumnWidth(kColumn[0], 24);
        mSheet.ColumnWidth(kColumn[1], 11);
        mSheet.FreezeRows(1);
        mRow = 1;
    }

    TWorkbook mWorkbook;
    TWorksheet mSheet;
    int mRow = 0;
};

// Where the rows go, in the format asked for: Start opens the JSON document or writes the CSV
// header, AddRun writes one run's rows (the table: one table per run), Finish closes them.
class TSummaryWriter
{
public:
    TSummaryWriter(const TCliOptions &options, const std::function<bool(const QByteArray &)> &writeOut)
        : mOptions(options), mWriteOut(writeOut)
    {
        if (!options.csvFile.isEmpty() && options.csvFile != u"-")
            mFile = std::make_unique<TSafeFileWriter>(options.csvFile);
        if (!options.workbookFile.isEmpty()) {
            mFile = std::make_unique<TSafeFileWriter>(options.workbookFile);
            mWorkbook = std::make_unique<TSummaryWorkbook>();
        }
    }

    // False when standard output cannot be written; EInOutError for the file.
    bool Start()
    {
        if (mWorkbook) {
            mFile->Append(QByteArray()); // a missing folder is named before the first run is read
            return true;
        }
        if (mOptions.json)
            return Put(
                u"{\n  \"schemaVersion\": %1,\n  \"rows\": ["_s.arg(SummaryJsonSchemaVersion).toUtf8());
        if (!mOptions.csvFile.isEmpty()) {
            // A spreadsheet takes a file as UTF-8 by its byte-order mark, as the text exports have it.
            const QByteArray header = CsvLine(ColumnNames()).toUtf8();
            return Put(mFile ? ExportFileBytes(QString()) + header : header);
        }
        return true;
    }

    bool AddRun(const QList<QJsonObject> &rows)
    {
        if (mWorkbook) {
            mWorkbook->AddRows(rows);
            return true;
        }
        QByteArray bytes;
        if (mOptions.json) {
            for (const QJsonObject &row : rows) {
                bytes += (mRows++ == 0 ? "\n    " : ",\n    ");
                bytes += QJsonDocument(row).toJson(QJsonDocument::Compact);
            }
        } else if (!mOptions.csvFile.isEmpty()) {
            for (const QJsonObject &row : rows)
                bytes += CsvLine(RowCells(row)).toUtf8();
        } else {
            QList<QStringList> table{ColumnNames()};
            for (const QJsonObject &row : rows)
                table << RowCells(row);
            bytes = ((mRows++ == 0 ? QString() : u"\n"_s) + TableText(table)).toUtf8();
        }
        return Put(bytes);
    }

    bool Finish()
    {
        if (mOptions.json && !Put(mRows == 0 ? "]\n}\n" : "\n  ]\n}\n"))
            return false;
        if (mWorkbook)
            mWorkbook->WriteTo(*mFile);
        else if (mFile)
            mFile->Finish();
        return true;
    }

    std::unique_ptr<TSafeFileWriter> TakeFile() { return std::move(mFile); }

private:
    bool Put(const QByteArray &bytes)
    {
        if (bytes.isEmpty())
            return true;
        if (mFile) {
            mFile->Append(bytes);
            return true;
        }
        return mWriteOut(bytes);
    }

    const TCliOptions &mOptions;
    const std::function<bool(const QByteArray &)> &mWriteOut;
    std::unique_ptr<TSafeFileWriter> mFile;
    std::unique_ptr<TSummaryWorkbook> mWorkbook;
    int mRows = 0; // JSON rows, or tables, written so far
};

// The run's rows: the run's details beside each object of calc --json's "results".
QList<QJsonObject> RunRows(const QString &file, const TRunSession &session)
{
    const TRunDetails &details = session.Details();
    QList<QJsonObject> rows;
    for (const QJsonValue &result : RunResultsJson(session)) {
        QJsonObject row{{u"file"_s, file},
                        {u"runDate"_s, details.RunDate.toString(Qt::ISODate)},
                        {u"runNumber"_s, details.RunNumber},
                        {u"kitBatchNumber"_s, details.KitBatchNumber},
                        {u"operator"_s, details.OperatorName},
                        {u"valid"_s, session.LastResult()->Valid}};
        const QJsonObject fields = result.toObject();
        for (auto field = fields.begin(); field != fields.end(); ++field)
            row.insert(field.key(), field.value());
        rows << row;
    }
    return rows;
}

} // namespace

QString CsvField(const QString &text)
{
    static const QRegularExpression number(u"^-?[0-9]+(\\.[0-9]+)?([eE][-+]?[0-9]+)?$"_s);
    QString field = text;
    if (!field.isEmpty() && u"=+-@\t\r"_s.contains(field.front()) && !number.match(field).hasMatch())
        field.prepend(u'\'');
    if (field.contains(u',') || field.contains(u'"') || field.contains(u'\n') || field.contains(u'\r') ||
        field.startsWith(u'\''))
        return u'"' + QString(field).replace(u"\""_s, u"\"\""_s) + u'"';
    return field;
}

TCalcOutcome RunSummaryCommand(const TCliOptions &options,
                               const std::function<bool(const QByteArray &)> &writeOut,
                               const std::function<void(const QString &)> &writeError)
{
    TCalcOutcome outcome;
    const auto refuse = [&](const QString &line, int status) {
        writeError(line);
        outcome.status = std::max(outcome.status, status);
    };
    const bool toWorkbook = !options.workbookFile.isEmpty();
    const QString output = toWorkbook ? options.workbookFile : options.csvFile;
    for (const QString &file : options.summaryFiles) {
        if (!output.isEmpty() && output != u"-" && IsSameFile(output, file)) {
            outcome.status = EXIT_USAGE_OR_LOAD;
            outcome.errorMessage =
                Quoted(output) + (toWorkbook ? u": --xlsx"_s : u": --csv"_s) +
                u" names a run data file being read; an output must not overwrite an input."_s;
            return outcome;
        }
    }

    // First pass: the run details alone, to put the runs in order.
    std::vector<TRunToSummarise> runs;
    for (const QString &file : options.summaryFiles) {
        if (std::optional<TRunToSummarise> head = RunHead(file)) {
            runs.push_back(*head);
            continue;
        }
        TRunSession session;
        if (const TRunStepResult step = session.LoadRun(file); !step.Ok()) {
            refuse(FailureText(file, step), StepFailureStatus(step));
            continue;
        }
        runs.push_back({file, session.Details().RunDate, session.Details().RunNumber});
    }
    std::stable_sort(runs.begin(), runs.end(), RunsInOrder);

    // Second pass: one run at a time, loaded again, calculated and written.
    std::unique_ptr<TSummaryWriter> writer;
    try {
        writer = std::make_unique<TSummaryWriter>(options, writeOut);
        bool written = writer->Start();
        for (const TRunToSummarise &run : runs) {
            if (!written)
                break;
            TRunSession session;
            TRunStepResult step = session.LoadRun(run.file);
            if (step.Ok())
                step = session.Calculate();
            if (!step.Ok()) {
                refuse(FailureText(run.file, step), StepFailureStatus(step));
                continue;
            }
            written = writer->AddRun(RunRows(run.file, session));
        }
        if (!written || !writer->Finish()) {
            outcome.status = EXIT_USAGE_OR_LOAD;
            return outcome;
        }
    } catch (const MarnovelException &error) {
        outcome.status = EXIT_USAGE_OR_LOAD;
        outcome.errorMessage =
            WriteFailureText(output, error.Reason().isEmpty() ? error.Message() : error.Reason());
        return outcome;
    }
    if (std::unique_ptr<TSafeFileWriter> file = writer->TakeFile())
        outcome.pendingFiles.push_back(std::move(file));
    return outcome;
}
