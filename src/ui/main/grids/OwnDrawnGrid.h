#pragma once

#include <functional>

class QPainter;
class QTableView;

// The grids of the window draw every cell themselves, without headers (row 0 and column 0
// are cells) and without a horizontal scroll bar; sections may be as small as a pixel.
void SetUpOwnDrawnGrid(QTableView &grid);

// A delegate's paint: the painter's state is kept, and a fault is logged and leaves the cell
// blank, for a paint never opens a box.
void PaintCellQuietly(QPainter &painter, const std::function<void()> &draw);
