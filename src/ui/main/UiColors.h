#pragma once

#include "plate/MarnovelTypes.h"

#include <QColor>

// The model stores colours as 0x00BBGGRR.
inline QColor ToQColor(TColor color)
{
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

// Pass and fail texts (QC results, the correlation, the run verdict), and the blue of the
// chart title and the plate-washing note.
inline constexpr QRgb PassGreen = 0x008000;
inline constexpr QRgb FailRed = 0xFF0000;
inline constexpr QRgb NoteBlue = 0x0000FF;
