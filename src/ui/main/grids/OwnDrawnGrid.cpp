#include "OwnDrawnGrid.h"

#include "platform/ExceptionBoundary.h"

#include <QHeaderView>
#include <QPainter>
#include <QTableView>

void SetUpOwnDrawnGrid(QTableView &grid)
{
    grid.horizontalHeader()->hide();
    grid.verticalHeader()->hide();
    grid.horizontalHeader()->setMinimumSectionSize(1);
    grid.verticalHeader()->setMinimumSectionSize(1);
    grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid.setWordWrap(false);
}

void PaintCellQuietly(QPainter &painter, const std::function<void()> &draw)
{
    RunQuietly([&] {
        painter.save();
        draw();
        painter.restore();
    });
}
