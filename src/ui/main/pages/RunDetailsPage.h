#pragma once

#include "files/ExportTexts.h"
#include "plate/MarnovelTypes.h"

#include <QStringList>
#include <QWidget>

#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class TRunDatePicker;
class TRunSession;
class TRunSessionNotifier;
class TStdConcGrid;

// The Run Details tab (runDetailsSheet): the header, the run date, kit batch number, run number
// and operator, and the research edition's curve type, concentration value type and standard
// concentrations. Edits go into the run as notifier steps; the curve and its concentrations
// are shown again when the curve type changes.
class TRunDetailsPage : public QWidget
{
    Q_OBJECT

public:
    TRunDetailsPage(TRunSession &session, TRunSessionNotifier &notifier, QWidget *parent = nullptr);

    // Asked before a change that ends unsaved results; false keeps things as they are. Alone,
    // a page asks nothing.
    void SetDiscardQuery(std::function<bool()> query) { mDiscardQuery = std::move(query); }

    QLineEdit *OperatorEdit() const { return operatorEdNormal; }
    QLineEdit *KitBatchNoEdit() const { return kitBatchNoEdNormal; }
    QLineEdit *RunNoEdit() const { return runNoEdNormal; }
    TRunDatePicker *RunDateEdit() const { return runDateDtNormal; }
    TStdConcGrid *StdConcGrid() const { return stdConcGd; }
    QRadioButton *EightPointChoice() const { return rb8PointCurve; }
    int StdConcDivider() const { return fStdConcDivider; }

    // The run details as the tab shows them.
    TRunDetails DetailsShown() const;
    // A run file's details; a value type Default leaves the choice as it is, an invalid date
    // the date.
    void ShowDetailsFromFile(const TRunDetails &details);
    // The run number cleared; kit batch number and operator stay for the next run. All:
    // every edit cleared and the date today.
    void ClearDetails(bool all);
    void ChooseValueType(TStdConcValueType type);
    // The run's concentrations in the grid.
    void FillStdConcGrid();

    // Silent without a message: true when the run details and concentrations are complete.
    bool Validate(bool withMessage);
    bool IsValidControlTextRunDetails(QLineEdit *edit, QString &message) const;
    // The concentration cell being typed in, committed and checked; true when there is none.
    bool CheckConcentrationBeingTyped();
    // Standards on the plate fix the curve type; without them both can be chosen.
    void DisableStdConcSelection();
    void EnableCurveTypeSelection();

    // Fonts and texts again in the current language.
    void Retranslate();
    // Header, edits and standards for the current size, keeping `bottomRoom` free below.
    void ArrangeLayout(int bottomRoom);

Q_SIGNALS:
    // An edit of the run details changed: the window's navigation gate follows.
    void detailsEdited();

private:
    void BuildHeader();
    void BuildEditFields();
    void BuildStandardProperties();
    void ConnectHandlers();
    void SetHeaderTexts();
    void LayoutStandardProperties();
    bool ConfirmDiscard() const { return !mDiscardQuery || mDiscardQuery(); }
    void TakeDetails();
    void ShowDetails();
    void ShowCurveType(TCurveType curveType);
    static int StdConcDecimals() { return 3; }
    void StdConcGdFill();
    bool stdConcCheckAndHandleNewValue();
    void stdConcGdEnter();
    void stdConcGdExit();
    void stdConcGdKeyDown(int key, bool shift);
    void StdConcMoveRow(bool down);
    void CopyStdConcToData();
    void SetCurveType(TCurveType curveType);
    void rb4PointCurveClick();
    void rb8PointCurveClick();
    void rbStdConcValueTypeDefaultClick();
    void rbStdConcValueTypeManualClick();

    const TRunSession &mSession;
    TRunSessionNotifier &mNotifier;
    std::function<bool()> mDiscardQuery;
    int fStdConcDivider = 4;
    QStringList StdConcBackupGrid;
    bool mCheckingStdConc = false; // a concentration check is showing its message
    bool mShowingDetails = false;  // the edits follow the run, not the other way round

    QWidget *pnlRunDetailsHeaderText;
    QLabel *lblMainHeaderText, *lblSecondHeaderText, *lblRunDetailsHeaderText, *lblUSAVersion;
    QWidget *pnlRundetailsEditfields;
    QLabel *runDateLa, *kbNumberLa, *runNumberLa, *operatorLa;
    TRunDatePicker *runDateDtNormal;
    QLineEdit *kitBatchNoEdNormal, *runNoEdNormal, *operatorEdNormal;
    QWidget *pnlStandardProperties, *pnlStandardCurveSelection, *pnlStdConcValueType;
    QGroupBox *rgStdCurveType, *rgStdConcValueType;
    QRadioButton *rb8PointCurve, *rb4PointCurve, *rbStdConcValueTypeDefault, *rbStdConcValueTypeManual;
    QLabel *stdConcLa;
    TStdConcGrid *stdConcGd;
};
