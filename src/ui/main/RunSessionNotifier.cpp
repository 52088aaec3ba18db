#include "RunSessionNotifier.h"

TRunSessionNotifier::TRunSessionNotifier(TRunSession &session, QObject *parent)
    : QObject(parent), mSession(session)
{
}

void TRunSessionNotifier::NewRun()
{
    mSession.NewRun();
    Q_EMIT curveTypeChanged(mSession.CurveType());
    Q_EMIT concentrationsChanged();
    Q_EMIT plateChanged();
    Q_EMIT layoutChanged();
    Q_EMIT detailsChanged();
    Q_EMIT resultsDiscarded();
}

TRunStepResult TRunSessionNotifier::LoadRun(const QString &fileName)
{
    TRunStepResult step = mSession.LoadRun(fileName);
    if (step.Ok()) {
        Q_EMIT curveTypeChanged(mSession.CurveType());
        Q_EMIT concentrationsChanged();
        Q_EMIT plateChanged();
        Q_EMIT layoutChanged();
        Q_EMIT detailsChanged();
        Q_EMIT resultsDiscarded();
    }
    return step;
}

TRunStepResult TRunSessionNotifier::LoadFormat(const QString &fileName)
{
    TRunStepResult step = mSession.LoadFormat(fileName);
    if (step.Ok()) {
        Q_EMIT curveTypeChanged(mSession.CurveType());
        Q_EMIT concentrationsChanged();
        Q_EMIT layoutChanged();
        Q_EMIT resultsDiscarded();
    }
    return step;
}

TRunStepResult TRunSessionNotifier::Calculate()
{
    TRunStepResult step = mSession.Calculate();
    if (step.Ok())
        Q_EMIT calculated(*mSession.LastResult());
    else
        Q_EMIT resultsDiscarded();
    return step;
}

TRunStepResult TRunSessionNotifier::AfterPlate(TRunStepResult step)
{
    if (step.Ok()) {
        Q_EMIT plateChanged();
        Q_EMIT resultsDiscarded();
    }
    return step;
}

TRunStepResult TRunSessionNotifier::SetPlateText(const QString &text, const QString &fileName)
{
    return AfterPlate(mSession.SetPlateText(text, fileName));
}

TRunStepResult TRunSessionNotifier::SetPlateRows(const TStringGridData &rows)
{
    return AfterPlate(mSession.SetPlateRows(rows));
}

TRunStepResult TRunSessionNotifier::SetPlateDataObject(const QMimeData *data)
{
    return AfterPlate(mSession.SetPlateDataObject(data));
}

TRunStepResult TRunSessionNotifier::SetTypedPlate(const TStringGridData &rows)
{
    return AfterPlate(mSession.SetTypedPlate(rows));
}

TRunStepResult TRunSessionNotifier::RenameBlock(QPoint well, const QString &identifier)
{
    TRunStepResult step = mSession.RenameBlock(well, identifier);
    if (step.Ok())
        Q_EMIT layoutChanged();
    return step;
}

TRunStepResult TRunSessionNotifier::RemoveBlock(QPoint well)
{
    TRunStepResult step = mSession.RemoveBlock(well);
    if (step.Ok())
        LayoutEdited();
    return step;
}

void TRunSessionNotifier::ClearLayout(TRunSession::TBlocks blocks)
{
    mSession.ClearLayout(blocks);
    LayoutEdited();
}

void TRunSessionNotifier::LayoutEdited()
{
    mSession.DiscardResults();
    Q_EMIT layoutChanged();
    Q_EMIT resultsDiscarded();
}

TPlacementResult TRunSessionNotifier::PlaceBlock(TManualFormatState &state, std::optional<QPoint> well)
{
    TPlacementResult placed = mSession.PlaceBlock(state, well);
    if (placed.Placed())
        LayoutEdited();
    return placed;
}

void TRunSessionNotifier::RemoveRandomBlockBeingAdded(TManualFormatState &state)
{
    mSession.RemoveRandomBlockBeingAdded(state);
    LayoutEdited();
}

void TRunSessionNotifier::RemoveNewestBlocks(int standards, int samples)
{
    mSession.RemoveNewestBlocks(standards, samples);
    LayoutEdited();
}

TRunStepResult TRunSessionNotifier::SetCurveType(TCurveType curve)
{
    TRunStepResult step = mSession.SetCurveType(curve);
    if (step.Ok()) {
        Q_EMIT curveTypeChanged(curve);
        Q_EMIT concentrationsChanged();
        Q_EMIT resultsDiscarded();
    }
    return step;
}

TRunStepResult TRunSessionNotifier::SetStdConc(const QList<double> &concentrations)
{
    TRunStepResult step = mSession.SetStdConc(concentrations);
    if (step.Ok()) {
        Q_EMIT concentrationsChanged();
        Q_EMIT resultsDiscarded();
    }
    return step;
}

void TRunSessionNotifier::SetDetails(const TRunDetails &details)
{
    mSession.SetDetails(details);
    Q_EMIT detailsChanged();
}
