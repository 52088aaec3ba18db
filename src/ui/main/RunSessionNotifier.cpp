#include "RunSessionNotifier.h"

TRunSessionNotifier::TRunSessionNotifier(TRunSession &session, QObject *parent)
    : QObject(parent), mSession(session)
{
}

void TRunSessionNotifier::NewRun()
{
    mSession.NewRun();
    Q_EMIT curveTypeChanged(mSession.CurveType());
    Q_EMIT plateChanged();
    Q_EMIT layoutChanged();
    Q_EMIT resultsDiscarded();
}

TRunStepResult TRunSessionNotifier::LoadRun(const QString &fileName)
{
    TRunStepResult step = mSession.LoadRun(fileName);
    if (step.Ok()) {
        Q_EMIT curveTypeChanged(mSession.CurveType());
        Q_EMIT plateChanged();
        Q_EMIT layoutChanged();
        Q_EMIT resultsDiscarded();
    }
    return step;
}

TRunStepResult TRunSessionNotifier::LoadFormat(const QString &fileName)
{
    TRunStepResult step = mSession.LoadFormat(fileName);
    if (step.Ok()) {
        Q_EMIT curveTypeChanged(mSession.CurveType());
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

void TRunSessionNotifier::PlateEdited()
{
    Q_EMIT plateChanged();
    Q_EMIT resultsDiscarded();
}
