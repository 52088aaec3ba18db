#pragma once

#include "plate/MarnovelTypes.h"

#include <QColor>

// The model stores colours as 0x00BBGGRR.
inline QColor ToQColor(TColor color)
{
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}
