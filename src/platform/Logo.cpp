#include "Logo.h"

#include <QPainter>
#include <QSvgRenderer>

QString LogoResourcePath()
{
    return QStringLiteral(":/images/velomyra.svg");
}

QIcon ProgramIcon()
{
    return QIcon(LogoResourcePath());
}

bool PaintLogo(QPainter &painter, const QRectF &rect)
{
    QSvgRenderer renderer(LogoResourcePath());
    if (!renderer.isValid())
        return false;
    renderer.render(&painter, rect);
    return true;
}
