#pragma once

#include "files/RunSession.h"

#include <QObject>

// The run session as the views see it: every step that changes the run goes through here,
// and each says what changed. Views repaint from the run when a signal arrives; a refused
// step emits only refused, with the text the operator reads, so that callers need not show it.
// resultsDiscarded follows a step the session has already dropped its results for.
class TRunSessionNotifier : public QObject
{
    Q_OBJECT

public:
    explicit TRunSessionNotifier(TRunSession &session, QObject *parent = nullptr);

    TRunSession &Session() const { return mSession; }

    void NewRun();
    TRunStepResult LoadRun(const QString &fileName);
    TRunStepResult LoadFormat(const QString &fileName);
    TRunStepResult Calculate();
    // A paste, a drop (fileName names a dropped file) or the rows of manual data entry.
    TRunStepResult SetPlateText(const QString &text, const QString &fileName = QString());
    TRunStepResult SetPlateRows(const TStringGridData &rows);
    TRunStepResult SetPlateDataObject(const QMimeData *data);
    // The plate as typed into the grid.
    TRunStepResult SetTypedPlate(const TStringGridData &rows);
    TRunStepResult RenameBlock(QPoint well, const QString &identifier);
    TRunStepResult RemoveBlock(QPoint well);
    void ClearLayout(TRunSession::TBlocks blocks = TRunSession::TBlocks::All);
    TRunStepResult SetCurveType(TCurveType curve);
    TRunStepResult SetStdConc(const QList<double> &concentrations);
    void SetDetails(const TRunDetails &details);
    // The window's results clear: the last calculation and its unsaved results go.
    void DiscardResults();
    TPlacementResult PlaceBlock(TManualFormatState &state, std::optional<QPoint> well);
    void RemoveRandomBlockBeingAdded(TManualFormatState &state);
    void RemoveNewestBlocks(int standards, int samples);

Q_SIGNALS:
    void plateChanged();
    void layoutChanged();
    void curveTypeChanged(TCurveType curve);
    void concentrationsChanged();
    void detailsChanged();
    void calculated(const TRunCalculationResult &result);
    void resultsDiscarded();
    void refused(const QString &text);

private:
    // The signals of a step that replaced the plate text.
    TRunStepResult AfterPlate(TRunStepResult step);
    // Announces a refusal; a file's steps name the file unless the text is about the plate.
    TRunStepResult Checked(TRunStepResult step, bool namingFile = false);
    // The blocks changed: the session dropped what was calculated.
    void LayoutEdited();

    TRunSession &mSession;
};
