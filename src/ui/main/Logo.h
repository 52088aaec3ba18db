#pragma once

#include "platform/Logo.h"

#include <QIcon>
#include <QWidget>

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
