#pragma once

#include "platform/ModelColor.h"

#include <QColor>

// Pass and fail texts (QC results, the correlation, the run verdict), and the blue of the
// chart title and the plate-washing note.
inline constexpr QRgb PassGreen = 0x008000;
inline constexpr QRgb FailRed = 0xFF0000;
inline constexpr QRgb NoteBlue = 0x0000FF;
