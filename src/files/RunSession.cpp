#include "files/RunSession.h"

#include "core/Exceptions.h"
#include "core/MarnovelUtils.h"
#include "core/TextIds.h"
#include "core/UiTextManager.h"
#include "files/BlockIO.h"
#include "files/CombinedFileHandler.h"
#include "plate/CellBlock.h"
#include "plate/CellColl.h"
#include "plate/MarnovelPanels.h"
#include "plate/TextGrid.h"
#include "run/MarnovelRdData.h"
#include "run/PlateTextView.h"

#include <QDir>
#include <QMimeData>
#include <QScopeGuard>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// "The value in well %1 cannot be calculated.": the one well behind text 185.

TRunStepResult Done()
{
    return {};
}

TRunStepResult Refused(const QString &reason, const QString &fileName = QString(), int textId = 0)
{
    return {TRunStepResult::Refused, textId, reason, fileName};
}

// Bad array size or invalid plate data, as loadDataObject shows it, with what exactly is wrong.
TRunStepResult PlateRefused(TPlateTextProblem problem, const QString &fileName)
{
    const QString text = PlateTextProblemText(problem);
    if (problem == TPlateTextProblem::WrongLineCount)
        return Refused(text + u" The plate text must be 8 lines of tab-separated values."_s, fileName,
                       TextId::BadArraySize);
    if (problem == TPlateTextProblem::UnroundableNumber)
        return Refused(
            text + u" A value with more than 3 decimals lies beyond 2147483.647 and cannot be rounded."_s,
            fileName, TextId::InvalidClipboardData);
    return Refused(text, fileName, TextId::InvalidClipboardData);
}

// A load or write error names its file itself; its reason alone reads after the file's name.
// Errors that are not about the file (programming errors) keep their full message.
TRunStepResult FileRefused(const QString &fileName, const MarnovelException &error)
{
    return Refused(error.Reason().isEmpty() ? error.Message() : error.Reason(), fileName);
}

TRunStepResult LoadResultRefused(TFileLoadResult result, const QString &fileName)
{
    if (result == FL_WRONGTYPE)
        return Refused(UiText(TextId::UnmatchingCriteria), fileName, TextId::UnmatchingCriteria);
    return Refused(UiText(TextId::FileLoadError) + u" (the run date cannot be read)"_s, fileName,
                   TextId::FileLoadError);
}

} // namespace

QString TRunStepResult::Text() const
{
    return TextId != 0 ? UiText(TextId) : Reason;
}

QString TRunStepResult::TextNamingFile() const
{
    const QString file = QDir::toNativeSeparators(FileName);
    // A write failure is one sentence that names the file already.
    return FileName.isEmpty() || Text().contains(file) ? Text() : Text() + u'\n' + file;
}

TRunSession::TRunSession()
    : mData(std::make_unique<TMarnovelRdData>()), mCheck(std::make_unique<TMarnovelRdData>()),
      mFiles(std::make_unique<TCombinedFileHandler>())
{
    mFiles->SetRunData(mData.get());
    mDetails.RunDate = QDate::currentDate();
    NewRun();
}

TRunSession::~TRunSession() = default;

// ---- the run --------------------------------------------------------------------------------

TCurveType TRunSession::CurveType() const
{
    return mData->GetCurveType();
}

TRunStepResult TRunSession::SetCurveType(TCurveType curve)
{
    if (!IsValidCurveType(curve))
        return Refused(u"%1 is not a curve type."_s.arg(int(curve)));
    // The standard blocks hold as many wells as their curve has standards.
    if (curve != CurveType() && mData->StdBlocks().GetCount() > 0)
        return Refused(u"The curve type cannot change while standards are placed on the plate."_s);
    mData->SetCurveType(curve);
    DiscardResults();
    return Done();
}

TRunStepResult TRunSession::SetStdConc(const QList<double> &concentrations)
{
    if (concentrations.size() != mData->StdConcSize())
        return Refused(
            u"The curve needs %1 standard concentrations, %2 were given."_s.arg(mData->StdConcSize())
                .arg(concentrations.size()));
    for (const double value : concentrations) {
        // Written as "not >= 0" so that NaN is refused too.
        if (!(value >= 0.0))
            return Refused(UiText(TextId::StdConcNotNonNegative), QString(), TextId::StdConcNotNonNegative);
        if (!FitsSinglePrecision(value))
            return Refused(StdConcRangeText());
    }
    mData->SetCurveType(CurveType(), concentrations);
    DiscardResults();
    return Done();
}

bool TRunSession::CanCalculate() const
{
    return mData->canCalc() && LastColumnWithData(*mData) != -1;
}

void TRunSession::DiscardResults()
{
    mResult.reset();
    mUnsaved = false;
}

