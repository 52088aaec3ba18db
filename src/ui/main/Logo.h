#pragma once

#include <QIcon>
#include <QRectF>
#include <QWidget>

class QPainter;

// The program's logo, drawn from its vector resource at whatever size and pixel density asks.

// Resource path of the logo.
QString LogoResourcePath(); // ":/images/velomyra.svg"
// Paints the logo into rect; false when the resource cannot be read.
bool PaintLogo(QPainter &painter, const QRectF &rect);
// The logo as a window icon, rendered at the usual icon sizes.
QIcon LogoIcon();

// A picture control that shows the logo, sharp on high-density screens.
class TLogoPicture : public QWidget
{
    Q_OBJECT
public:
    explicit TLogoPicture(QWidget *parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
