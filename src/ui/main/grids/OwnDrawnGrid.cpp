#include "OwnDrawnGrid.h"

#include "platform/ExceptionBoundary.h"

#include <QAbstractItemModel>
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

QVariant HeadingCellText(const QAbstractItemModel &model, int section, Qt::Orientation orientation, int role)
{
    if (role != Qt::AccessibleTextRole || section < 1)
        return {};
    const QModelIndex heading =
        orientation == Qt::Horizontal ? model.index(0, section) : model.index(section, 0);
    QVariant text = model.data(heading, Qt::AccessibleTextRole);
    return text.toString().isEmpty() ? model.data(heading, Qt::DisplayRole) : text;
}

void PaintCellQuietly(QPainter &painter, const std::function<void()> &draw)
{
    RunQuietly([&] {
        painter.save();
        draw();
        painter.restore();
    });
}
