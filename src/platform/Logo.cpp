#include "Logo.h"

#include <QPainter>
#include <QSvgRenderer>

QString LogoResourcePath()
{
    return QStringLiteral(":/images/velomyra.svg");
}

bool PaintLogo(QPainter &painter, const QRectF &rect)
{
    QSvgRenderer renderer(LogoResourcePath());
    if (!renderer.isValid())
        return false;
    renderer.render(&painter, rect);
    return true;
}
