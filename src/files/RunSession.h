#pragma once

#include "files/ExportTexts.h"
#include "plate/MarnovelTypes.h"
#include "run/ManualFormat.h"
#include "run/RunCalculation.h"

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QString>

#include <memory>
#include <optional>

class QMimeData;
class TCombinedFileHandler;
class TMarnovelRdData;

// What a step of the run gives back: done, or why not. A step never shows a message and never
// throws for what an operator or a file can get wrong.
struct [[nodiscard]] TRunStepResult
{
    enum TStatus
    {
        Done,
        Refused,      // the input or the run's state does not allow the step
        NotCalculable // the data cannot be calculated (text 185)
    };
    TStatus Status = Done;
    int TextId =
        0; // the catalogue text a window shows (118, 125, 126, 182, 185, 371, 372, 1100-1102); 0: none
    QString Reason;   // one line: the catalogue text, or what exactly is wrong
    QString FileName; // the file the reason is about; empty for pasted text and plain refusals

    bool Ok() const { return Status == Done; }
    // What a message box shows: the catalogue text in the current language, else Reason.
    QString Text() const;
    // Text(), and below it the file it is about unless the text names it.
    QString TextNamingFile() const;
};

// One plate's run and the steps every front end takes on it: it owns the run data, the run
// details and the last calculation. As in the main window, every block shows its identifier
// and a new run, a loaded run and a loaded format number their blocks from 1 again.
//
// A refused step leaves the run as it was: pasted text and files are checked in full before
// anything changes.
class TRunSession
{
public:
    TRunSession(); // a new run, dated today
    ~TRunSession();
    TRunSession(const TRunSession &) = delete;
    TRunSession &operator=(const TRunSession &) = delete;

    // ---- the run ------------------------------------------------------------------------
    // For views and the layout tools. After changing blocks or concentrations through it,
    // call DiscardResults.
    TMarnovelRdData &Data() { return *mData; }
    const TMarnovelRdData &Data() const { return *mData; }
    const TRunDetails &Details() const { return mDetails; }
    // Run date, kit batch number, run number and operator as the operator gives them.
    void SetDetails(const TRunDetails &details) { mDetails = details; }
    TCurveType CurveType() const;
    // Default concentrations for the curve. Refused while standards are placed for another curve.
    TRunStepResult SetCurveType(TCurveType curve);
    // Every standard's concentration, the zero standard last: numbers, not negative (text 372).
    TRunStepResult SetStdConc(const QList<double> &concentrations);

    // The last calculation; nullptr before one and after any step that changes the run.
    const TRunCalculationResult *LastResult() const { return mResult ? &*mResult : nullptr; }
    // A calculation that was not saved since (the window's unsaved-results prompt). Every
    // step that drops the results ends it with them: results no longer shown are none to
    // save. A refused step keeps both.
    bool HasUnsavedResults() const { return mUnsaved; }
    // The run data can be calculated and the plate holds data (the window adds its own
    // conditions: no block being placed, no manual data entry).
    bool CanCalculate() const;
    // Drops the last calculation and with it the unsaved results (the window's results clear).
    void DiscardResults();

    // ---- steps --------------------------------------------------------------------------
    // New Test: 4-point curve with default concentrations; no plate text, no layout, no
    // results, no run number (date, kit batch number and operator stay).
    void NewRun();
    // A paste, a drop or a plate reader's file (fileName names it in the reason): 8
    // tab-separated lines. Texts 118, 126, 182.
    TRunStepResult SetPlateText(const QString &text, const QString &fileName = QString());
    // A pasted or dropped data object's text, as SetPlateText takes it, except that an empty
    // text empties the plate (the window's paste); the check alone changes nothing.
    TRunStepResult CheckPlateDataObject(const QMimeData *data);
    TRunStepResult SetPlateDataObject(const QMimeData *data);
    // The plate as grid rows (manual data entry), outer index = row.
    TRunStepResult SetPlateRows(const TStringGridData &rows);
    // The plate as typed into the grid, outer index = row: an empty grid empties the plate
    // text, a number too large to round is refused (text 126) and the plate stays.
    TRunStepResult SetTypedPlate(const TStringGridData &rows);
    // The block on a well (column and row from 1, as the plate grid numbers them), renamed or
    // taken off.
    // Refused when no block lies there. A new name keeps the results; a removal ends them.
    TRunStepResult RenameBlock(QPoint well, const QString &identifier);
    TRunStepResult RemoveBlock(QPoint well);
    // Standard blocks, sample blocks or both off the plate; the plate text stays. Samples
    // placed later are numbered from 1 again.
    enum class TBlocks
    {
        Standards,
        Samples,
        All
    };
    void ClearLayout(TBlocks blocks = TBlocks::All);
    // Laying out by hand: the block the toolbar's state describes with its first label on the
    // well, or (no well) one subject on every free well. The blocks read their values from the
    // plate text. A refused click (the result's Error) changes nothing.
    TPlacementResult PlaceBlock(TManualFormatState &state, std::optional<QPoint> well);
    // The block being placed label by label, or the newest blocks (the toolbar's Cancel), off
    // the plate again.
    void RemoveRandomBlockBeingAdded(TManualFormatState &state);
    void RemoveNewestBlocks(int standards, int samples);
    // Run data file: plate, layout, curve, concentrations and run details. Texts 125, 371,
    // 1100-1102 (no such file, a folder, not a regular file).
    TRunStepResult LoadRun(const QString &fileName);
    // Format file: layout, curve and its default concentrations; the plate stays. Texts 125,
    // 371, 182, 1100-1102.
    TRunStepResult LoadFormat(const QString &fileName);
    // written, when given, gets the bytes the file was given (the archive's record of a save).
    TRunStepResult SaveRun(const QString &fileName, QByteArray *written = nullptr);
    TRunStepResult SaveFormat(const QString &fileName);
    // Data that cannot be calculated: text 185, about the file the plate came from; the
    // reason names the well when one value is the cause. A failed calculation drops the
    // results of an earlier one.
    TRunStepResult Calculate();
    // Both exports need a calculation. UTF-8 with a byte-order mark.
    TRunStepResult ExportResults(const QString &fileName);
    TRunStepResult ExportRawData(const QString &fileName);

    // What the saves and exports write, for a caller that writes several files as one save
    // (TSafeFileWriter). The export texts are empty without a calculation; RunFileBytes
    // raises EConvertError when the run details hold no valid run date.
    QByteArray RunFileBytes() const;
    QByteArray FormatFileBytes() const;
    QString ResultsExportText() const;
    QString RawDataExportText() const;

private:
    template <typename TPlate>
    TRunStepResult CheckPlate(const TPlate &plate, const QString &fileName, bool emptyAllowed = false);
    template <typename TPlate>
    TRunStepResult TakePlate(const TPlate &plate, const QString &fileName, bool emptyAllowed = false);
    TRunStepResult LoadLayoutFile(const QString &fileName, bool withData);
    TRunStepResult Write(const QString &fileName, const QByteArray &bytes);

    std::unique_ptr<TMarnovelRdData> mData;
    // Pasted text and loaded files go here first, so that a refused one changes nothing.
    std::unique_ptr<TMarnovelRdData> mCheck;
    std::unique_ptr<TCombinedFileHandler> mFiles;
    TRunDetails mDetails;
    std::optional<TRunCalculationResult> mResult;
    bool mUnsaved = false;
    // Where the plate text and the layout came from, for the reasons of a calculation.
    QString mPlateSource;
    QString mLayoutSource;
};
