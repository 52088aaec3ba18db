#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

// The small always-on-top window of manual data entry: Clear All Values above, Complete
// and Cancel side by side below. It only reports; its owner decides on close (OnClose)
// whether the window may go, after Complete or Cancel alike. The owner's first activation
// puts the window's top-right corner on the owner's, and restoring the owner from
// minimised brings it back to the front.
class TfrmManualDataEntryForm : public QDialog
{
public:
    explicit TfrmManualDataEntryForm(QWidget *owner);

    void InitializeText();

    // Complete was the last of Complete and a confirmed Cancel.
    bool fCompletePressed = false;
    std::function<void(QWidget *sender)> fOnClearAll;
    // Asked when the window is to close; false keeps it open.
    std::function<bool(bool completePressed)> OnClose;

    // Top-left corner that puts the window's top-right corner on ownerFrame's.
    static QPoint CornerPosition(const QRect &ownerFrame, const QSize &frameSize);
    // The geometry rule: label centred, Clear All Values above, the other two below.
    void LayoutControls();

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
    QLabel *lblManualDataEntry;
    QPushButton *btnClearAllValues, *btnComplete, *btnCancel;
};
