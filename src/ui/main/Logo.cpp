#include "Logo.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

QIcon LogoIcon()
{
    QSvgRenderer renderer(LogoResourcePath());
    QIcon icon;
    if (!renderer.isValid())
        return icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, size, size));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

TLogoPicture::TLogoPicture(QWidget *parent) : QWidget(parent) {}

QSize TLogoPicture::sizeHint() const
{
    return QSize(72, 72);
}

void TLogoPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // Square, centred in the control.
    const int side = qMin(width(), height());
    PaintLogo(painter, QRectF((width() - side) / 2.0, (height() - side) / 2.0, side, side));
}
