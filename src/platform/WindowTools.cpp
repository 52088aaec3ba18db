#include "WindowTools.h"

#include "core/Exceptions.h"
#include "core/UiTextManager.h"
#include "platform/ExceptionBoundary.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

// The tab widget whose page `control` is, or nullptr.
QTabWidget *OwningTabWidget(QWidget *control)
{
    auto *stack = qobject_cast<QStackedWidget *>(control->parentWidget());
    auto *tabs = stack ? qobject_cast<QTabWidget *>(stack->parentWidget()) : nullptr;
    return tabs && tabs->indexOf(control) >= 0 ? tabs : nullptr;
}

bool IsButton(const QWidget *control)
{
    return qobject_cast<const QPushButton *>(control) || qobject_cast<const QToolButton *>(control);
}

// Labels, group boxes (radio groups too), radio buttons and check boxes.
bool IsCaptionedControl(const QWidget *control)
{
    return qobject_cast<const QLabel *>(control) || qobject_cast<const QGroupBox *>(control) ||
           qobject_cast<const QRadioButton *>(control) || qobject_cast<const QCheckBox *>(control);
}

void SetPointSize(QWidget *control, int pointSize)
{
    QFont font = control->font();
    font.setPointSize(pointSize);
    control->setFont(font);
}

void SetCaption(QWidget *control, const QString &text)
{
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        button->setText(text);
    else if (auto *label = qobject_cast<QLabel *>(control)) {
        // Catalogue texts are never markup ("<" and "&" are shown as they are).
        label->setTextFormat(Qt::PlainText);
        label->setText(text);
    } else if (auto *group = qobject_cast<QGroupBox *>(control))
        group->setTitle(text);
}

QString ControlName(const QWidget *control)
{
    return control ? control->objectName() : QString();
}

} // namespace

void SetCheckedQuietly(QAbstractButton *button, bool checked)
{
    const QSignalBlocker quiet(button);
    button->setChecked(checked);
}

void AnswerCloseQuery(QCloseEvent *event, const std::function<bool()> &allowClose)
{
    bool allowed = true;
    RunGuarded([&] {
        if (allowClose)
            allowed = allowClose();
    });
    if (allowed)
        event->accept();
    else
        event->ignore();
}

void SetControlText(QWidget *control, const QString &text, bool showHint, FONTUSAGE usage,
                    const QString &hint)
{
    const bool hintShown = showHint && !hint.isEmpty() && hint != text;
    const int charset = GetTranslationManager().DetermineCharset();
    const int pointSize = GetFontManager().DetermineFontSize(charset, usage);
    // Catalogue line breaks arrive as "\n" escapes or CR LF; Qt breaks lines at LF alone.
    QString caption = text;
    caption.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    caption.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));

    if (!control)
        throw MarnovelException(QStringLiteral("SetControlText(): Control  not handled."));
    if (QTabWidget *tabs = OwningTabWidget(control)) {
        SetPointSize(tabs, pointSize);
        SetPointSize(control, tabs->font().pointSize());
        const int index = tabs->indexOf(control);
        tabs->setTabText(index, caption);
        tabs->setTabToolTip(index, QString());
        return;
    }
    if (!IsButton(control) && !IsCaptionedControl(control))
        throw MarnovelException(QStringLiteral("SetControlText(): Control ") + ControlName(control) +
                                QStringLiteral(" not handled."));
    SetPointSize(control, pointSize);
    SetCaption(control, caption);
    control->setToolTip(hintShown ? hint : QString());
}

void SetControlText(QWidget *control, const QString &text, FONTUSAGE usage)
{
    SetControlText(control, text, false, usage, QString());
}

void SetControlText(QWidget *control, int id, FONTUSAGE usage, bool showHint)
{
    const TTranslationManager &catalogue = GetTranslationManager();
    SetControlText(control, catalogue.GetUiText(id), showHint, usage, catalogue.GetTooltipText(id));
}

void SetControlText(QWidget *control, int id, bool showHint)
{
    SetControlText(control, id, qobject_cast<QGroupBox *>(control) ? CONTROL_GROUPBOX : CONTROL_DEFAULT,
                   showHint);
}

