#include "PageControl.h"

#include "PanelGeometry.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>

#include <algorithm>
#include <cmath>

namespace {

// Pixel layout rounds halves to even, as std::nearbyint does in the default rounding mode.
int RoundPixels(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

QFont CaptionFont(const QFont &font, bool active)
{
    QFont result = font;
    result.setBold(active);
    return result;
}

} // namespace

TPageTabBar::TPageTabBar(QWidget *parent) : QTabBar(parent)
{
    setDrawBase(false);
    setExpanding(false);
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
}

void TPageTabBar::SetTabWidth(int width)
{
    if (width == mTabWidth)
        return;
    mTabWidth = width;
    // A changed size hint is only taken when the bar lays its tabs out again, which a
    // change of the elide mode forces.
    setElideMode(Qt::ElideRight);
    setElideMode(Qt::ElideNone);
    updateGeometry();
    update();
}

bool TPageTabBar::MayChangeTo(int index) const
{
    if (index == currentIndex() || index < 0 || index >= count())
        return true;
    return !ChangeGuard || ChangeGuard(index);
}

int TPageTabBar::CaptionLeft(const QRect &tab, int textWidth)
{
    return tab.left() + RoundPixels(tab.width() / 2.0) - RoundPixels(textWidth / 2.0);
}

QSize TPageTabBar::tabSizeHint(int index) const
{
    Q_UNUSED(index);
    const QFontMetrics bold(CaptionFont(font(), true));
    return {mTabWidth, bold.height() + 2 * CaptionTop + 4};
}

QSize TPageTabBar::minimumTabSizeHint(int index) const
{
    return tabSizeHint(index);
}

void TPageTabBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &colors = palette();
    for (int i = 0; i < count(); ++i) {
        const QRect tab = tabRect(i);
        const bool active = i == currentIndex();
        painter.fillRect(tab, active ? colors.window() : colors.button());
        painter.setPen(colors.color(QPalette::Mid));
        painter.drawLine(tab.topLeft(), tab.topRight());
        painter.drawLine(tab.topLeft(), tab.bottomLeft());
        painter.drawLine(tab.topRight(), tab.bottomRight());
        if (!active)
            painter.drawLine(tab.bottomLeft(), tab.bottomRight());

        // A caption wider than its tab is drawn smaller rather than clipped.
        const QString caption = tabText(i);
        QFont font = CaptionFont(this->font(), active);
        if (font.pointSize() > 0) {
            font.setPointSize(
                FittingPointSize(font.pointSize(), std::min(font.pointSize(), 6), [&](int size) {
                    QFont smaller = font;
                    smaller.setPointSize(size);
                    return QFontMetrics(smaller).horizontalAdvance(caption) <= tab.width() - 4;
                }));
        }
        const QFontMetrics metrics(font);
        painter.setFont(font);
        painter.setPen(colors.color(QPalette::ButtonText));
        painter.drawText(QPoint(CaptionLeft(tab, metrics.horizontalAdvance(caption)),
                                tab.top() + CaptionTop + metrics.ascent()),
                         caption);
    }
}

void TPageTabBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && !MayChangeTo(tabAt(event->position().toPoint()))) {
        event->accept();
        return;
    }
    QTabBar::mousePressEvent(event);
}

void TPageTabBar::keyPressEvent(QKeyEvent *event)
{
    const int step = event->key() == Qt::Key_Left ? -1 : event->key() == Qt::Key_Right ? 1 : 0;
    if (step != 0 && !MayChangeTo(currentIndex() + step)) {
        event->accept();
        return;
    }
    QTabBar::keyPressEvent(event);
}

void TPageTabBar::wheelEvent(QWheelEvent *event)
{
    // The wheel scrolls what lies under it; pages are changed on purpose only.
    event->ignore();
}

TPageControl::TPageControl(QWidget *parent) : QTabWidget(parent), mTabBar(new TPageTabBar(this))
{
    setTabBar(mTabBar);
    // The tab widget makes its bar's tabs share the bar's width; ours have their own.
    mTabBar->setExpanding(false);
}

void TPageControl::keyPressEvent(QKeyEvent *event)
{
    // Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PageDown and Ctrl+PageUp switch pages cyclically.
    int step = 0;
    if (event->modifiers() & Qt::ControlModifier) {
        switch (event->key()) {
        case Qt::Key_Tab:
        case Qt::Key_PageDown:
            step = 1;
            break;
        case Qt::Key_Backtab:
        case Qt::Key_PageUp:
            step = -1;
            break;
        default:
            break;
        }
        if (event->key() == Qt::Key_Tab && (event->modifiers() & Qt::ShiftModifier))
            step = -1;
    }
    if (step != 0 && count() > 0 && !mTabBar->MayChangeTo((currentIndex() + step + count()) % count())) {
        event->accept();
        return;
    }
    QTabWidget::keyPressEvent(event);
}

QRect TPageControl::PaneRect() const
{
    QStyleOptionTabWidgetFrame option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_TabWidgetTabPane, &option, this);
}

void TPageControl::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    painter.fillRect(PaneRect(), palette().color(QPalette::Button));
}

void TPageControl::tabInserted(int index)
{
    QTabWidget::tabInserted(index);
    if (QWidget *page = widget(index)) {
        QPalette colours = page->palette();
        colours.setColor(QPalette::Window, colours.color(QPalette::Button));
        page->setPalette(colours);
        page->setAutoFillBackground(true);
    }
}
