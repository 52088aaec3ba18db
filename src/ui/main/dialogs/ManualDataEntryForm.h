#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The small always-on-top window of manual data entry: Clear All Values above, Complete
// and Cancel side by side below. It only reports; its owner decides on close
// (closeRequested) whether the window may go, after Complete or Cancel alike. The owner's first activation
// puts the window's top-right corner on the owner's, and restoring the owner from
// minimised brings it back to the front.
class TfrmManualDataEntryForm : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmManualDataEntryForm(QWidget *owner);

    void InitializeText();

    // Complete was the last of Complete and a confirmed Cancel.
    bool CompletePressed() const { return mCompletePressed; }
    // A new entry starts: Cancel until Complete is pressed.
    void ResetCompletePressed() { mCompletePressed = false; }
    // From a receiver of closeRequested: the window stays open.
    void KeepOpen() { mKeepOpen = true; }

    // Top-left corner that puts the window's top-right corner on ownerFrame's.
    static QPoint CornerPosition(const QRect &ownerFrame, const QSize &frameSize);
    // The geometry rule: label centred, Clear All Values above, the other two below.
    void LayoutControls();

Q_SIGNALS:
    void clearAllClicked();
    // The window is about to close (Complete, a confirmed Cancel, the close box, Escape); a
    // receiver may keep it open.
    void closeRequested(bool completePressed);

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void btnClearAllValuesClick();
    void btnCompleteClick();
    void btnCancelClick();
    void PlaceAtOwnerCorner();

    QWidget *mOwner;
    bool fFormsPositionedRelativeToMainForm = false;
    bool mCompletePressed = false;
    bool mKeepOpen = false;
    QLabel *lblManualDataEntry;
    QPushButton *btnClearAllValues, *btnComplete, *btnCancel;
};
