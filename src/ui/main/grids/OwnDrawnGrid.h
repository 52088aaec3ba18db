#pragma once

#include <QVariant>

#include <functional>

class QAbstractItemModel;
class QPainter;
class QTableView;

// The grids of the window draw every cell themselves, without headers (row 0 and column 0
// are cells) and without a horizontal scroll bar; sections may be as small as a pixel.
void SetUpOwnDrawnGrid(QTableView &grid);

// A grid whose headings are its row 0 and column 0 hands them to a screen reader as each
// cell's column and row headers (the model's headerData for Qt::AccessibleTextRole); the
// header views themselves stay hidden and show nothing.
QVariant HeadingCellText(const QAbstractItemModel &model, int section, Qt::Orientation orientation, int role);

// A delegate's paint: the painter's state is kept, and a fault is logged and leaves the cell
// blank, for a paint never opens a box.
void PaintCellQuietly(QPainter &painter, const std::function<void()> &draw);