// ---- steps ------------------------------------------------------------------------------

void TRunSession::NewRun()
{
    // As the main window: every block shows its identifier, and numbering starts again.
    OWCellBlockBase::SetIdentifierCount(1);
    OWCellBlockBase::Reset();
    mData->clear();
    mData->ClearMData();
    mData->SetCurveType(CURVE_4POINT);
    mDetails.RunNumber.clear();
    mDetails.StdConcValueType = TStdConcValueType::Default;
    mDetails.IdPrefix.clear();
    mPlateSource.clear();
    mLayoutSource.clear();
    DiscardResults();
}

template <typename TPlate>
TRunStepResult TRunSession::CheckPlate(const TPlate &plate, const QString &fileName, bool emptyAllowed)
{
    const auto clearCheck = qScopeGuard([this] { mCheck->ClearMData(); });
    try {
        if (const TPlateTextProblem problem = mCheck->ParseDataObject(plate);
            problem != TPlateTextProblem::None)
            return PlateRefused(problem, fileName);
    } catch (const EPlateTextOverflow &) {
        return Refused(u"The plate text does not fit a plate of 8 rows and 12 columns."_s, fileName,
                       TextId::InvalidClipboardData);
    }
    // A line of 13 values: one column more than the plate has.
    if (!mCheck->ExtentsValid())
        return Refused(UiText(TextId::BadArraySize) + u" (more than 12 values on a line)"_s, fileName,
                       TextId::BadArraySize);
    if (LastColumnWithData(*mCheck) < 0 && !emptyAllowed)
        return Refused(u"The plate text holds no data: every well is empty."_s, fileName,
                       TextId::InvalidClipboardData);
    if (mData->IndexColOfLastFormatStrip() > mCheck->XExtent() - 1)
        return Refused(UiText(TextId::MoreStripsThanData), fileName, TextId::MoreStripsThanData);
    return Done();
}

template <typename TPlate>
TRunStepResult TRunSession::TakePlate(const TPlate &plate, const QString &fileName, bool emptyAllowed)
{
    if (TRunStepResult checked = CheckPlate(plate, fileName, emptyAllowed); !checked.Ok())
        return checked;
    // The same parse again, now of the run: it cannot fail where the check passed.
    (void)mData->ParseDataObject(plate);
    TTextGrid grid;
    mData->copyDataToStringgrid(grid);
    mData->SetValues(grid);
    mPlateSource = fileName;
    DiscardResults();
    return Done();
}

TRunStepResult TRunSession::SetPlateText(const QString &text, const QString &fileName)
{
    QMimeData mime;
    mime.setText(ReplaceLoneSurrogates(text));
    return TakePlate(&mime, fileName);
}

TRunStepResult TRunSession::CheckPlateDataObject(const QMimeData *data)
{
    return CheckPlate(data, QString(), true);
}

TRunStepResult TRunSession::SetPlateDataObject(const QMimeData *data)
{
    return TakePlate(data, QString(), true);
}

TRunStepResult TRunSession::SetPlateRows(const TStringGridData &rows)
{
    TStringGridData clean = rows;
    for (QStringList &row : clean)
        for (QString &cell : row)
            cell = ReplaceLoneSurrogates(cell);
    return TakePlate(clean, QString());
}

TRunStepResult TRunSession::SetTypedPlate(const TStringGridData &rows)
{
    const bool empty = std::all_of(rows.begin(), rows.end(), [](const QStringList &row) {
        return std::all_of(row.begin(), row.end(),
                           [](const QString &cell) { return cell.trimmed().isEmpty(); });
    });
    if (empty) {
        // Nothing typed is nothing kept: no earlier plate text may come back from a save.
        mData->ClearMData();
        mPlateSource.clear();
        DiscardResults();
        return Done();
    }
    TStringGridData clean = rows;
    for (QStringList &row : clean)
        for (QString &cell : row)
            cell = ReplaceLoneSurrogates(cell);
    {
        const auto clearCheck = qScopeGuard([this] { mCheck->ClearMData(); });
        try {
            if (const TPlateTextProblem problem = mCheck->ParseDataObject(clean);
                problem != TPlateTextProblem::None)
                return PlateRefused(problem, QString());
        } catch (const EPlateTextOverflow &) {
            return Refused(u"The plate text does not fit a plate of 8 rows and 12 columns."_s, QString(),
                           TextId::InvalidClipboardData);
        }
    }
    (void)mData->ParseDataObject(clean);
    TTextGrid grid;
    mData->copyDataToStringgrid(grid);
    mData->SetValues(grid);
    mPlateSource.clear();
    DiscardResults();
    return Done();
}

