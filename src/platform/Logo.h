#pragma once

#include <QIcon>
#include <QRectF>
#include <QString>

class QPainter;

// The program's logo, drawn from its vector resource at whatever size the surface asks:
// the about window, the report pages and the windows' icon.

// Resource path of the logo.
QString LogoResourcePath(); // ":/images/velomyra.svg"
// The logo as the program's window icon, at every size a window system asks for.
QIcon ProgramIcon();
// Paints the logo into rect; false when the resource cannot be read.
bool PaintLogo(QPainter &painter, const QRectF &rect);
