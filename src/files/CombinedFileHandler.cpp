#include "files/CombinedFileHandler.h"

#include "core/Exceptions.h"
#include "core/MarnovelConfigManager.h"
#include "core/MarnovelUtils.h"
#include "core/RegionalSettings.h"
#include "core/SoftwareInfoManager.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "files/BlockIO.h"
#include "plate/CellBlockRect.h"
#include "plate/CellColl.h"
#include "plate/MarnovelPanels.h"
#include "plate/TextGrid.h"
#include "run/MarnovelData.h"
#include "run/RunCalculation.h"

#include <QFileInfo>
#include <QHash>
#include <QPoint>
#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

const QString GeneralInfoSection = u"GeneralInfo"_s;
const QString KeyMissingMarker = u"ERRORREADINGKEY"_s;
const QString NotSpecifiedInFile = u"VALUE_NOT_SPECIFIED"_s;
const QString LoadWhere = u"TCombinedFileHandler.LoadFromFiletext"_s;

// More sections than a plate can hold wells and blocks for: the file is not ours.
constexpr int MaxSections = 1000;

// Catalogue texts of refused files.

QString FileParameter(const QString &fileName)
{
    return u"pFileName="_s + fileName;
}

// Load errors carry their reason alone as well, for reports that name the file themselves.
[[noreturn]] void RaiseLoadError(const QString &fileName, const QString &reason)
{
    throw EConvertError(BuildExceptionMessage(LoadWhere, FileParameter(fileName), reason), reason);
}

[[noreturn]] void RaiseRangeError(const QString &fileName, const QString &reason)
{
    throw ERangeError(BuildExceptionMessage(LoadWhere, FileParameter(fileName), reason), reason);
}

// A value written into one line of the file: a line break would split the line.
QString OneLine(QString text)
{
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

// Run details and block identifiers go into exports, report pages and a terminal as they
// are: no control character may reach them, from a file or from an edit.
QString DetailText(const QString &text)
{
    return ReplaceControlChars(text);
}

// The grid size the record gives, unless it is missing, too small for the plate text
// written below it, or not a plate's size: a saved file must always load again.
bool IsPlateGridRowCount(int rows)
{
    return rows == 0 || rows == 1 || rows == PlateGridRowCount;
}
bool IsPlateGridColumnCount(int cols)
{
    return cols >= 0 && cols <= PlateGridColumnCount;
}

QString GridSize(const QString &recorded, int extent, bool (*isPlateSize)(int))
{
    int value = 0;
    if (TryTextToInt(recorded, value) && value >= extent && isPlateSize(value))
        return QString::number(value);
    return QString::number(isPlateSize(extent) ? extent : 0);
}

// Section look-up over the lines of a file. Each section header is found once, and the
// shared key look-up runs on that section's lines only, so a large file costs linear time.
class TSectionIndex
{
public:
    explicit TSectionIndex(const QStringList &lines) : mLines(lines)
    {
        qsizetype open = -1;
        QString openName;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (!lines.at(i).startsWith(u'['))
                continue;
            if (open >= 0 && !mRanges.contains(openName))
                mRanges.insert(openName, {open, i});
            open = i;
            openName = lines.at(i).toLower();
        }
        if (open >= 0 && !mRanges.contains(openName))
            mRanges.insert(openName, {open, lines.size()});
    }

    bool HasSection(const QString &section) const { return mRanges.contains(Header(section)); }

    QString Value(const QString &section, const QString &key, const QString &defaultValue) const
    {
        const auto range = mRanges.constFind(Header(section));
        if (range == mRanges.constEnd())
            return defaultValue;
        return GetSectionValue(mLines.mid(range->first, range->second - range->first), section, key,
                               defaultValue);
    }

private:
    static QString Header(const QString &section) { return (u'[' + section + u']').toLower(); }

    const QStringList &mLines;
    QHash<QString, std::pair<qsizetype, qsizetype>> mRanges;
};

int ReadInteger(const QString &fileName, const QString &section, const QString &key, const QString &text)
{
    int value = 0;
    if (!TryTextToInt(text, value))
        RaiseLoadError(fileName, u"'%1' is not a valid integer value (key %2 of section [%3])."_s.arg(
                                     text, key, section));
    return value;
}

} // namespace

