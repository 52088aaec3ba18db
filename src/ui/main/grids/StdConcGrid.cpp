#include "StdConcGrid.h"

#include "OwnDrawnGrid.h"
#include "StdConcModel.h"

#include "core/FontManager.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "platform/ExceptionBoundary.h"
#include "platform/WindowTools.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int kVerticalBottom = 1;
constexpr int kHorizontalLeft = 0, kHorizontalRight = 1, kHorizontalCentre = 2;
constexpr QRgb kDerivedGrey = 0x808080;

} // namespace

// Draws through the grid; in the cell editor the walk keys commit the text and go to
// the grid at once, so the window sees the typed value.
class TStdConcDelegate : public QStyledItemDelegate
{
public:
    explicit TStdConcDelegate(TStdConcGrid *grid) : QStyledItemDelegate(grid), mGrid(grid) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        PaintCellQuietly(*painter, [&] {
            const bool selected = option.state.testFlag(QStyle::State_Selected);
            mGrid->stdConcGdDrawCell(*painter, option.rect, index.column(), index.row(), selected);
        });
    }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *editor = qobject_cast<QWidget *>(object);
        if (editor && event->type() == QEvent::KeyPress) {
            const auto &key = static_cast<const QKeyEvent &>(*event);
            switch (key.key()) {
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
            case Qt::Key_Enter:
            case Qt::Key_Return:
                Q_EMIT commitData(editor);
                Q_EMIT closeEditor(editor, QAbstractItemDelegate::NoHint);
                mGrid->HandleWalkKey(key);
                return true;
            default:
                break;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    TStdConcGrid *mGrid;
};

TStdConcGrid::TStdConcGrid(const TRunSession *session, QWidget *parent)
    : QTableView(parent), mModel(new TStdConcModel(session, this))
{
    setModel(mModel);
    setItemDelegate(new TStdConcDelegate(this));
    SetUpOwnDrawnGrid(*this);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setTabKeyNavigation(true);
    connect(qApp, &QApplication::focusChanged, this, &TStdConcGrid::OnFocusChanged);
}

void TStdConcGrid::SetDefaultValueType(bool defaultValues)
{
    mModel->SetDefaultValues(defaultValues);
    if (const QModelIndex current = currentIndex();
        current.isValid() && !(mModel->flags(current) & Qt::ItemIsEnabled))
        Deselect();
    viewport()->update();
}

bool TStdConcGrid::DefaultValueType() const
{
    return mModel->DefaultValues();
}

int TStdConcGrid::rowCount() const
{
    return mModel->rowCount();
}

QString TStdConcGrid::Cell(int col, int row) const
{
    return mModel->Cell(col, row);
}

void TStdConcGrid::SetCell(int col, int row, const QString &text)
{
    mModel->SetCell(col, row, text);
}

bool TStdConcGrid::Editable(int col, int row) const
{
    return mModel->flags(mModel->index(row, col)).testFlag(Qt::ItemIsEditable);
}

void TStdConcGrid::Deselect()
{
    setCurrentIndex(QModelIndex());
    clearSelection();
}

void TStdConcGrid::CommitEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    QWidget *editor = QApplication::focusWidget();
    if (editor == nullptr || !viewport()->isAncestorOf(editor))
        return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TStdConcGrid::ShowConcentration(int row)
{
    selectionModel()->setCurrentIndex(model()->index(row, 1), QItemSelectionModel::ClearAndSelect);
}

int TStdConcGrid::HeightForRows(int rows) const
{
    return rows * verticalHeader()->defaultSectionSize() + 2 * frameWidth();
}

void TStdConcGrid::stdConcGdDrawCell(QPainter &painter, const QRect &rect, int col, int row, bool selected)
{
    QString text = Cell(col, row);
    double value = 0.0;
    const bool number = TryTextToFloat(text, value);
    if (number)
        text = FormatFixed(value, 3);

    QFont font = this->font();
    font.setPointSize(
        GetFontManager().DetermineFontSize(GetTranslationManager().DetermineCharset(), GRID_STD));
    painter.setFont(font);
    QColor background = col == 0 ? palette().color(QPalette::Button) : QColor(Qt::white);
    if (selected && col == 1)
        background = palette().color(QPalette::Highlight).lighter(180);
    painter.setBrush(background);

    QColor color = palette().color(QPalette::WindowText);
    int alignment = kHorizontalCentre;
    if (col == 1) {
        alignment = number ? kHorizontalRight : kHorizontalLeft;
        if (row == rowCount() - 1 || (row != 0 && DefaultValueType()))
            color = QColor(kDerivedGrey);
    }
    painter.setPen(color);
    DrawTextInRect(painter, rect, text, true, 2, 5, kVerticalBottom, alignment);
}

void TStdConcGrid::keyPressEvent(QKeyEvent *event)
{
    if (HandleWalkKey(*event)) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

bool TStdConcGrid::HandleWalkKey(const QKeyEvent &event)
{
    switch (event.key()) {
    case Qt::Key_Tab:
        Q_EMIT keyDown(Qt::Key_Tab, event.modifiers().testFlag(Qt::ShiftModifier));
        return true;
    case Qt::Key_Backtab:
        Q_EMIT keyDown(Qt::Key_Tab, true);
        return true;
    case Qt::Key_Enter:
    case Qt::Key_Return:
        Q_EMIT keyDown(Qt::Key_Return, event.modifiers().testFlag(Qt::ShiftModifier));
        return true;
    default:
        return false;
    }
}

void TStdConcGrid::OnFocusChanged(QWidget *old, QWidget *now)
{
    const auto inside = [this](const QWidget *widget) {
        return widget && (widget == this || isAncestorOf(widget));
    };
    // Only moves between controls of this window count: a message box taking the focus
    // for a moment is not the operator leaving the grid.
    const auto sameWindow = [this](const QWidget *widget) { return widget && widget->window() == window(); };
    if (inside(old) && !inside(now) && sameWindow(now))
        Q_EMIT exited();
    else if (inside(now) && !inside(old) && (!old || sameWindow(old)))
        Q_EMIT entered();
}
