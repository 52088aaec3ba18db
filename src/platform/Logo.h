#pragma once

#include <QRectF>
#include <QString>

class QPainter;

// The program's logo, drawn from its vector resource at whatever size the surface asks:
// the about window and the report pages.

// Resource path of the logo.
QString LogoResourcePath(); // ":/images/velomyra.svg"
// Paints the logo into rect; false when the resource cannot be read.
bool PaintLogo(QPainter &painter, const QRectF &rect);