// Everything a load takes from the file, checked, before anything is applied.
struct TStagedFileLoad
{
    struct TWell
    {
        QPoint Cell;
        int LabelId = 0;
    };
    struct TBlock
    {
        bool IsStandard = false;
        QString Id; // run data files only
        TCriteriaType CriteriaType = CT_CORVEX_TWO;
        int FixedId = 0;
        std::vector<TWell> Wells;
    };

    TCurveType CurveType = CURVE_8POINT;
    std::optional<QList<double>> StdConc;
    QDate RunDate;
    QString RunNumber, KitBatchNumber, Operator, DataRows, DataCols;
    std::vector<TBlock> Blocks;
    TTextGrid Grid;        // the plate as read from the file, grid coordinates
    TStringGridData Table; // plate text, outer index = row

    // What each well of the plate was read as so far, grid coordinates.
    enum class TClaim : unsigned char
    {
        None,
        PlainCell,
        BlockWell
    };
    std::array<std::array<TClaim, PlateGridRowCount>, PlateGridColumnCount> Claims{};
};

TCombinedFileHandler::TCombinedFileHandler() = default;
TCombinedFileHandler::~TCombinedFileHandler() = default;

TMarnovelData &TCombinedFileHandler::Data() const
{
    if (mRunData)
        return *mRunData;
    if (mSystemInfo && mSystemInfo->mData)
        return *mSystemInfo->mData;
    throw MarnovelException(BuildExceptionMessage(u"TCombinedFileHandler.Data"_s, QString(),
                                                  u"No run data object is attached to the file handler."_s));
}

// ---- writing ------------------------------------------------------------------------------

