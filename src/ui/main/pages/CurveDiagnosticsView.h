#pragma once

#include <QWidget>

class QLabel;
class QStandardItemModel;
class QTableView;
class TRunSession;
class TRunSessionNotifier;

// How the calculated run's curve fits its standards, beside the QC trends: each fitted
// standard's recovery and residual, the fit's standard error, the order of the standards and
// each subject's 95 % interval and range. Information only: the verdict stays the kit's. It
// follows the session: filled when a calculation ends, emptied when results are discarded.
class TCurveDiagnosticsView : public QWidget
{
    Q_OBJECT

public:
    TCurveDiagnosticsView(const TRunSession &session, TRunSessionNotifier &notifier,
                          QWidget *parent = nullptr);

    // Everything again from the session's last calculation, or the empty view without one.
    void ShowDiagnostics();
    // Every text again in the current language.
    void Retranslate();

private:
    const TRunSession &mSession;
    QStandardItemModel *mStandards;
    QStandardItemModel *mSubjects;
    QLabel *curveDiagnosticsMessageLa, *curveDiagnosticsFitErrorLa, *curveDiagnosticsOrderLa;
    QTableView *curveDiagnosticsStandardsGd, *curveDiagnosticsSubjectsGd;
};
