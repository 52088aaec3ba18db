#include "ManualFormatToolbarForm.h"

#include "MarnovelPanelWidgets.h"
#include "core/Exceptions.h"
#include "core/FontManager.h"
#include "core/Messages.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "plate/CellBlock.h"
#include "plate/MarnovelPanels.h"
#include "platform/ControlsToFile.h"
#include "platform/DialogSetup.h"
#include "platform/ExceptionBoundary.h"
#include "platform/WindowTools.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Group boxes keep this much room to the window's edges, their contents to their frame.
constexpr int kGroupMargin = 8;
constexpr int kGroupInset = 10;
constexpr int kRadioGap = 4;
constexpr int kTextGap = 8;
constexpr int kBoxWidth = 160;
constexpr int kStandardPanelSize = 33;
constexpr int kMinClearAllWidth = 160;
constexpr int kMinButtonWidth = 100;

// Where the contents of a group box start below its caption.
int ContentTop(const QGroupBox *group)
{
    return GroupBoxCaptionHeight(nullptr, group) + kTextGap;
}

void PlaceAtPreferredSize(QWidget *widget, int left, int top)
{
    widget->setGeometry(left, top, widget->sizeHint().width(), widget->sizeHint().height());
}

// A word-wrapped label of the given width, as tall as its text.
void PlaceWrapped(QLabel *label, int left, int top, int width)
{
    label->setGeometry(left, top, width, label->heightForWidth(width));
}

} // namespace

TfrmManualFormatToolbar::TfrmManualFormatToolbar(QWidget *owner)
    : QDialog(owner), mState(std::make_unique<TManualFormatState>())
{
    // Opened for clicks on the plate: the main window keeps the focus.
    SetUpDialog(this, u"frmManualFormatToolbar"_s, TDialogKind::Floating);
    mState->OnChanged = [this] { SyncFromState(); };
    BuildControls();
    ConnectHandlers();
    Reset();
    WriteControlsToFile(u"ManualFormat"_s, this, nullptr, true, false);
}

TfrmManualFormatToolbar::~TfrmManualFormatToolbar()
{
    // The panels are shared and outlive this window: they keep no handler of it.
    for (TCBBlockPanelList *list : std::as_const(mHandledLists)) {
        for (int i = 0; i < list->Count(); ++i)
            list->GetItem(i)->SetOnClick(nullptr);
    }
    mState->OnChanged = nullptr;
    mState->ForgetSelectedBlock();
}

// ---- construction ------------------------------------------------------------------------------