QStringList TCombinedFileHandler::BuildFileText(bool pWithData) const
{
    const TMarnovelData &data = Data();
    QStringList lines;
    lines << u"[GeneralInfo]"_s;
    lines << u"Software version="_s + GetSoftwareInfoManager().GetVersNumberStr();
    lines << u"CurveType="_s + QString::number(data.GetCurveType() == CURVE_8POINT ? 1 : 0);
    // The plate text the file declares; a format file's readers take a whole plate.
    int gridRows = PlateGridRowCount;
    int gridCols = PlateGridColumnCount;
    if (pWithData) {
        if (!mSystemInfo)
            throw MarnovelException(BuildExceptionMessage(u"TCombinedFileHandler.SaveDataAndFormat"_s,
                                                          QString(), u"No run details to save."_s));
        const TSystemInfo &info = *mSystemInfo;
        if (!info.RunDate.isValid() || info.RunDate.year() < 1 || info.RunDate.year() > 9999)
            throw EConvertError(BuildExceptionMessage(u"TCombinedFileHandler.SaveDataAndFormat"_s, QString(),
                                                      u"The run details hold no valid run date."_s));
        const QString rowsText =
            GridSize(info.UserInfoValue(info.RawDataRowsName()), data.YExtent(), IsPlateGridRowCount);
        const QString colsText =
            GridSize(info.UserInfoValue(info.RawDataColsName()), data.XExtent(), IsPlateGridColumnCount);
        gridRows = rowsText.toInt();
        gridCols = colsText.toInt();
        lines << u"RunDateI18n="_s + IsoDateText(info.RunDate);
        lines << u"RunNumber="_s + DetailText(info.UserInfoValue(info.RunNumberName()));
        lines << u"KitBatchNumber="_s + DetailText(info.UserInfoValue(info.KitBatchNumberName()));
        lines << u"Operator="_s + DetailText(info.UserInfoValue(info.OperatorName()));
        lines << u"DataRows="_s + rowsText;
        lines << u"DataCols="_s + colsText;
        lines << u"DecimalSeperator="_s + QString(GetRegionalDecimalSeparator());
        QStringList concs;
        for (const float conc : data.StdConc())
            concs << FormatFixed(conc, 3);
        lines << u"StdConc="_s + concs.join(u'|');
    }
    lines << QString();

    const QString notSpecified = UiText(TextId::NotSpecified);
    int section = 0;
    const auto writeBlocks = [&](const OWCells &cells) {
        for (const auto &block : cells.Blocks()) {
            lines << u"[Cell%1]"_s.arg(section++);
            const auto wells = block->block();
            for (int i = 0; i < static_cast<int>(wells.size()); ++i) {
                const OWCellBlockElm &well = wells[i];
                QString text;
                if (well.mCell.x() >= gridCols || well.mCell.y() >= gridRows) {
                    // Outside the plate text the file declares: a value there would make
                    // the file inconsistent (a value left from an earlier, wider plate).
                } else if (i < block->ValueCount()) {
                    text = block->getValidityValue(i) == ValueNotSpecified ? NotSpecifiedInFile
                                                                           : block->getRawValue(i);
                } else {
                    // Never read from the grid (not calculated yet): what the grid shows.
                    text = data.PlateText(well.mCell.x() - 1, well.mCell.y() - 1);
                    if (text == notSpecified)
                        text = NotSpecifiedInFile;
                }
                lines << u"Point%1=%2|%3|%4|%5"_s.arg(i)
                             .arg(well.mCell.x())
                             .arg(well.mCell.y())
                             .arg(well.fID)
                             .arg(OneLine(text));
            }
            lines << u"CriteriaType="_s + QString::number(int(block->GetCriteriaType()));
            lines << u"FixedID="_s + QString::number(block->FixedID());
            lines << u"ID="_s + DetailText(block->id());
            lines << u"BlockType="_s + (block->getIsStandard() ? u"1"_s : u"0"_s);
            lines << QString();
        }
    };
    writeBlocks(data.RawData());
    writeBlocks(data.StdBlocks());

    if (data.ExtentsValid()) {
        for (int col = 1; col < data.XExtent(); ++col) {
            for (int row = 1; row < data.YExtent(); ++row) {
                if (data.cellAtPoint(QPoint(col, row)))
                    continue;
                const QString text = data.PlateText(col - 1, row - 1);
                lines << u"[Cell%1]"_s.arg(section++);
                lines << u"Point0=%1|%2|-1|%3"_s.arg(col).arg(row).arg(text.isEmpty() ? u"0"_s
                                                                                      : OneLine(text));
                lines << u"BlockType=2"_s;
            }
        }
    }
    return lines;
}

namespace {

QByteArray Utf16FileBytes(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + u"\r\n"_s;
    QStringEncoder encoder(QStringConverter::Utf16LE);
    QByteArray bytes("\xFF\xFE", 2);
    bytes += QByteArray(encoder(text));
    return bytes;
}

} // namespace

QByteArray TCombinedFileHandler::FormatFileBytes() const
{
    return Utf16FileBytes(BuildFileText(false));
}

QByteArray TCombinedFileHandler::DataAndFormatFileBytes() const
{
    return Utf16FileBytes(BuildFileText(true));
}

void TCombinedFileHandler::SaveFormat(const QString &pFileName)
{
    mFileHandlerState = FILE_SAVEFORMAT;
    WriteFileAtomically(pFileName, FormatFileBytes());
}

void TCombinedFileHandler::SaveDataAndFormat(const QString &pFileName)
{
    mFileHandlerState = FILE_SAVEFORMATANDDATA;
    WriteFileAtomically(pFileName, DataAndFormatFileBytes());
}

// ---- reading ------------------------------------------------------------------------------

TFileLoadResult TCombinedFileHandler::LoadFormat(const QString &pFileName)
{
    mFileHandlerState = FILE_LOADFORMAT;
    return Load(pFileName, false);
}

TFileLoadResult TCombinedFileHandler::LoadDataAndFormat(const QString &pFileName)
{
    mFileHandlerState = FILE_LOADFORMATANDDATA;
    return Load(pFileName, true);
}