TRunStepResult TRunSession::RenameBlock(QPoint well, const QString &identifier)
{
    OWCellBlockBase *block = mData->cellAtPoint(well);
    if (block == nullptr)
        return Refused(u"No block lies on the well %1."_s.arg(WellName(well)));
    block->setId(identifier.trimmed(), block->getIsStandard());
    return Done();
}

TRunStepResult TRunSession::RemoveBlock(QPoint well)
{
    OWCellBlockBase *block = mData->cellAtPoint(well);
    if (block == nullptr)
        return Refused(u"No block lies on the well %1."_s.arg(WellName(well)));
    if (!mData->RawData().remove(block))
        (void)mData->StdBlocks().remove(block);
    DiscardResults();
    return Done();
}

void TRunSession::ClearLayout(TBlocks blocks)
{
    if (blocks != TBlocks::Samples)
        mData->ClearStdBlocks();
    if (blocks != TBlocks::Standards) {
        mData->ClearRawData();
        OWCellBlockBase::Reset();
    }
    if (blocks == TBlocks::All)
        mLayoutSource.clear();
    DiscardResults();
}

TPlacementResult TRunSession::PlaceBlock(TManualFormatState &state, std::optional<QPoint> well)
{
    const TPlateTextView plate(*mData);
    TPlacementResult placed =
        well ? ::PlaceBlock(*mData, state, plate, *well) : ::PlaceAllSamples(*mData, state, plate);
    if (placed.Placed())
        DiscardResults();
    return placed;
}

void TRunSession::RemoveRandomBlockBeingAdded(TManualFormatState &state)
{
    ::RemoveRandomBlockBeingAdded(*mData, state);
    DiscardResults();
}

void TRunSession::RemoveNewestBlocks(int standards, int samples)
{
    ::RemoveNewestBlocks(*mData, standards, samples);
    DiscardResults();
}

TRunStepResult TRunSession::LoadLayoutFile(const QString &fileName, bool withData)
{
    // A name typed on a command line may name nothing: the window says so in its language,
    // the tools give the reason after the file's name.
    if (const int problem = InputFileProblemTextId(fileName))
        return Refused(InputFileProblem(fileName), fileName, problem);
    // The file is loaded into the check run first. Its curve type becomes the shared
    // standards list's, which must stay the run's own if the file is refused. (Its blocks
    // advance the block numbering: a refused format only makes later numbers higher.)
    TRunStepResult checked = Done();
    {
        const auto restore = qScopeGuard([this] {
            mCheck->clear();
            mCheck->ClearMData();
            TStdPanel::SetBlockList(CurveType());
        });
        TCombinedFileHandler check;
        check.SetRunData(mCheck.get());
        TSystemInfo info;
        check.SetSystemInfo(&info);
        try {
            const TFileLoadResult result =
                withData ? check.LoadDataAndFormat(fileName) : check.LoadFormat(fileName);
            if (result != FL_OK)
                checked = LoadResultRefused(result, fileName);
        } catch (const MarnovelException &error) {
            checked = FileRefused(fileName, error);
        }
        // The window refuses a format that needs more strips than the plate has data.
        const int lastColumn = LastColumnWithData(*mData);
        if (checked.Ok() && !withData && lastColumn != -1 && lastColumn < mCheck->IndexColOfLastFormatStrip())
            checked = Refused(UiText(TextId::MoreStripsThanData), fileName, TextId::MoreStripsThanData);
    }
    if (!checked.Ok())
        return checked;

    // Blocks of a format file are numbered from 1, as after the window's results clear.
    OWCellBlockBase::Reset();
    TSystemInfo info;
    mFiles->SetSystemInfo(&info);
    const auto detach = qScopeGuard([this] { mFiles->SetSystemInfo(nullptr); });
    try {
        const TFileLoadResult result =
            withData ? mFiles->LoadDataAndFormat(fileName) : mFiles->LoadFormat(fileName);
        if (result != FL_OK)
            return LoadResultRefused(result, fileName);
    } catch (const MarnovelException &error) {
        // The file changed since it was checked.
        return FileRefused(fileName, error);
    }
    if (withData) {
        mDetails.RunDate = info.RunDate;
        mDetails.RunNumber = info.UserInfoValue(info.RunNumberName());
        mDetails.KitBatchNumber = info.UserInfoValue(info.KitBatchNumberName());
        mDetails.OperatorName = info.UserInfoValue(info.OperatorName());
        mDetails.StdConcValueType = TStdConcValueType::Manual;
        mDetails.IdPrefix = info.UserInfoValue(info.IdPrefixName());
        mPlateSource = fileName;
    } else {
        // The blocks read their wells from the plate that stays.
        TTextGrid grid;
        if (mData->ExtentsValid()) {
            mData->copyDataToStringgrid(grid);
            mData->SetValues(grid);
        }
    }
    mLayoutSource = fileName;
    DiscardResults();
    return Done();
}

