#include "RunDatePicker.h"

#include "core/Tool.h"
#include "platform/ExceptionBoundary.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

TRunDatePicker::TRunDatePicker(QWidget *parent)
    : QWidget(parent), mDate(QDate::currentDate()), mText(new QLineEdit(this)),
      mDropDown(new QToolButton(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(mText, 1);
    layout->addWidget(mDropDown);
    mText->setReadOnly(true);
    mText->setFocusProxy(this);
    mDropDown->setArrowType(Qt::DownArrow);
    mDropDown->setFocusPolicy(Qt::NoFocus);
    setFocusPolicy(Qt::ClickFocus); // not on the Tab walk
    connect(mDropDown, &QToolButton::clicked, this, Guarded(this, &TRunDatePicker::ShowCalendar));
    ShowText();
}

void TRunDatePicker::setDate(const QDate &date)
{
    if (!date.isValid() || date == mDate)
        return;
    mDate = date;
    ShowText();
    Q_EMIT dateChanged(mDate);
}

QString TRunDatePicker::text() const
{
    return mText->text();
}

void TRunDatePicker::ShowText()
{
    mText->setText(FormatDate(LongDateFormatPattern(), mDate));
    mText->setCursorPosition(0);
}

void TRunDatePicker::ShowCalendar()
{
    if (!mCalendar) {
        mCalendar = new QCalendarWidget(this);
        mCalendar->setWindowFlags(Qt::Popup);
        mCalendar->setGridVisible(true);
        connect(mCalendar, &QCalendarWidget::clicked, this, Guarded(this, &TRunDatePicker::setDate));
        connect(mCalendar, &QCalendarWidget::activated, this, [this](const QDate &date) {
            RunGuarded([&] { setDate(date); });
            mCalendar->hide();
        });
        connect(mCalendar, &QCalendarWidget::clicked, mCalendar, &QWidget::hide);
    }
    mCalendar->setSelectedDate(mDate);
    mCalendar->adjustSize();
    mCalendar->move(mapToGlobal(QPoint(0, height())));
    mCalendar->show();
    mCalendar->setFocus();
}

void TRunDatePicker::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        setDate(mDate.addDays(1));
        break;
    case Qt::Key_Down:
        if (event->modifiers() & Qt::AltModifier)
            ShowCalendar();
        else
            setDate(mDate.addDays(-1));
        break;
    case Qt::Key_F4:
        ShowCalendar();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TRunDatePicker::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        mText->setFont(font());
}