namespace {

// "col|row|label|text"; a value without "|" is an older comma-separated one. A text that
// itself holds the separator is kept whole.
QStringList SplitPoint(const QString &value)
{
    const QChar separator = value.contains(u'|') ? u'|' : u',';
    QStringList fields = value.split(separator);
    if (fields.size() > 4) {
        const QString text = fields.mid(3).join(separator);
        fields.resize(3);
        fields << text;
    }
    return fields;
}

struct TPointFields
{
    QPoint Cell;
    int LabelId = 0;
    QString Text;
};

TPointFields ReadPoint(const QString &fileName, const QString &section, const QString &key,
                       const QString &value)
{
    const QStringList fields = SplitPoint(value);
    if (fields.size() < 4) {
        const QString reason =
            u"Key %1 of section [%2] is missing or does not hold column, row, label and text."_s.arg(key,
                                                                                                     section);
        throw EListError(BuildExceptionMessage(LoadWhere, FileParameter(fileName), reason), reason);
    }
    TPointFields point;
    point.Cell = QPoint(ReadInteger(fileName, section, key, fields.at(0)),
                        ReadInteger(fileName, section, key, fields.at(1)));
    point.LabelId = ReadInteger(fileName, section, key, fields.at(2));
    point.Text = fields.at(3);
    return point;
}

void CheckCell(const QString &fileName, const QString &section, QPoint cell)
{
    const bool onPlate =
        cell.x() >= 1 && cell.x() <= PlateColumnCount && cell.y() >= 1 && cell.y() <= PlateRowCount;
    if (!onPlate)
        RaiseRangeError(
            fileName,
            u"The well (%1, %2) of section [%3] lies outside the plate."_s.arg(cell.x()).arg(cell.y()).arg(
                section));
}

// Plate cells, and the texts of block wells, must lie in the plate text the file declares
// (DataCols x DataRows): a text outside would be dropped and its well calculated as
// non-numerical. A block's well without a text may lie outside: a layout wider than its
// plate is saved as it stands.
void CheckInPlateText(const QString &fileName, const QString &section, const QString &key,
                      const TPointFields &point, const ITextGrid &grid, bool blockWell)
{
    if ((blockWell && point.Text.isEmpty()) ||
        (point.Cell.x() < grid.ColCount() && point.Cell.y() < grid.RowCount()))
        return;
    RaiseRangeError(fileName,
                    u"The file is inconsistent: key %1 of section [%2] holds a value for the well (%3, %4), "
                    u"outside the plate text of DataCols=%5 and DataRows=%6."_s.arg(key, section)
                        .arg(point.Cell.x())
                        .arg(point.Cell.y())
                        .arg(grid.ColCount())
                        .arg(grid.RowCount()));
}

// A well of a block belongs to that block alone: a second block or a plain cell on it
// would make the last text read the value of both. Plain cells may repeat one another.
void ClaimWell(const QString &fileName, QPoint cell, bool blockWell, TStagedFileLoad &staged)
{
    using TClaim = TStagedFileLoad::TClaim;
    TClaim &claim = staged.Claims[static_cast<std::size_t>(cell.x())][static_cast<std::size_t>(cell.y())];
    if (claim == TClaim::BlockWell || (blockWell && claim != TClaim::None))
        RaiseRangeError(fileName, UiText(TextId::WellClaimedTwice).arg(WellName(cell)));
    if (blockWell)
        claim = TClaim::BlockWell;
    else
        claim = TClaim::PlainCell;
}

void StoreText(TStringGridData &table, QPoint cell, const QString &text)
{
    const int row = cell.y() - 1;
    const int col = cell.x() - 1;
    if (row >= 0 && row < table.size() && col >= 0 && col < table.at(row).size())
        table[row][col] = text;
}

} // namespace

