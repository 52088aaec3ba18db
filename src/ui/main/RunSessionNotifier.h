#pragma once

#include "files/RunSession.h"

#include <QObject>

// The run session as the views see it: the steps that change what a view shows go through
// here, and each says what changed. Views repaint from the run when a signal arrives.
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
    // The plate text was changed through the run data (a paste, a drop, typing): what was
    // calculated from the old text no longer holds.
    void PlateEdited();

Q_SIGNALS:
    void plateChanged();
    void layoutChanged();
    void curveTypeChanged(TCurveType curve);
    void calculated(const TRunCalculationResult &result);
    void resultsDiscarded();

private:
    TRunSession &mSession;
};
