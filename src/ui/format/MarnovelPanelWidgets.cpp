#include "MarnovelPanelWidgets.h"

#include "plate/MarnovelPanels.h"
#include "platform/ExceptionBoundary.h"
#include "platform/ModelColor.h"

#include <QMouseEvent>
#include <QPainter>

TBlockPanelWidget::TBlockPanelWidget(TBaseSelectBlockPanel *panel, QWidget *parent)
    : QWidget(parent), mPanel(panel)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(33, 33);
}

void TBlockPanelWidget::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    const QColor face = ToQColor(mPanel->Color());
    const bool pressed = mPanel->Selected();
    QRect area = rect();
    painter.fillRect(area, face);

    // An outline, then the bevel: light above and left when raised, dark when pressed.
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    area.adjust(1, 1, -1, -1);
    const QColor light = face.lighter(160);
    const QColor dark = face.darker(pressed ? 260 : 200);
    for (int i = 0; i < BevelWidth; ++i) {
        const QRect ring = area.adjusted(i, i, -i - 1, -i - 1);
        painter.setPen(pressed ? dark : light);
        painter.drawLine(ring.topLeft(), ring.topRight());
        painter.drawLine(ring.topLeft(), ring.bottomLeft());
        painter.setPen(pressed ? light : dark);
        painter.drawLine(ring.bottomLeft(), ring.bottomRight());
        painter.drawLine(ring.topRight(), ring.bottomRight());
    }

    // Pressed, the panel is also framed, so that the label the next click places stands out
    // among raised ones of any grey.
    if (pressed) {
        painter.setPen(QPen(QColor(Qt::black), 2));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }

    // The caption in black or white, whichever reads on the face; pressed, it sinks a pixel.
    QFont font = this->font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(face.lightness() >= 128 ? QColor(Qt::black) : QColor(Qt::white));
    const QRect text = pressed ? rect().translated(1, 1) : rect();
    painter.drawText(text, Qt::AlignCenter, mPanel->Caption());
}

void TBlockPanelWidget::mouseReleaseEvent(QMouseEvent *event)
{
    QWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
        return;
    RunGuarded([this] {
        mPanel->Click();
        Q_EMIT clicked();
    });
}