namespace {

// Files that would otherwise load as an empty layout or fail on their run date. Our files
// never hold NUL characters: without a byte-order mark the text is then binary, or UTF-16
// without its mark. A run data file always has a run date key, old ones "RunDate".
QString NotOurFileReason(const QString &text, bool hasByteOrderMark, const TSectionIndex &file,
                         bool pWithData)
{
    if (text.trimmed().isEmpty())
        return u"The file is empty."_s;
    if (text.contains(QChar(0)) && hasByteOrderMark)
        return UiText(TextId::NulInMarkedText);
    if (text.contains(QChar(0)))
        return u"The file is not a text file of this program (UTF-16 text needs its byte-order mark)."_s;
    if (!file.HasSection(GeneralInfoSection))
        return u"The file is not a run data or format file: it has no [GeneralInfo] section."_s;
    if (pWithData && file.Value(GeneralInfoSection, u"RunDateI18n"_s, KeyMissingMarker) == KeyMissingMarker &&
        file.Value(GeneralInfoSection, u"RunDate"_s, KeyMissingMarker) == KeyMissingMarker)
        return u"The file is not a run data file: its header holds no run date (a format file?)."_s;
    return QString();
}

} // namespace

namespace {

// The steps of Load, in the order it takes them. Each reads part of the file into the
// staged load or refuses the file; nothing outside the staged load changes.

struct TLoadText
{
    QString Text;
    bool HasByteOrderMark = false;
};

// The text of a file that can be one of ours.
TLoadText ReadLoadText(const QString &fileName)
{
    QString problem = InputFileProblem(fileName);
    if (problem.isEmpty() && QFileInfo(fileName).size() > TCombinedFileHandler::MaxFileBytes)
        problem = u"The file is too large to be a run data or format file."_s;
    if (!problem.isEmpty())
        throw EInOutError(BuildExceptionMessage(LoadWhere, FileParameter(fileName), problem), problem);
    const QByteArray bytes = ReadWholeFile(fileName);
    return {DecodeText(bytes), HasByteOrderMark(bytes)};
}

struct THeaderRead
{
    QChar DecimalSeparator = QLatin1Char(' '); // as the run data file writes its values
    QChar DateSeparator = QLatin1Char(' ');    // of an old run date
    bool DateNotConverted = false;
};

// The curve type; for a run data file also the run details, the run date and the standard
// concentrations.
THeaderRead ReadHeader(const TSectionIndex &file, const QString &fileName, bool withData,
                       TStagedFileLoad &staged)
{
    THeaderRead header;
    const QString curveText = file.Value(GeneralInfoSection, u"CurveType"_s, KeyMissingMarker);
    if (curveText != KeyMissingMarker) {
        const int curve = ReadInteger(fileName, GeneralInfoSection, u"CurveType"_s, curveText);
        if (!IsValidCurveType(curve))
            RaiseRangeError(fileName, u"CurveType %1 is not a known curve type."_s.arg(curve));
        staged.CurveType = static_cast<TCurveType>(curve);
    }
    if (!withData)
        return header;

    staged.RunNumber = DetailText(file.Value(GeneralInfoSection, u"RunNumber"_s, QString()));
    staged.KitBatchNumber = DetailText(file.Value(GeneralInfoSection, u"KitBatchNumber"_s, QString()));
    staged.Operator = DetailText(file.Value(GeneralInfoSection, u"Operator"_s, QString()));
    staged.DataRows = file.Value(GeneralInfoSection, u"DataRows"_s, QString());
    staged.DataCols = file.Value(GeneralInfoSection, u"DataCols"_s, QString());
    const QString decimalText = file.Value(GeneralInfoSection, u"DecimalSeperator"_s, QString());
    if (!decimalText.isEmpty())
        header.DecimalSeparator = decimalText.at(0);

    const QString isoDate = file.Value(GeneralInfoSection, u"RunDateI18n"_s, QString());
    if (!isoDate.isEmpty()) {
        const QString dateReason = u"RunDateI18n '%1' is not a date written yyyy-mm-dd."_s.arg(isoDate);
        // Three parts and nothing after them: "2026-12-09-01" is no date.
        if (isoDate.count(u'-') != 2)
            RaiseLoadError(fileName, dateReason);
        try {
            staged.RunDate = DateFromIsoParts(isoDate);
        } catch (const MarnovelException &) {
            RaiseLoadError(fileName, dateReason);
        }
    } else {
        const QString dateSeparatorText = file.Value(GeneralInfoSection, u"DateSeperator"_s, QString());
        if (!dateSeparatorText.isEmpty())
            header.DateSeparator = dateSeparatorText.at(0);
        const QString oldDate = file.Value(GeneralInfoSection, u"RunDate"_s, QString());
        header.DateNotConverted =
            ConvertDate(oldDate, header.DateSeparator, staged.RunDate) == DCR_CONVERTERROR;
    }

    const QString concText = file.Value(GeneralInfoSection, u"StdConc"_s, KeyMissingMarker);
    if (concText == KeyMissingMarker || concText.isEmpty())
        return header;
    std::vector<double> values;
    try {
        values = TextsToDoubles(concText.split(u'|'), header.DecimalSeparator);
    } catch (const EConvertError &) {
        const QString reason =
            u"Standards concentration string in run file could not be converted into standard concentration values."_s;
        throw EConvertError(BuildExceptionMessage(u"TCombinedFileHandler.LoadFromFiletext_Header"_s,
                                                  u"vStr="_s + concText + u", "_s + FileParameter(fileName),
                                                  reason),
                            reason);
    }
    // One concentration per standard: a 4-point file with eight would take S4's as its
    // zero standard's.
    const int standardCount = StandardCountOfCurveType(staged.CurveType);
    if (static_cast<int>(values.size()) != standardCount)
        RaiseRangeError(fileName, UiText(TextId::StdConcCount).arg(standardCount).arg(values.size()));
    for (const double value : values) {
        if (!std::isfinite(value) || !FitsSinglePrecision(value))
            RaiseRangeError(fileName, StdConcRangeText());
    }
    staged.StdConc = QList<double>(values.begin(), values.end());
    return header;
}

// The plate text the file declares: a run data file names its size (8 lines or none), a
// format file takes a whole plate.
void ReadPlateSize(const QString &fileName, bool withData, TStagedFileLoad &staged)
{
    int gridCols = PlateGridColumnCount;
    int gridRows = PlateGridRowCount;
    if (withData) {
        gridRows = ReadInteger(fileName, GeneralInfoSection, u"DataRows"_s, staged.DataRows);
        gridCols = ReadInteger(fileName, GeneralInfoSection, u"DataCols"_s, staged.DataCols);
        if (!IsPlateGridRowCount(gridRows))
            RaiseRangeError(fileName, u"DataRows %1 is not a plate's row count."_s.arg(gridRows));
        if (!IsPlateGridColumnCount(gridCols))
            RaiseRangeError(fileName, u"DataCols %1 is not a plate's column count."_s.arg(gridCols));
        staged.DataRows = QString::number(gridRows);
        staged.DataCols = QString::number(gridCols);
    }
    staged.Grid.SetColCount(gridCols);
    staged.Grid.SetRowCount(gridRows);
    if (gridRows > 1 && gridCols > 1) {
        staged.Table.resize(gridRows - 1);
        for (QStringList &row : staged.Table)
            row.resize(gridCols - 1);
    }
}

// A section that is no block: one plate cell and its text.
void ReadPlateCell(const TSectionIndex &file, const QString &fileName, const QString &section,
                   TStagedFileLoad &staged)
{
    const TPointFields point =
        ReadPoint(fileName, section, u"Point0"_s, file.Value(section, u"Point0"_s, QString()));
    CheckCell(fileName, section, point.Cell);
    CheckInPlateText(fileName, section, u"Point0"_s, point, staged.Grid, false);
    ClaimWell(fileName, point.Cell, false, staged);
    staged.Grid.SetCell(point.Cell.x(), point.Cell.y(), point.Text);
    StoreText(staged.Table, point.Cell, point.Text);
}

struct TSectionReading
{
    bool WithData = false;
    QChar DecimalSeparator; // ' ': the values are read as written
    TCriteriaTypes Allowed; // the sample layouts of the edition
};

// A block section: its wells with their labels and texts. False for a sample layout the
// edition does not allow.
bool ReadBlock(const TSectionIndex &file, const QString &fileName, const QString &section, bool isStandard,
               const TSectionReading &reading, TStagedFileLoad &staged)
{
    TStagedFileLoad::TBlock block;
    block.IsStandard = isStandard;
    if (reading.WithData)
        block.Id = DetailText(file.Value(section, u"ID"_s, u"0"_s));
    const QList<TStdDisplayRec> *labels = nullptr;
    if (block.IsStandard) {
        labels = &StandardsOfCurveType(staged.CurveType);
    } else {
        const int criteria =
            ReadInteger(fileName, section, u"CriteriaType"_s, file.Value(section, u"CriteriaType"_s, u"0"_s));
        if (criteria < 0 || criteria >= TCriteriaTypes::Capacity || !reading.Allowed.Contains(criteria))
            return false;
        block.CriteriaType = static_cast<TCriteriaType>(criteria);
        block.FixedId =
            ReadInteger(fileName, section, u"FixedID"_s, file.Value(section, u"FixedID"_s, u"0"_s));
        labels = &WellLabelsOfCriteriaType(criteria);
    }
    const bool replaceSeparator = reading.WithData && reading.DecimalSeparator != QLatin1Char(' ');
    const QString notSpecified = UiText(TextId::NotSpecified);
    for (int i = 0; i < labels->size(); ++i) {
        const QString key = u"Point"_s + QString::number(i);
        TPointFields point = ReadPoint(fileName, section, key, file.Value(section, key, QString()));
        CheckCell(fileName, section, point.Cell);
        const bool known = std::any_of(labels->begin(), labels->end(), [&](const TStdDisplayRec &label) {
            return label.ID == point.LabelId;
        });
        if (!known)
            RaiseRangeError(
                fileName, u"Key %1 of section [%2] names the well label %3, which the layout does not have."_s
                              .arg(key, section)
                              .arg(point.LabelId));
        if (replaceSeparator)
            point.Text = ReplaceDecimalSeparator(point.Text, reading.DecimalSeparator);
        CheckInPlateText(fileName, section, key, point, staged.Grid, true);
        ClaimWell(fileName, point.Cell, true, staged);
        if (IsNotSpecifiedMarker(point.Text))
            point.Text = notSpecified;
        staged.Grid.SetCell(point.Cell.x(), point.Cell.y(), point.Text);
        StoreText(staged.Table, point.Cell, point.Text);
        block.Wells.push_back({point.Cell, point.LabelId});
    }
    staged.Blocks.push_back(std::move(block));
    return true;
}

// Sections [Cell0], [Cell1], ... up to the first missing one: blocks and plate cells.
// False for a sample layout the edition does not allow.
bool ReadSections(const TSectionIndex &file, const QString &fileName, const TSectionReading &reading,
                  TStagedFileLoad &staged)
{
    for (int n = 0;; ++n) {
        const QString section = u"Cell"_s + QString::number(n);
        if (!file.HasSection(section) || file.Value(section, u"BlockType"_s, QString()).isEmpty())
            return true;
        if (n >= MaxSections)
            RaiseRangeError(fileName, u"The file holds more than %1 sections."_s.arg(MaxSections));
        const int blockType =
            ReadInteger(fileName, section, u"BlockType"_s, file.Value(section, u"BlockType"_s, u"0"_s));
        if (blockType < 0)
            RaiseRangeError(fileName,
                            u"BlockType %1 of section [%2] is not valid."_s.arg(blockType).arg(section));
        if (blockType > 1)
            ReadPlateCell(file, fileName, section, staged);
        else if (!ReadBlock(file, fileName, section, blockType == 1, reading, staged))
            return false;
    }
}

} // namespace

