#pragma once

#include <QDate>
#include <QWidget>

class QCalendarWidget;
class QLineEdit;
class QToolButton;

// A date shown in the long date format of the regional settings (the program's own
// formatting, the same as in files and reports), chosen from a drop-down calendar.
class TRunDatePicker : public QWidget
{
    Q_OBJECT

public:
    explicit TRunDatePicker(QWidget *parent = nullptr);

    QDate date() const { return mDate; }
    void setDate(const QDate &date);
    // The text shown, for tests and accessibility.
    QString text() const;
    // Opens the calendar below the field.
    void ShowCalendar();

Q_SIGNALS:
    void dateChanged(const QDate &date);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void ShowText();

    QDate mDate;
    QLineEdit *mText;
    QToolButton *mDropDown;
    QCalendarWidget *mCalendar = nullptr;
};
