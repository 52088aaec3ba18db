#include "ManualDataEntryForm.h"

#include "core/Messages.h"
#include "core/TextIds.h"
#include "core/UiTextManager.h"
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
constexpr int kButtonPadding = 24;
constexpr int kMinButtonWidth = 90;

} // namespace

TfrmManualDataEntryForm::TfrmManualDataEntryForm(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      mOwner(owner)
{
    setObjectName(u"frmManualDataEntryForm"_s);
    setModal(false);
    // Shown while the operator types in the grid: it must not take the focus from there.
    setAttribute(Qt::WA_ShowWithoutActivating);

    lblManualDataEntry = new QLabel(this);
    lblManualDataEntry->setObjectName(u"lblManualDataEntry"_s);
    btnClearAllValues = new QPushButton(this);
    btnClearAllValues->setObjectName(u"btnClearAllValues"_s);
    btnComplete = new QPushButton(this);
    btnComplete->setObjectName(u"btnComplete"_s);
    btnCancel = new QPushButton(this);
    btnCancel->setObjectName(u"btnCancel"_s);
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
    const auto textWidth = [](QWidget *control, const QString &text) {
        return control->fontMetrics().horizontalAdvance(QString(text).remove(u'&'));
    };
    const int buttonWidth =
        std::max({kMinButtonWidth, textWidth(btnComplete, btnComplete->text()) + kButtonPadding,
                  textWidth(btnCancel, btnCancel->text()) + kButtonPadding});
    const int buttonHeight = btnComplete->sizeHint().height();
    const int width =
        std::max({2 * kMargin + 2 * buttonWidth + kGap,
                  2 * kMargin + textWidth(btnClearAllValues, btnClearAllValues->text()) + kButtonPadding,
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