TFileLoadResult TCombinedFileHandler::Load(const QString &pFileName, bool pWithData)
{
    const TLoadText loaded = ReadLoadText(pFileName);
    const QStringList lines = SplitLines(loaded.Text);
    const TSectionIndex file(lines);
    if (const QString reason = NotOurFileReason(loaded.Text, loaded.HasByteOrderMark, file, pWithData);
        !reason.isEmpty())
        RaiseLoadError(pFileName, reason);
    const TMarnovelData &data = Data();

    TStagedFileLoad staged;
    const THeaderRead header = ReadHeader(file, pFileName, pWithData, staged);
    if (header.DateNotConverted)
        return FL_DATECONVERTERROR;
    ReadPlateSize(pFileName, pWithData, staged);
    const TSectionReading reading{pWithData, header.DecimalSeparator, data.GetAllowedCriteriaTypes()};
    if (!ReadSections(file, pFileName, reading, staged))
        return FL_WRONGTYPE;
    const auto series = std::count_if(staged.Blocks.begin(), staged.Blocks.end(),
                                      [](const TStagedFileLoad::TBlock &block) { return block.IsStandard; });
    if (const QString problem = StandardSeriesProblem(static_cast<int>(series)); !problem.isEmpty())
        RaiseRangeError(pFileName, problem);

    Apply(staged, pWithData);
    mDecimalSeperator = header.DecimalSeparator;
    mDateSeperator = header.DateSeparator;
    return FL_OK;
}