void TfrmManualFormatToolbar::BuildControls()
{
    pnlHeader = Named(new QWidget(this), u"pnlHeader"_s);
    lblHeader = Named(new QLabel(pnlHeader), u"lblHeader"_s);
    lblHeader->setWordWrap(true);
    lblHeader->setAlignment(Qt::AlignCenter);

    pnlItemToAssign = Named(new QWidget(this), u"pnlItemToAssign"_s);
    grpItemToAssign = Named(new QGroupBox(pnlItemToAssign), u"grpItemToAssign"_s);
    rbStandards = Named(new QRadioButton(grpItemToAssign), u"rbStandards"_s);
    rbSubjectSamples = Named(new QRadioButton(grpItemToAssign), u"rbSubjectSamples"_s);

    pnlSamples = Named(new QWidget(this), u"pnlSamples"_s);
    grpRdSampleType = Named(new QGroupBox(pnlSamples), u"grpRdSampleType"_s);
    rbRdOneSample = Named(new QRadioButton(grpRdSampleType), u"rbRdOneSample"_s);
    rbRdAllSamples = Named(new QRadioButton(grpRdSampleType), u"rbRdAllSamples"_s);
    mSampleGroupBoxToUse = grpRdSampleType;

    pnlOrientation = Named(new QWidget(this), u"pnlOrientation"_s);
    grpOrientation = Named(new QGroupBox(pnlOrientation), u"grpOrientation"_s);
    rbVerticalO = Named(new QRadioButton(grpOrientation), u"rbVerticalO"_s);
    rbHorizontalO = Named(new QRadioButton(grpOrientation), u"rbHorizontalO"_s);
    rbRandomO = Named(new QRadioButton(grpOrientation), u"rbRandomO"_s);
    lblVHOText = Named(new QLabel(grpOrientation), u"lblVHOText"_s);
    lblRandomOText = Named(new QLabel(grpOrientation), u"lblRandomOText"_s);
    for (QLabel *label : {lblVHOText, lblRandomOText}) {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    pnlBoxLayoutStd = Named(new QWidget(grpOrientation), u"pnlBoxLayoutStd"_s);
    pnlBoxLayoutSample = Named(new QWidget(grpOrientation), u"pnlBoxLayoutSample"_s);
    pnlBoxLayoutStd->resize(kBoxWidth, kStandardPanelSize + 2);
    pnlBoxLayoutSample->resize(kBoxWidth, kStandardPanelSize + 2);

    pnlSubjectID = Named(new QWidget(this), u"pnlSubjectID"_s);
    grpSubjectID = Named(new QGroupBox(pnlSubjectID), u"grpSubjectID"_s);
    txtSubjectID = Named(new QLineEdit(grpSubjectID), u"txtSubjectID"_s);

    pnlButtons = Named(new QWidget(this), u"pnlButtons"_s);
    btnClearAll = Named(new QPushButton(pnlButtons), u"btnClearAll"_s);
    btnComplete = Named(new QPushButton(pnlButtons), u"btnComplete"_s);
    btnCancel = Named(new QPushButton(pnlButtons), u"btnCancel"_s);
    for (QPushButton *button : {btnClearAll, btnComplete, btnCancel})
        button->setAutoDefault(false);
}

void TfrmManualFormatToolbar::ConnectHandlers()
{
    // The radio buttons act on being checked, whichever way; Vertical and Horizontal share
    // their handler.
    const struct
    {
        QAbstractButton *button;
        void (TfrmManualFormatToolbar::*handler)();
    } choices[] = {
        {rbStandards, &TfrmManualFormatToolbar::rbStandardsClick},
        {rbSubjectSamples, &TfrmManualFormatToolbar::rbSubjectSamplesClick},
        {rbVerticalO, &TfrmManualFormatToolbar::rbVerticalOClick},
        {rbHorizontalO, &TfrmManualFormatToolbar::rbVerticalOClick},
        {rbRandomO, &TfrmManualFormatToolbar::rbRandomOClick},
        {rbRdOneSample, &TfrmManualFormatToolbar::rbRdOneSampleClick},
        {rbRdAllSamples, &TfrmManualFormatToolbar::rbRdAllSamplesClick},
    };
    for (const auto &choice : choices)
        OnChecked(choice.button, this, choice.handler);
    connect(btnComplete, &QPushButton::clicked, this,
            Guarded(this, &TfrmManualFormatToolbar::btnCompleteClick));
    connect(btnCancel, &QPushButton::clicked, this, Guarded(this, &TfrmManualFormatToolbar::btnCancelClick));
    connect(btnClearAll, &QPushButton::clicked, this,
            Guarded(this, &TfrmManualFormatToolbar::btnClearAllClick));
    auto *backToPlate = new QShortcut(QKeySequence(Qt::Key_F6), this);
    connect(backToPlate, &QShortcut::activated, this, [this] {
        if (parentWidget())
            parentWidget()->window()->activateWindow();
    });
    connect(txtSubjectID, &QLineEdit::textEdited, this,
            [this](const QString &text) { RunGuarded([&] { mState->SetCurrentIDForSample(text); }); });
}

void TfrmManualFormatToolbar::TakeKeyboard()
{
    raise();
    activateWindow();
    (rbStandards->isChecked() ? rbStandards : rbSubjectSamples)->setFocus(Qt::ShortcutFocusReason);
}

// ---- properties ----------------------------------------------------------------------------------

QString TfrmManualFormatToolbar::CurrentIDForSample() const
{
    return txtSubjectID->text();
}

void TfrmManualFormatToolbar::SetCurrentIDForSample(const QString &id)
{
    mState->SetCurrentIDForSample(id);
    txtSubjectID->setText(id);
}

// ---- reset, texts and layouts -----------------------------------------------------------------

void TfrmManualFormatToolbar::Reset()
{
    ResetStandardsOptions();
    ResetSamplesOptions();
    SetCheckedQuietly(rbSubjectSamples, true);
    rbSubjectSamplesClick();
    InitializeText();
    SetupFormLayout();
    mState->ForgetRandomProgress();
    SyncFromState();
}

void TfrmManualFormatToolbar::ResetStandardsOptions()
{
    CheckOrientation(TBlockOrientation::Vertical);
}

void TfrmManualFormatToolbar::ResetSamplesOptions()
{
    SetCheckedQuietly(rbRdOneSample, true);
    mState->SetAllSamples(false);
    CheckOrientation(TBlockOrientation::Vertical);
}

void TfrmManualFormatToolbar::CheckOrientation(TBlockOrientation orientation)
{
    QRadioButton *button = orientation == TBlockOrientation::Vertical     ? rbVerticalO
                           : orientation == TBlockOrientation::Horizontal ? rbHorizontalO
                                                                          : rbRandomO;
    SetCheckedQuietly(button, true);
    mState->SetOrientation(orientation);
    ApplyOrientation();
}

void TfrmManualFormatToolbar::InitializeText()
{
    setWindowTitle(QString());
    const struct
    {
        QWidget *control;
        int id;
    } texts[] = {
        {btnCancel, 69},      {btnComplete, 164},   {grpItemToAssign, 166}, {lblHeader, 165},
        {rbHorizontalO, 170}, {rbRandomO, 172},     {rbStandards, 127},     {rbSubjectSamples, 167},
        {rbVerticalO, 169},   {rbRdOneSample, 366}, {rbRdAllSamples, 367},
    };
    for (const auto &text : texts)
        SetControlText(text.control, text.id, false);
    QFont header = lblHeader->font();
    header.setBold(true);
    lblHeader->setFont(header);
    QFont complete = btnComplete->font();
    complete.setPointSize(CurrentFontSize(FORMAT_NORMAL));
    btnComplete->setFont(complete);
    SetItemFonts(!rbSubjectSamples->isChecked());
    SetItemTexts();
}

void TfrmManualFormatToolbar::SetItemFonts(bool standardsActive)
{
    const auto apply = [](QRadioButton *button, bool active) {
        QFont font = button->font();
        font.setPointSize(CurrentFontSize(active ? FORMAT_ACTIVE : FORMAT_NORMAL));
        font.setBold(active);
        button->setFont(font);
    };
    apply(rbStandards, standardsActive);
    apply(rbSubjectSamples, !standardsActive);
}

void TfrmManualFormatToolbar::SetItemTexts()
{
    pnlOrientation->show();
    if (!rbSubjectSamples->isChecked()) {
        SetControlText(btnClearAll, 174, false);
        SetControlText(grpOrientation, 168, false);
        SetControlText(lblRandomOText, 173, false);
        SetControlText(lblVHOText, 171, false);
        return;
    }
    // Orientation and sample panels stay out of sight for samples.
    pnlOrientation->hide();
    SetControlText(grpSubjectID, UiText(TextId::SubjectId).replace(u' ', QChar(0x00A0)), CONTROL_GROUPBOX);
    SetControlText(btnClearAll, 178, false);
    SetControlText(grpOrientation, 276, false);
    SetControlText(lblRandomOText, 177, false);
    SetControlText(lblVHOText, 176, false);
}

void TfrmManualFormatToolbar::SetupFormLayout()
{
    CreateAndDrawStandardBoxes();
    CreateAndDrawSampleBoxes();
    if (rbStandards->isChecked())
        SetupStandardsFormLayout();
    else if (rbSubjectSamples->isChecked())
        SetupSamplesFormLayout();
    else
        throw MarnovelException(u"SetupFormLayout(): Standards or Samples not selected."_s);
}

void TfrmManualFormatToolbar::SetupStandardsFormLayout()
{
    SetItemTexts();
    SetItemFonts(true);
    pnlSamples->hide();
    pnlBoxLayoutSample->hide();
    pnlSubjectID->hide();
    pnlBoxLayoutStd->show();
    ArrangeLayout();
}

void TfrmManualFormatToolbar::SetupSamplesFormLayout()
{
    SetItemTexts();
    SetItemFonts(false);
    pnlBoxLayoutStd->hide();
    pnlSubjectID->show();
    pnlBoxLayoutSample->show();
    pnlSamples->show();
    mSampleGroupBoxToUse = grpRdSampleType;
    SetControlText(grpRdSampleType, 175, false);
    // Every switch to samples starts at Single Sample.
    SetCheckedQuietly(rbRdOneSample, true);
    mState->SetAllSamples(false);
    ArrangeLayout();
}

void TfrmManualFormatToolbar::RefreshLayout()
{
    InitializeText();
    if (rbStandards->isChecked())
        SetupStandardsFormLayout();
    else
        SetupSamplesFormLayout();
}

int TfrmManualFormatToolbar::RoundEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

void TfrmManualFormatToolbar::ArrangeLayout()
{
    const int gap = std::max(1, lblVHOText->font().pointSize());
    const int itemLeft = kGroupMargin + kGroupInset;
    int width = std::max({ToolbarWidth, 2 * itemLeft + rbStandards->sizeHint().width(),
                          2 * itemLeft + rbSubjectSamples->sizeHint().width()});
    const int groupWidth = width - 2 * kGroupMargin;

    // A title longer than the window takes two lines rather than being cut.
    const int titleWidth =
        std::min(lblHeader->fontMetrics().horizontalAdvance(lblHeader->text()) + 2, width - 2 * kGroupMargin);
    lblHeader->resize(titleWidth, lblHeader->heightForWidth(titleWidth));
    pnlHeader->setGeometry(0, 0, width, lblHeader->height() + gap);

    // Two radio buttons one above the other in a group box as wide as the window allows.
    const auto stackPair = [&](QWidget *panel, QGroupBox *group, QRadioButton *first, QRadioButton *second) {
        const int top = ContentTop(group);
        PlaceAtPreferredSize(first, kGroupInset, top);
        PlaceAtPreferredSize(second, kGroupInset, first->y() + first->height() + kRadioGap);
        const int height = second->y() + second->height() + gap / 2 + 2;
        group->setGeometry(kGroupMargin, 0, groupWidth, height);
        panel->resize(width, height);
    };
    stackPair(pnlItemToAssign, grpItemToAssign, rbStandards, rbSubjectSamples);
    stackPair(pnlSamples, grpRdSampleType, rbRdOneSample, rbRdAllSamples);

    // Orientation: the choices on the left, each explained on its right; the panels below.
    const int top = ContentTop(grpOrientation);
    PlaceAtPreferredSize(rbVerticalO, kGroupInset, top);
    PlaceAtPreferredSize(rbHorizontalO, kGroupInset, rbVerticalO->y() + rbVerticalO->height() + kRadioGap);
    const int choices = std::max(
        {rbVerticalO->sizeHint().width(), rbHorizontalO->sizeHint().width(), rbRandomO->sizeHint().width()});
    const int textLeft = kGroupInset + choices + kTextGap;
    const int textWidth = std::max(1, groupWidth - textLeft - kGroupInset);
    PlaceWrapped(lblVHOText, textLeft, top, textWidth);
    const int randomTop =
        std::max(lblVHOText->y() + lblVHOText->height(), rbHorizontalO->y() + rbHorizontalO->height()) + gap;
    PlaceAtPreferredSize(rbRandomO, kGroupInset, randomTop);
    PlaceWrapped(lblRandomOText, textLeft, randomTop, textWidth);
    QWidget *box = pnlBoxLayoutStd->isHidden() ? pnlBoxLayoutSample : pnlBoxLayoutStd;
    const int boxTop = randomTop + std::max(lblRandomOText->height(), rbRandomO->height()) + 2 * gap;
    for (QWidget *layoutBox : {pnlBoxLayoutStd, pnlBoxLayoutSample})
        layoutBox->move(RoundEven((width - layoutBox->width()) / 2.0) - kGroupMargin, boxTop);
    const int orientationHeight = box->y() + box->height() + gap;
    grpOrientation->setGeometry(kGroupMargin, 0, groupWidth, orientationHeight);
    pnlOrientation->resize(width, pnlOrientation->isHidden() ? 0 : orientationHeight);

    const int editTop = ContentTop(grpSubjectID);
    txtSubjectID->setGeometry(kGroupInset, editTop, groupWidth - 2 * kGroupInset,
                              txtSubjectID->sizeHint().height());
    const int subjectHeight = txtSubjectID->y() + txtSubjectID->height() + gap;
    grpSubjectID->setGeometry(kGroupMargin, 0, groupWidth, subjectHeight);
    pnlSubjectID->resize(width, subjectHeight);

    // Stacked top to bottom, a gap apart.
    pnlItemToAssign->move(0, pnlHeader->height() + gap);
    int bottom = pnlItemToAssign->y() + pnlItemToAssign->height();
    if (!pnlSamples->isHidden()) {
        pnlSamples->move(0, bottom + gap);
        bottom = pnlSamples->y() + pnlSamples->height();
    }
    pnlOrientation->move(0, bottom + gap);
    bottom = pnlOrientation->y() + pnlOrientation->height();
    if (!pnlSubjectID->isHidden()) {
        pnlSubjectID->move(0, pnlOrientation->isHidden() ? bottom : bottom + gap);
        bottom = pnlSubjectID->y() + pnlSubjectID->height();
    }

    const int buttonHeight = btnComplete->sizeHint().height();
    btnClearAll->resize(ButtonWidthForText(btnClearAll, kMinClearAllWidth), buttonHeight);
    const int sideBySide = std::max(ButtonWidthForText(btnComplete, kMinButtonWidth),
                                    ButtonWidthForText(btnCancel, kMinButtonWidth));
    btnComplete->setGeometry(0, buttonHeight + gap / 2, sideBySide, buttonHeight);
    btnCancel->setGeometry(0, btnComplete->y(), sideBySide, buttonHeight);
    pnlButtons->setGeometry(0, bottom + gap, width, btnComplete->y() + buttonHeight + gap);

    setFixedSize(width, pnlButtons->y() + pnlButtons->height());
    CentreControls();
}

void TfrmManualFormatToolbar::CentreControls()
{
    const int width = this->width();
    const int completeLeft = RoundEven((width - btnComplete->width() - btnCancel->width()) / 3.0);
    btnComplete->move(completeLeft, btnComplete->y());
    btnCancel->move(width - btnCancel->width() - completeLeft, btnCancel->y());
    btnClearAll->move(RoundEven((width - btnClearAll->width()) / 2.0), 0);
    lblHeader->move(RoundEven(width / 2.0) - RoundEven(lblHeader->width() / 2.0) - 2,
                    (pnlHeader->height() - lblHeader->height()) / 2);
}

// ---- block panels --------------------------------------------------------------------------------

TBlockPanelWidget *TfrmManualFormatToolbar::NewPanelWidget(TBaseSelectBlockPanel *panel, QWidget *box)
{
    auto *widget = new TBlockPanelWidget(panel, box);
    widget->setObjectName((panel->IsStdBlockPanel() ? u"StdPanel"_s : u"SamplePanel"_s) +
                          QString::number(panel->ID()));
    panel->SetOnClick([this](TBaseSelectBlockPanel *sender) { mState->OnBlockClick(sender); });
    connect(widget, &TBlockPanelWidget::clicked, this, &TfrmManualFormatToolbar::SyncFromState);
    widget->show();
    return widget;
}

void TfrmManualFormatToolbar::ClearPanelWidgets(QList<TBlockPanelWidget *> &widgets)
{
    for (TBlockPanelWidget *widget : std::as_const(widgets)) {
        delete widget;
    }
    widgets.clear();
}

void TfrmManualFormatToolbar::CreateAndDrawStandardBoxes()
{
    ClearPanelWidgets(mStandardWidgets);
    TCBBlockPanelList &list = TStdPanel::GetBlockList();
    if (!mHandledLists.contains(&list))
        mHandledLists << &list;
    const int count = list.Count();
    const int boxWidth = pnlBoxLayoutStd->width();
    if (count > 4) {
        // Two rows of four.
        pnlBoxLayoutStd->resize(boxWidth, 82);
        const int left = RoundEven(boxWidth / 2.0 - count / 2.0 * StandardPanelPitch / 2.0);
        for (int i = 0; i < count; ++i) {
            TBlockPanelWidget *widget = NewPanelWidget(list.GetItem(i), pnlBoxLayoutStd);
            widget->setGeometry(left + StandardPanelPitch * (i % 4), i < 4 ? 1 : 1 + StandardPanelPitch,
                                kStandardPanelSize, kStandardPanelSize);
            mStandardWidgets << widget;
        }
    } else {
        pnlBoxLayoutStd->resize(boxWidth, kStandardPanelSize + 2);
        const int left = RoundEven((boxWidth - count * StandardPanelPitch) / 2.0);
        for (int i = 0; i < count; ++i) {
            TBlockPanelWidget *widget = NewPanelWidget(list.GetItem(i), pnlBoxLayoutStd);
            widget->setGeometry(left + StandardPanelPitch * i, 1, kStandardPanelSize, kStandardPanelSize);
            mStandardWidgets << widget;
        }
    }
    // A new list of standards: its panels show the orientation, and no label of the list
    // it replaced is placed any more.
    if (mState->StandardsSelected()) {
        mState->ForgetRandomProgress();
        mState->ApplyOrientation();
    }
}

void TfrmManualFormatToolbar::CreateAndDrawSampleBoxes()
{
    ClearPanelWidgets(mSampleWidgets);
    if (!rbRdOneSample->isChecked() && !rbRdAllSamples->isChecked())
        throw MarnovelException(BuildExceptionMessage(u"TfrmManualFormatToolbar.CreateAndDrawSampleBoxes"_s,
                                                      QString(), u"Error: Invalid Sample Type"_s));
    // Single and All Samples both place research samples.
    TCBBlockPanelList &list = TCBBlockPanelList::GetListForCriteriaType(CT_RESEARCH_SAMPLE);
    if (!mHandledLists.contains(&list))
        mHandledLists << &list;
    const int count = list.Count();
    const int boxWidth = pnlBoxLayoutSample->width();
    const int left = RoundEven(boxWidth * 0.5 - count * SamplePanelWidth * 0.5);
    for (int i = 0; i < count; ++i) {
        TBlockPanelWidget *widget = NewPanelWidget(list.GetItem(i), pnlBoxLayoutSample);
        widget->setGeometry(left + SamplePanelWidth * i, 1, SamplePanelWidth, kStandardPanelSize);
        mSampleWidgets << widget;
    }
    pnlBoxLayoutSample->resize(boxWidth, kStandardPanelSize + 2);
    list.UpdateColors();
    ApplyOrientation();
}

void TfrmManualFormatToolbar::RefreshPanels()
{
    TCBBlockPanelList::GetListForCriteriaType(CT_RESEARCH_SAMPLE).UpdateColors();
    for (TBlockPanelWidget *widget : std::as_const(mSampleWidgets))
        widget->update();
}

// ---- orientation and progress ----------------------------------------------------------------

void TfrmManualFormatToolbar::ApplyOrientation()
{
    mState->ApplyOrientation();
}

void TfrmManualFormatToolbar::EnableOptionControls(bool enable)
{
    for (QWidget *control :
         {static_cast<QWidget *>(grpOrientation), static_cast<QWidget *>(mSampleGroupBoxToUse),
          static_cast<QWidget *>(grpItemToAssign), static_cast<QWidget *>(btnClearAll)})
        control->setEnabled(enable);
}

void TfrmManualFormatToolbar::SyncFromState()
{
    QRadioButton *orientation = mState->Orientation() == TBlockOrientation::Vertical     ? rbVerticalO
                                : mState->Orientation() == TBlockOrientation::Horizontal ? rbHorizontalO
                                                                                         : rbRandomO;
    if (!orientation->isChecked())
        SetCheckedQuietly(orientation, true);
    // While a block is placed label by label, nothing else may be chosen.
    EnableOptionControls(!mState->IsRandomOrientationStarted());
    if (txtSubjectID->text() != mState->CurrentIDForSample())
        txtSubjectID->setText(mState->CurrentIDForSample());
    for (const QList<TBlockPanelWidget *> *widgets : {&mStandardWidgets, &mSampleWidgets})
        for (TBlockPanelWidget *widget : *widgets)
            widget->update();
}

// ---- handlers -------------------------------------------------------------------------------------

void TfrmManualFormatToolbar::rbStandardsClick()
{
    mState->SetItem(TFormatItem::Standards);
    SetupStandardsFormLayout();
    ApplyOrientation();
}

void TfrmManualFormatToolbar::rbSubjectSamplesClick()
{
    mState->SetItem(TFormatItem::Samples);
    SetupSamplesFormLayout();
    ApplyOrientation();
    SetCurrentIDForSample(OWCellBlockBase::GetCurrentSubjectIdStr());
}

void TfrmManualFormatToolbar::rbVerticalOClick()
{
    mState->SetOrientation(rbHorizontalO->isChecked() ? TBlockOrientation::Horizontal
                                                      : TBlockOrientation::Vertical);
    ApplyOrientation();
}

void TfrmManualFormatToolbar::rbRandomOClick()
{
    mState->SetOrientation(TBlockOrientation::Random);
    ApplyOrientation();
}

void TfrmManualFormatToolbar::rbRdOneSampleClick()
{
    rbRdAllSamples->setChecked(false);
    mState->SetAllSamples(false);
}

void TfrmManualFormatToolbar::rbRdAllSamplesClick()
{
    rbRdOneSample->setChecked(false);
    mState->SetAllSamples(true);
}

void TfrmManualFormatToolbar::btnCompleteClick()
{
    if (mState->IsRandomOrientationStarted()) {
        ShowErrorMessage(UiText(TextId::RandomBlockIncomplete));
        return;
    }
    close();
}

void TfrmManualFormatToolbar::btnCancelClick()
{
    mKeepOpen = false;
    Q_EMIT cancelClicked();
    if (!mKeepOpen)
        close();
}

void TfrmManualFormatToolbar::btnClearAllClick()
{
    Q_EMIT clearAllClicked();
    if (rbStandards->isChecked()) {
        ResetStandardsOptions();
    } else {
        ResetSamplesOptions();
    }
}

// ---- window events --------------------------------------------------------------------------------

void TfrmManualFormatToolbar::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // It always opens on Standards.
    RunGuarded([this] {
        SetCurrentIDForSample(OWCellBlockBase::GetCurrentSubjectIdStr());
        SetupFormLayout();
        SetupSamplesFormLayout();
        SetupStandardsFormLayout();
        SetCheckedQuietly(rbStandards, true);
        rbStandardsClick();
    });
}

void TfrmManualFormatToolbar::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    if (event->spontaneous())
        return;
    // Closed from the keyboard: the keys go back to the plate.
    if ((!QApplication::activeWindow() || QApplication::activeWindow() == this) && parentWidget())
        parentWidget()->window()->activateWindow();
    Q_EMIT hidden();
}

void TfrmManualFormatToolbar::closeEvent(QCloseEvent *event)
{
    AnswerCloseQuery(event, [this] {
        mKeepOpen = false;
        Q_EMIT closeRequested();
        return !mKeepOpen;
    });
}

void TfrmManualFormatToolbar::reject()
{
    // Escape closes the window as its close box does.
    close();
}