bool SetFocusIfEnabled(QWidget *control)
{
    if (!control || !control->isVisible() || !control->isEnabled())
        return false;
    QTabWidget *tabs = OwningTabWidget(control);
    const bool focusable = tabs || qobject_cast<QAbstractButton *>(control) ||
                           qobject_cast<QComboBox *>(control) || qobject_cast<QLineEdit *>(control) ||
                           qobject_cast<QGroupBox *>(control) || qobject_cast<QAbstractItemView *>(control);
    if (!focusable)
        throw MarnovelException(QStringLiteral("SetFocusIfEnabled(): Control ") + ControlName(control) +
                                QStringLiteral(" not handled."));
    if (tabs)
        tabs->setCurrentWidget(control);
    control->setFocus(Qt::OtherFocusReason);
    return true;
}

bool IsShiftDown()
{
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}

QPixmap GetScreenShotForWindowArea(QWidget *window)
{
    return window ? window->grab() : QPixmap();
}

std::vector<TButtonPlace> ButtonRowPlaces(int n, int left, int width, int extra, bool alignLast, int gap)
{
    std::vector<TButtonPlace> places;
    if (n <= 0 || n + extra <= 0)
        return places;
    // Integer division truncates towards zero, as the rule asks.
    const int buttonWidth = (width - gap * (n + 1)) / (n + extra);
    for (int i = 0; i < n; ++i)
        places.push_back({left + gap + i * (buttonWidth + gap), buttonWidth});
    if (alignLast)
        places.back().left = width - places.front().left - buttonWidth;
    return places;
}

void LayoutButtonRow(const QList<QWidget *> &buttons, int left, int width, int extra, bool alignLast, int gap)
{
    const std::vector<TButtonPlace> places =
        ButtonRowPlaces(static_cast<int>(buttons.size()), left, width, extra, alignLast, gap);
    for (size_t i = 0; i < places.size(); ++i) {
        QWidget *button = buttons.at(static_cast<qsizetype>(i));
        if (button)
            button->setGeometry(places[i].left, button->y(), qMax(0, places[i].width), button->height());
    }
}

void SetButtonHeights(const QList<QWidget *> &buttons, int height)
{
    for (QWidget *button : buttons) {
        if (button)
            button->resize(button->width(), qMax(0, height));
    }
}

int GroupBoxCaptionHeight(const QWidget *window, const QGroupBox *groupBox)
{
    Q_UNUSED(window); // the group box's own font decides
    if (!groupBox)
        return 0;
    return QFontMetrics(groupBox->font()).height() + (groupBox->isFlat() ? 0 : 1);
}

int CaptionWidth(const QWidget *window)
{
    if (!window)
        return 0;
    // The program sets no display name, which the window system would append; an empty
    // caption shows the program's name.
    QString caption = window->windowTitle();
    if (caption.isEmpty())
        caption = QCoreApplication::applicationName();
    QFont bold = window->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    // Icon and three buttons, each about as wide as the bar is high, and the bar's margins.
    return metrics.horizontalAdvance(caption) + 4 * (metrics.height() + 8) + 16;
}

QPoint RestoredWindowPosition(const QPoint &saved, const QSize &frameSize, const QList<QRect> &screens,
                              const QRect &home)
{
    // How much of the top strip must show so that it can be grabbed.
    constexpr qint64 kGrip = 40;
    const qint64 gripWidth = std::clamp<qint64>(frameSize.width(), 1, kGrip);
    const qint64 gripHeight = std::clamp<qint64>(frameSize.height(), 1, kGrip);
    const qint64 left = saved.x();
    const qint64 top = saved.y();
    const qint64 right = left + std::max(frameSize.width(), 0);
    const bool nothingSaved = saved.x() == -1 || saved.y() == -1;
    const bool grippable = std::any_of(screens.begin(), screens.end(), [&](const QRect &screen) {
        const qint64 screenLeft = screen.x();
        const qint64 screenTop = screen.y();
        const qint64 screenRight = screenLeft + screen.width();
        const qint64 screenBottom = screenTop + screen.height();
        const qint64 shown = std::min(right, screenRight) - std::max(left, screenLeft);
        return shown >= gripWidth && top >= screenTop && top + gripHeight <= screenBottom;
    });
    if (!nothingSaved && grippable)
        return saved;
    QRect frame(QPoint(0, 0), frameSize);
    frame.moveCenter(home.center());
    return frame.topLeft();
}