void TCombinedFileHandler::Apply(const TStagedFileLoad &pStaged, bool pWithData)
{
    TMarnovelData &data = Data();
    // Whoever shows the run shows the curve type from the run data afterwards.
    if (pStaged.StdConc) {
        data.SetCurveType(pStaged.CurveType, *pStaged.StdConc);
    } else {
        data.SetCurveType(pStaged.CurveType);
    }

    data.ClearStdBlocks();
    data.ClearRawData();
    TCBBlockPanelList &standardLabels = TStdPanel::GetBlockList();
    for (const TStagedFileLoad::TBlock &staged : pStaged.Blocks) {
        auto block = std::make_unique<OWCellBlockRectCombined>();
        TCBBlockPanelList *labels = &standardLabels;
        if (staged.IsStandard) {
            block->setId(pWithData ? staged.Id : OWCellBlockBase::GetCurrentStandardIdStr(), true);
            OWCellBlockBase::SetNextStandardId();
        } else {
            block->setId(pWithData ? staged.Id : OWCellBlockBase::GetCurrentSubjectIdStr(), false);
            block->SetCriteriaType(staged.CriteriaType);
            block->SetFixedID(staged.FixedId);
            OWCellBlockBase::SetNextSubjectId();
            labels = &TCBBlockPanelList::GetListForCriteriaType(staged.CriteriaType);
        }
        for (const TStagedFileLoad::TWell &well : staged.Wells)
            block->addWithID(well.Cell, labels->GetBlockByID(well.LabelId));
        if (staged.IsStandard)
            data.StdBlocks().add(std::move(block));
        else
            data.RawData().add(std::move(block));
    }
    if (!pWithData)
        return;

    data.loadDataObject(pStaged.Table);
    data.SetValues(pStaged.Grid);

    if (!mSystemInfo) {
        mOwnedSystemInfo = std::make_unique<TSystemInfo>();
        mSystemInfo = mOwnedSystemInfo.get();
    }
    TSystemInfo &info = *mSystemInfo;
    info.SetUserInfoValue(info.RunNumberName(), pStaged.RunNumber);
    info.SetUserInfoValue(info.KitBatchNumberName(), pStaged.KitBatchNumber);
    info.SetUserInfoValue(info.OperatorName(), pStaged.Operator);
    info.SetUserInfoValue(info.RawDataRowsName(), pStaged.DataRows);
    info.SetUserInfoValue(info.RawDataColsName(), pStaged.DataCols);
    info.RunDate = pStaged.RunDate;
    info.mRawData = pStaged.Table;
    info.CurveType = pStaged.CurveType;
}

// ---- default names ----------------------------------------------------------------------------

QString TCombinedFileHandler::DefaultRunDataFileName(const QDate &pRunDate, const QString &pRunNumber)
{
    return FormatDate(ShortFileDateFormatPattern(), pRunDate) + u'_' + SafeFileNamePart(pRunNumber) +
           u".vdf"_s;
}

QString TCombinedFileHandler::DefaultFormatFileName(const QString &pOperator, const QDate &pRunDate)
{
    return UniqueFileName(GetConfigManager().GetDirFormatFiles(),
                          pOperator.left(3) + FormatDate(ShortFileDateFormatPattern(), pRunDate) + u'_',
                          u"vff"_s);
}

TCombinedFileHandler &GetGlobalFileHandler()
{
    static TCombinedFileHandler handler;
    return handler;
}