TRunStepResult TRunSession::LoadRun(const QString &fileName)
{
    return LoadLayoutFile(fileName, true);
}

TRunStepResult TRunSession::LoadFormat(const QString &fileName)
{
    return LoadLayoutFile(fileName, false);
}

TRunStepResult TRunSession::SaveRun(const QString &fileName, QByteArray *written)
{
    QByteArray bytes;
    try {
        bytes = RunFileBytes();
    } catch (const MarnovelException &error) {
        return FileRefused(fileName, error);
    }
    TRunStepResult step = Write(fileName, bytes);
    if (step.Ok()) {
        mUnsaved = false;
        if (written)
            *written = std::move(bytes);
    }
    return step;
}

TRunStepResult TRunSession::SaveFormat(const QString &fileName)
{
    return Write(fileName, FormatFileBytes());
}

TRunStepResult TRunSession::Calculate()
{
    // A calculation that fails leaves no results of an earlier one to show or to save.
    auto discardOnFailure = qScopeGuard([this] { DiscardResults(); });
    try {
        CheckPlateFitsLayout(*mData);
    } catch (const ERunNotCalculable &error) {
        return Refused(error.Message(), mPlateSource,
                       error.Message() == UiText(TextId::MoreStripsThanData) ? TextId::MoreStripsThanData
                                                                             : 0);
    }
    try {
        mResult = CalculateRun(*mData);
    } catch (const ERunNotCalculable &error) {
        return Refused(error.Message(), mLayoutSource);
    } catch (const EWellNotCalculable &error) {
        return {TRunStepResult::NotCalculable, TextId::NotCalculable,
                UiText(TextId::NotCalculable) + u' ' +
                    UiText(TextId::WellNotCalculable).arg(WellName(error.Well())),
                mPlateSource};
    } catch (const EMathError &) {
        return {TRunStepResult::NotCalculable, TextId::NotCalculable, UiText(TextId::NotCalculable),
                mPlateSource};
    } catch (const TCustomInvalidExtentsException &) {
        return Refused(UiText(TextId::BadArraySize), mPlateSource, TextId::BadArraySize);
    }
    discardOnFailure.dismiss();
    mUnsaved = true;
    return Done();
}

TRunStepResult TRunSession::ExportResults(const QString &fileName)
{
    if (!mResult)
        return Refused(u"There are no results to export: the run is not calculated."_s, fileName);
    return Write(fileName, ExportFileBytes(ResultsExportText()));
}

TRunStepResult TRunSession::ExportRawData(const QString &fileName)
{
    if (!mResult)
        return Refused(u"There are no results to export: the run is not calculated."_s, fileName);
    return Write(fileName, ExportFileBytes(RawDataExportText()));
}

// ---- file contents ----------------------------------------------------------------------

QByteArray TRunSession::RunFileBytes() const
{
    TSystemInfo info;
    info.mData = mData.get();
    info.RunDate = mDetails.RunDate;
    info.SetUserInfoValue(info.RunNumberName(), mDetails.RunNumber);
    info.SetUserInfoValue(info.KitBatchNumberName(), mDetails.KitBatchNumber);
    info.SetUserInfoValue(info.OperatorName(), mDetails.OperatorName);
    info.SetUserInfoValue(info.RawDataRowsName(), QString::number(std::max(mData->YExtent(), 0)));
    info.SetUserInfoValue(info.RawDataColsName(), QString::number(std::max(mData->XExtent(), 0)));
    mFiles->SetSystemInfo(&info);
    const auto detach = qScopeGuard([this] { mFiles->SetSystemInfo(nullptr); });
    return mFiles->DataAndFormatFileBytes();
}

QByteArray TRunSession::FormatFileBytes() const
{
    return mFiles->FormatFileBytes();
}

QString TRunSession::ResultsExportText() const
{
    return mResult ? BuildResultsExportText(*mData, *mResult, mDetails) : QString();
}

QString TRunSession::RawDataExportText() const
{
    if (!mResult)
        return QString();
    TTextGrid grid;
    FillRawDataGrid(*mData, grid);
    return BuildRawDataExportText(*mData, *mResult, mDetails, grid);
}

TRunStepResult TRunSession::Write(const QString &fileName, const QByteArray &bytes)
{
    try {
        WriteFileAtomically(fileName, bytes);
    } catch (const EInOutError &error) {
        // One sentence that names the file itself.
        return Refused(error.Message(), fileName);
    } catch (const MarnovelException &error) {
        return FileRefused(fileName, error);
    }
    return Done();
}
