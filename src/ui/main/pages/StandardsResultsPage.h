#pragma once

#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class TCurveChart;
class TRunSession;
class TRunSessionNotifier;
class TStandardsGrid;
class TStandardsResultsModel;
struct TRunCalculationResult;

// The Standards Results tab (resultsSheet): the standards table over the session, the curve
// details, the verdict with its QC explanations and the plate-washing note on the left, the
// standard curve on the right. It repaints when a calculation comes or goes and when the curve
// type changes.
class TStandardsResultsPage : public QWidget
{
    Q_OBJECT

public:
    TStandardsResultsPage(TRunSession &session, TRunSessionNotifier &notifier, QWidget *parent = nullptr);

    TStandardsGrid *StandardsGrid() const { return concGd; }
    TCurveChart *Chart() const { return StandardsResultDiagram; }
    // The correlation's pass or fail as shown; empty without a calculation.
    QString RegressResultCaption() const;

    // Everything shown as the session has it: its last calculation, or none.
    void ShowResults();
    // Fonts and texts again in the current language.
    void Retranslate();
    // The grid's columns and the left side for the current size.
    void ArrangeLayout();

private:
    void ShowCurveType();
    void ShowQcExplanations(const TRunCalculationResult *result);
    // The left side: grid, curve details, ELISA results.
    void LayoutResultsPanel();

    const TRunSession &mSession;
    TStandardsResultsModel *mModel;
    QWidget *pnlStandardsResults;
    TStandardsGrid *concGd;
    QGroupBox *curveDetailsGb, *calcResultsGb;
    QLabel *interceptLa, *slopeLa, *corrCoeffLa, *regressResultLa, *qaResultsLa, *lblInvestigateWashCriteria;
    QLineEdit *interceptEd, *slopeEd, *corrCoefEd;
    QLabel *lblChartTitle;
    TCurveChart *StandardsResultDiagram;
};
