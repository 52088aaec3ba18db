#include "ManualDataEntryForm.h"

#include "core/Messages.h"
#include "core/TextIds.h"
#include "core/UiTextManager.h"
#include "platform/DialogSetup.h"
#include "platform/ExceptionBoundary.h"
#include "platform/WindowTools.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QWindowStateChangeEvent>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int kMargin = 10;
constexpr int kGap = 8;
constexpr int kMinButtonWidth = 90;

} // namespace

TfrmManualDataEntryForm::TfrmManualDataEntryForm(QWidget *owner) : QDialog(owner), mOwner(owner)
{
    // Shown while the operator types in the grid: it must not take the focus from there.
    SetUpDialog(this, u"frmManualDataEntryForm"_s, TDialogKind::Floating);

    lblManualDataEntry = Named(new QLabel(this), u"lblManualDataEntry"_s);
    btnClearAllValues = Named(new QPushButton(this), u"btnClearAllValues"_s);
    btnComplete = Named(new QPushButton(this), u"btnComplete"_s);
    btnCancel = Named(new QPushButton(this), u"btnCancel"_s);
    for (QPushButton *button : {btnClearAllValues, btnComplete, btnCancel})
        button->setAutoDefault(false);

    connect(btnClearAllValues, &QPushButton::clicked, this,
            Guarded(this, &TfrmManualDataEntryForm::btnClearAllValuesClick));
    connect(btnComplete, &QPushButton::clicked, this,
            Guarded(this, &TfrmManualDataEntryForm::btnCompleteClick));
    connect(btnCancel, &QPushButton::clicked, this, Guarded(this, &TfrmManualDataEntryForm::btnCancelClick));
    if (mOwner)
        mOwner->installEventFilter(this);
    InitializeText();
}

void TfrmManualDataEntryForm::InitializeText()
{
    setWindowTitle(QString());
    SetControlText(lblManualDataEntry, 157, false);
    SetControlText(btnClearAllValues, 163, false);
    SetControlText(btnComplete, 164, false);
    SetControlText(btnCancel, 69, false);
    LayoutControls();
}

void TfrmManualDataEntryForm::LayoutControls()
{
    const int buttonWidth = std::max(ButtonWidthForText(btnComplete, kMinButtonWidth),
                                     ButtonWidthForText(btnCancel, kMinButtonWidth));
    const int buttonHeight = btnComplete->sizeHint().height();
    const int width = std::max({2 * kMargin + 2 * buttonWidth + kGap,
                                2 * kMargin + ButtonWidthForText(btnClearAllValues, 0),
                                2 * kMargin + lblManualDataEntry->sizeHint().width()});

    lblManualDataEntry->adjustSize();
    lblManualDataEntry->move(width / 2 - lblManualDataEntry->width() / 2, kMargin);
    int top = lblManualDataEntry->y() + lblManualDataEntry->height() + kGap;
    btnClearAllValues->setGeometry(kMargin, top, width - 2 * kMargin, buttonHeight);
    top += buttonHeight + kGap;
    const int halfWidth = (width - 2 * kMargin - kGap) / 2;
    btnComplete->setGeometry(kMargin, top, halfWidth, buttonHeight);
    btnCancel->setGeometry(width - kMargin - halfWidth, top, halfWidth, buttonHeight);
    // Once placed, the window keeps its top-right corner when its texts make it wider.
    const int right = x() + this->width();
    setFixedSize(width, top + buttonHeight + kMargin);
    if (fFormsPositionedRelativeToMainForm)
        move(right - width, y());
}

void TfrmManualDataEntryForm::btnClearAllValuesClick()
{
    Q_EMIT clearAllClicked();
}

void TfrmManualDataEntryForm::btnCompleteClick()
{
    mCompletePressed = true;
    close();
}

void TfrmManualDataEntryForm::btnCancelClick()
{
    const TModalResult answer =
        ShowMessageDialog(UiText(TextId::DataNotSavedContinue), TMsgDlgType::mtConfirmation,
                          TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo, 0);
    if (answer != TModalResult::mrYes)
        return;
    mCompletePressed = false;
    close();
}

void TfrmManualDataEntryForm::closeEvent(QCloseEvent *event)
{
    AnswerCloseQuery(event, [this] {
        mKeepOpen = false;
        Q_EMIT closeRequested(mCompletePressed);
        return !mKeepOpen;
    });
}

void TfrmManualDataEntryForm::reject()
{
    // Escape closes the window as its close box does, through the owner's decision.
    close();
}

QPoint TfrmManualDataEntryForm::CornerPosition(const QRect &ownerFrame, const QSize &frameSize)
{
    return QPoint(ownerFrame.right() + 1 - frameSize.width(), ownerFrame.top());
}

void TfrmManualDataEntryForm::PlaceAtOwnerCorner()
{
    move(CornerPosition(mOwner->frameGeometry(), frameGeometry().size()));
}

bool TfrmManualDataEntryForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mOwner) {
        if (event->type() == QEvent::WindowActivate && !fFormsPositionedRelativeToMainForm) {
            fFormsPositionedRelativeToMainForm = true;
            PlaceAtOwnerCorner();
        } else if (event->type() == QEvent::WindowStateChange) {
            const auto *change = static_cast<QWindowStateChangeEvent *>(event);
            if (change->oldState().testFlag(Qt::WindowMinimized) && !mOwner->isMinimized() && isVisible())
                raise();
        }
    }
    return QDialog::eventFilter(watched, event);
}
