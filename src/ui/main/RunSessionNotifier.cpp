#include "RunSessionNotifier.h"

#include "core/TextIds.h"

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

TRunStepResult TRunSessionNotifier::Checked(TRunStepResult step, bool namingFile)
{
    if (!step.Ok())
        Q_EMIT refused(namingFile && step.TextId != TextId::MoreStripsThanData ? step.TextNamingFile()
                                                                               : step.Text());
    return step;
}

TRunStepResult TRunSessionNotifier::LoadRun(const QString &fileName)
{
    TRunStepResult step = Checked(mSession.LoadRun(fileName), true);
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
    TRunStepResult step = Checked(mSession.LoadFormat(fileName), true);
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
    TRunStepResult step = Checked(mSession.Calculate());
    if (step.Ok())
        Q_EMIT calculated(*mSession.LastResult());
    else
        Q_EMIT resultsDiscarded();
    return step;
}

TRunStepResult TRunSessionNotifier::AfterPlate(TRunStepResult step)
{
    (void)Checked(step);
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
    TRunStepResult step = Checked(mSession.RenameBlock(well, identifier));
    if (step.Ok())
        Q_EMIT layoutChanged();
    return step;
}

TRunStepResult TRunSessionNotifier::RemoveBlock(QPoint well)
{
    TRunStepResult step = Checked(mSession.RemoveBlock(well));
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
    TRunStepResult step = Checked(mSession.SetCurveType(curve));
    if (step.Ok()) {
        Q_EMIT curveTypeChanged(curve);
        Q_EMIT concentrationsChanged();
        Q_EMIT resultsDiscarded();
    }
    return step;
}

TRunStepResult TRunSessionNotifier::SetStdConc(const QList<double> &concentrations)
{
    TRunStepResult step = Checked(mSession.SetStdConc(concentrations));
    if (step.Ok()) {
        Q_EMIT concentrationsChanged();
        Q_EMIT resultsDiscarded();
    }
    return step;
}

void TRunSessionNotifier::DiscardResults()
{
    mSession.DiscardResults();
    Q_EMIT resultsDiscarded();
}

void TRunSessionNotifier::SetDetails(const TRunDetails &details)
{
    mSession.SetDetails(details);
    Q_EMIT detailsChanged();
}
