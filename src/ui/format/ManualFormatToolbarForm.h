#pragma once

#include "run/ManualFormat.h"

#include <QDialog>
#include <QList>

#include <functional>
#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TBlockPanelWidget;

// The manual format toolbar (frmManualFormatToolbar): a small window on top of the main
// window that chooses what the next click on the plate places, standards or a subject sample,
// in which orientation and with which subject ID, and shows the labels with their panels. It
// holds no plate data: the owner places the blocks (see run/ManualFormat.h) and answers Clear
// All, Cancel and closing through the signals.
class TfrmManualFormatToolbar : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmManualFormatToolbar(QWidget *owner);
    ~TfrmManualFormatToolbar() override;

    static constexpr int ToolbarWidth = 320;
    static constexpr int StandardPanelPitch = 40;
    static constexpr int SamplePanelWidth = 50;

    // ---- what the next click places ------------------------------------------------
    TManualFormatState &State() { return *mState; }
    // The radio buttons show this state; their handlers change it.
    bool StandardsSelected() const { return mState->StandardsSelected(); }
    bool SamplesSelected() const { return mState->SamplesSelected(); }
    bool SamplesSelectedAllSamples() const { return mState->SamplesSelectedAllSamples(); }
    bool IsVerticalBlockOrientation() const { return mState->Orientation() == TBlockOrientation::Vertical; }
    bool IsHorizontalBlockOrientation() const
    {
        return mState->Orientation() == TBlockOrientation::Horizontal;
    }
    bool IsRandomBlockOrientation() const { return mState->IsRandomBlockOrientation(); }
    bool IsRandomOrientationStarted() const { return mState->IsRandomOrientationStarted(); }
    void SetIsRandomOrientationStarted(bool value) { mState->SetIsRandomOrientationStarted(value); }
    QString CurrentIDForSample() const;
    void SetCurrentIDForSample(const QString &id);

    // ---- operations ---------------------------------------------------------------------
    // Standards, vertical, single sample, no block in progress, texts and layout anew.
    void Reset();
    void InitializeText();
    void SetupFormLayout();
    void SetupStandardsFormLayout();
    void SetupSamplesFormLayout();
    // Panels for the standards list in use (after a curve type change) and the sample list.
    void CreateAndDrawStandardBoxes();
    void CreateAndDrawSampleBoxes();
    // The layout of the item shown now (after a language or curve type change).
    void RefreshLayout();
    // Stacks the visible panels and sizes the window; the gap is the point size of the
    // orientation text.
    void ArrangeLayout();
    // The sample panels take the colour the next subject gets; the panels are redrawn.
    void RefreshPanels();
    virtual void EnableOptionControls(bool enable);
    virtual void ApplyOrientation();
    // Round to the nearest integer, halves to the even one.
    static int RoundEven(double value);

    // The keyboard's way in (F6 from the plate): the window becomes active with the focus on
    // the item chosen; F6 here gives the focus back to the owner's window.
    void TakeKeyboard();

    // From a receiver of cancelClicked or closeRequested: the window stays open.
    void KeepOpen() { mKeepOpen = true; }

Q_SIGNALS:
    void clearAllClicked();
    // Cancel: the window then closes unless a receiver keeps it open.
    void cancelClicked();
    // The window is about to close, whichever way; a receiver may keep it open.
    void closeRequested();
    // The window went away (closed or hidden by its owner).
    void hidden();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void BuildControls();
    void ConnectHandlers();
    void SetItemTexts();
    void ResetStandardsOptions();
    void ResetSamplesOptions();
    // Checks the orientation's radio button and stores it, without its handler.
    void CheckOrientation(TBlockOrientation orientation);
    void SetItemFonts(bool standardsActive);
    void CentreControls();
    void SyncFromState();
    void ClearPanelWidgets(QList<TBlockPanelWidget *> &widgets);
    TBlockPanelWidget *NewPanelWidget(TBaseSelectBlockPanel *panel, QWidget *box);

    void rbStandardsClick();
    void rbSubjectSamplesClick();
    void rbVerticalOClick();
    void rbRandomOClick();
    void rbRdOneSampleClick();
    void rbRdAllSamplesClick();
    void btnCompleteClick();
    void btnCancelClick();
    void btnClearAllClick();

    std::unique_ptr<TManualFormatState> mState;
    bool mKeepOpen = false;
    QList<TBlockPanelWidget *> mStandardWidgets;
    QList<TBlockPanelWidget *> mSampleWidgets;
    // Lists whose panels carry this window's click handler, to take it away again.
    QList<TCBBlockPanelList *> mHandledLists;
    QGroupBox *mSampleGroupBoxToUse = nullptr;

    QWidget *pnlHeader, *pnlItemToAssign, *pnlSamples, *pnlOrientation, *pnlSubjectID, *pnlButtons;
    QWidget *pnlBoxLayoutStd, *pnlBoxLayoutSample;
    QLabel *lblHeader, *lblVHOText, *lblRandomOText;
    QGroupBox *grpItemToAssign, *grpRdSampleType, *grpOrientation, *grpSubjectID;
    QRadioButton *rbStandards, *rbSubjectSamples, *rbRdOneSample, *rbRdAllSamples;
    QRadioButton *rbVerticalO, *rbHorizontalO, *rbRandomO;
    QLineEdit *txtSubjectID;
    QPushButton *btnClearAll, *btnComplete, *btnCancel;
};
