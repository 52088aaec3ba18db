#include "ResultsViews.h"

#include "OwnDrawnGrid.h"

#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "files/RunSession.h"
#include "platform/ExceptionBoundary.h"
#include "platform/WindowTools.h"
#include "run/CurveDiagnostics.h"
#include "run/MarnovelRdData.h"
#include "run/QcRules.h"
#include "run/ResultTexts.h"
#include "ui/main/PanelGeometry.h"
#include "ui/main/UiColors.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr int kVerticalCentre = 2;
constexpr int kHorizontalLeft = 0, kHorizontalRight = 1, kHorizontalCentre = 2;

const QString BoldOpen = u"<B>"_s;
const QString BoldClose = u"</B>"_s;

bool ReadsAsNumber(const QString &text)
{
    double value = 0.0;
    return TryTextToFloat(text, value);
}

// Both grids draw every cell themselves; the delegate hands the painting over. Tool tips
// (Qt::ToolTipRole) stay the delegate's.
class TCellPainter : public QStyledItemDelegate
{
public:
    explicit TCellPainter(TResultsGridBase *grid) : QStyledItemDelegate(grid), mGrid(grid) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        PaintCellQuietly(*painter, [&] {
            mGrid->DrawCell(*painter, option.rect, index.column(), index.row(),
                            option.state.testFlag(QStyle::State_Selected));
            // The keyboard's cell, where the arrow keys and a screen reader are.
            if (option.state.testFlag(QStyle::State_HasFocus)) {
                painter->setPen(QPen(Qt::black, 1, Qt::DotLine));
                painter->setBrush(Qt::NoBrush);
                painter->drawRect(option.rect.adjusted(1, 1, -2, -2));
            }
        });
    }

private:
    TResultsGridBase *mGrid;
};

} // namespace

// ---- QC explanations ---------------------------------------------------------------------

QString QcToolTipRows(const std::vector<TQcCheck> &checks, const QString &owner)
{
    // Cells never wrap: the tool tip is as wide as its widest row.
    const auto cell = [](const QString &html) -> QString {
        return u"<td style=\"white-space:pre\">"_s + html + u"</td>"_s;
    };
    QString rows;
    for (const TQcCheck &check : checks) {
        const QString color = QColor(check.Passed ? PassGreen : FailRed).name();
        const QString sentence =
            QcCheckStatement(check).toHtmlEscaped() + u": <span style=\"color:"_s + color + u"\">"_s +
            UiText(check.Passed ? TextId::Pass : TextId::Fail).toHtmlEscaped() + u"</span>"_s;
        rows += u"<tr>"_s + (owner.isEmpty() ? QString() : cell(owner.toHtmlEscaped())) + cell(sentence) +
                u"</tr>"_s;
    }
    return rows;
}

QString QcToolTip(const QString &rows)
{
    return rows.isEmpty() ? QString() : u"<table cellspacing=\"6\">"_s + rows + u"</table>"_s;
}

// ---- models ------------------------------------------------------------------------------

TResultsModel::TResultsModel(const TRunSession &session, QObject *parent)
    : QAbstractTableModel(parent), mSession(session)
{
}

int TResultsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : mRows;
}

int TResultsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : mColumns;
}

void TResultsModel::Refresh()
{
    const QSize size = SessionSize();
    if (size.height() < mRows) {
        beginRemoveRows(QModelIndex(), size.height(), mRows - 1);
        mRows = size.height();
        endRemoveRows();
    }
    if (size.width() < mColumns) {
        beginRemoveColumns(QModelIndex(), size.width(), mColumns - 1);
        mColumns = size.width();
        endRemoveColumns();
    }
    if (size.height() > mRows) {
        beginInsertRows(QModelIndex(), mRows, size.height() - 1);
        mRows = size.height();
        endInsertRows();
    }
    if (size.width() > mColumns) {
        beginInsertColumns(QModelIndex(), mColumns, size.width() - 1);
        mColumns = size.width();
        endInsertColumns();
    }
    Retext();
}

QVariant TResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    return HeadingCellText(*this, section, orientation, role);
}

void TResultsModel::Retext()
{
    if (mRows > 0 && mColumns > 0)
        Q_EMIT dataChanged(index(0, 0), index(mRows - 1, mColumns - 1));
}

TStandardsResultsModel::TStandardsResultsModel(const TRunSession &session, QObject *parent)
    : TResultsModel(session, parent)
{
}

QSize TStandardsResultsModel::SessionSize() const
{
    const TRunCalculationResult *result = mSession.LastResult();
    const int standards =
        result ? static_cast<int>(result->Qc.Standards.size()) : mSession.Data().StdConcSize();
    return {ResultTexts::StandardsColumnCount, standards + 1};
}

QVariant TStandardsResultsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int col = index.column();
    const int i = index.row() - 1;
    if (i < 0)
        return role == Qt::DisplayRole ? QVariant(ResultTexts::StandardsHeading(col)) : QVariant();
    const TRunCalculationResult *result = mSession.LastResult();
    if (!result) {
        // Before a calculation: the run's standards and their concentrations.
        const TMarnovelRdData &data = mSession.Data();
        if (role != Qt::DisplayRole || i >= data.StdConcSize())
            return {};
        if (col == 0)
            return data.StandardName(i);
        return col == 1 ? ResultTexts::Concentration(data.StdConc().value(i)) : QString();
    }
    if (static_cast<std::size_t>(i) >= result->Qc.Standards.size())
        return {};
    const TStandardQc &standard = result->Qc.Standards[static_cast<std::size_t>(i)];
    switch (role) {
    case Qt::DisplayRole:
        return ResultTexts::StandardCell(standard, col);
    case Qt::ToolTipRole:
        return col == ResultTexts::StandardsQcColumn ? QcToolTip(QcToolTipRows(standard.Checks)) : QVariant();
    case PassRole:
        return standard.Passed;
    default:
        return {};
    }
}

Qt::ItemFlags TStandardsResultsModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return index.column() == 0 ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::ItemIsEnabled;
}

TSubjectResultsModel::TSubjectResultsModel(const TRunSession &session, QObject *parent)
    : TResultsModel(session, parent)
{
}

QSize TSubjectResultsModel::SessionSize() const
{
    const TResultGridCount count = mSession.Data().ResultGridCount();
    const TRunCalculationResult *result = mSession.LastResult();
    const int rows = result ? static_cast<int>(result->Subjects.size()) + 1 : count.Y;
    return {count.X + 1, std::max(rows, 2)};
}

QVariant TSubjectResultsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int col = index.column();
    const int k = index.row() - 1;
    if (role == Qt::ToolTipRole)
        return k >= 0 && col <= 1 ? RangeToolTip(static_cast<std::size_t>(k)) : QVariant();
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    QString text;
    if (k < 0) {
        text = col == 0 ? UiText(TextId::SubjectId) : mSession.Data().resultGridColHeading(col - 1);
    } else if (const TRunCalculationResult *result = mSession.LastResult();
               result && static_cast<std::size_t>(k) < result->Subjects.size() && col <= 1) {
        const TRunSubjectResult &subject = result->Subjects[static_cast<std::size_t>(k)];
        text = col == 0 ? subject.Id : ResultTexts::SubjectResult(subject);
    }
    // A screen reader reads the result as it is seen, without the bold tags.
    return role == Qt::AccessibleTextRole ? StripMarkup(text) : text;
}

QVariant TSubjectResultsModel::RangeToolTip(std::size_t subject) const
{
    // Made on hover only, so the diagnostics are not kept beside the session's result.
    const TRunCalculationResult *result = mSession.LastResult();
    if (!result || subject >= result->Subjects.size())
        return {};
    const TCurveDiagnostics diagnostics = DiagnoseCurve(*result);
    if (subject >= diagnostics.Subjects.size())
        return {};
    const TSubjectDiagnostics &flags = diagnostics.Subjects[subject];
    if (flags.BelowLowestStandard)
        return UiText(TextId::BelowLowestStandardTip);
    if (flags.AboveHighestStandard)
        return UiText(TextId::AboveHighestStandardTip);
    return {};
}

Qt::ItemFlags TSubjectResultsModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

// ---- the grids' common part -------------------------------------------------------------------

TResultsGridBase::TResultsGridBase(QWidget *parent) : QTableView(parent)
{
    setItemDelegate(new TCellPainter(this));
    SetUpOwnDrawnGrid(*this);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

int TResultsGridBase::columnCount() const
{
    return model() ? model()->columnCount() : 0;
}

int TResultsGridBase::rowCount() const
{
    return model() ? model()->rowCount() : 0;
}

QString TResultsGridBase::Cell(int col, int row) const
{
    if (!model() || col < 0 || col >= columnCount() || row < 0 || row >= rowCount())
        return QString();
    return model()->index(row, col).data().toString();
}

void TResultsGridBase::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    LayoutColumns();
}

void TResultsGridBase::EnsureRowHeight()
{
    const int needed = fontMetrics().height() + 2 * frameWidth() + 2 * GridLineWidth;
    if (verticalHeader()->defaultSectionSize() < needed)
        verticalHeader()->setDefaultSectionSize(needed);
}

// ---- standards grid ---------------------------------------------------------------------

TStandardsGrid::TStandardsGrid(QWidget *parent) : TResultsGridBase(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
}

std::optional<bool> TStandardsGrid::Passed(int row) const
{
    if (!model())
        return std::nullopt;
    const QVariant pass = model()->index(row, QcColumn).data(TStandardsResultsModel::PassRole);
    return pass.isValid() ? std::optional<bool>(pass.toBool()) : std::nullopt;
}

std::optional<QColor> TStandardsGrid::QcColor(int row) const
{
    const std::optional<bool> pass = Passed(row);
    if (!pass)
        return std::nullopt;
    return QColor(*pass ? PassGreen : FailRed);
}

void TStandardsGrid::LayoutColumns()
{
    const int width = this->width() - (verticalScrollBar()->isVisible() ? verticalScrollBar()->width() : 0);
    const std::array<int, ColumnCount> widths =
        StandardsColumnWidths(width, showGrid() ? GridLineWidth : 0, frameWidth());
    for (int col = 0; col < ColumnCount; ++col)
        setColumnWidth(col, widths[static_cast<std::size_t>(col)]);
    EnsureRowHeight();
}

void TStandardsGrid::DrawCell(QPainter &painter, const QRect &rect, int col, int row, bool selected) const
{
    concGdDrawCell(painter, rect, col, row, selected);
}

void TStandardsGrid::concGdDrawCell(QPainter &painter, const QRect &rect, int col, int row,
                                    bool selected) const
{
    const QString text = Cell(col, row);
    painter.setFont(font());
    if (row == 0) {
        painter.setBrush(palette().color(QPalette::Button));
        painter.setPen(palette().color(QPalette::ButtonText));
        DrawTextInRect(painter, rect, text, true, 0, CellMargin, kVerticalCentre, kHorizontalCentre);
        return;
    }
    painter.setBrush(palette().color(selected ? QPalette::Highlight : QPalette::Base));
    QColor pen = palette().color(selected ? QPalette::HighlightedText : QPalette::Text);
    if (col == QcColumn)
        pen = QcColor(row).value_or(pen);
    painter.setPen(pen);
    DrawTextInRect(painter, rect, text, true, 0, CellMargin, kVerticalCentre,
                   ReadsAsNumber(text) ? kHorizontalRight : kHorizontalLeft);
}

// ---- subject result grid -------------------------------------------------------------------

TResultGrid::TResultGrid(QWidget *parent)
    : TResultsGridBase(parent), mHeadingFont(font()), mHeadingRow(new QTableView(this))
{
    // Nothing is selected, but the keyboard walks the results with the arrow keys.
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::StrongFocus);
    horizontalHeader()->setDefaultSectionSize(DefaultColumnWidth);
    // Rows glide under the heading row; a wheel notch still moves whole rows.
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);

    mHeadingRow->setObjectName(u"resultGdHeadingRow"_s);
    mHeadingRow->setModel(model());
    mHeadingRow->setItemDelegate(itemDelegate());
    mHeadingRow->horizontalHeader()->hide();
    mHeadingRow->verticalHeader()->hide();
    mHeadingRow->horizontalHeader()->setMinimumSectionSize(1);
    mHeadingRow->verticalHeader()->setMinimumSectionSize(1);
    mHeadingRow->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mHeadingRow->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mHeadingRow->setSelectionMode(QAbstractItemView::NoSelection);
    mHeadingRow->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mHeadingRow->setFocusPolicy(Qt::NoFocus);
    mHeadingRow->setFrameShape(QFrame::NoFrame);
    // The wheel over the headings scrolls the subjects.
    mHeadingRow->setAttribute(Qt::WA_TransparentForMouseEvents);
    viewport()->stackUnder(mHeadingRow);
    connect(horizontalHeader(), &QHeaderView::sectionResized, mHeadingRow,
            [this](int col, int, int size) { mHeadingRow->setColumnWidth(col, size); });
    connect(verticalHeader(), &QHeaderView::sectionResized, mHeadingRow, [this](int row, int, int size) {
        if (row == 0) {
            mHeadingRow->setRowHeight(0, size);
            PlaceHeadingRow();
        }
    });
}

void TResultGrid::setModel(QAbstractItemModel *model)
{
    TResultsGridBase::setModel(model);
    mHeadingRow->setModel(model);
    PlaceHeadingRow();
}

void TResultGrid::PlaceHeadingRow()
{
    const QRect area = viewport()->geometry();
    mHeadingRow->setGeometry(area.x(), area.y(), area.width(), rowCount() > 0 ? rowHeight(0) : 0);
    if (rowCount() > 0)
        mHeadingRow->setRowHeight(0, rowHeight(0));
    for (int col = 0; col < columnCount(); ++col)
        mHeadingRow->setColumnWidth(col, columnWidth(col));
    mHeadingRow->setVisible(rowCount() > 0);
}

void TResultGrid::updateGeometries()
{
    TResultsGridBase::updateGeometries();
    verticalScrollBar()->setSingleStep(verticalHeader()->defaultSectionSize());
    PlaceHeadingRow();
}

QStringList TResultGrid::HeadingLines(int col) const
{
    const QString heading = Cell(col, 0);
    return col == 0 ? QStringList{heading} : SplitHeading(heading);
}

QString TResultGrid::PlainPart(const QString &text)
{
    return DeleteFromTo(text, BoldOpen, BoldClose);
}

QString TResultGrid::BoldPart(const QString &text)
{
    return text.contains(BoldClose) ? TextBetween(text, BoldOpen, BoldClose) : QString();
}

void TResultGrid::SetFontSizes(int dataPointSize, int headingPointSize)
{
    QFont data = font();
    data.setPointSize(dataPointSize);
    setFont(data);
    mHeadingFont = data;
    mHeadingFont.setPointSize(headingPointSize);
}

void TResultGrid::LayoutColumns()
{
    const int columns = columnCount();
    if (columns == 0)
        return;
    const int available = width() - 2 * frameWidth() - style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QList<int> widths = ResultColumnWidths(available, columns);
    for (int col = 0; col < columns; ++col)
        setColumnWidth(col, widths.at(col));
    mMinLastColWidth = columns > 1 ? widths.at(1) : 0;
    EnsureRowHeight();
    FitHeadings();
}

void TResultGrid::FitHeadings()
{
    if (rowCount() == 0)
        return;
    const QFontMetrics metrics(mHeadingFont);
    const int border = 2 * frameWidth() + 2 * GridLineWidth;
    int lineCount = 1;
    QList<int> widths, needed;
    for (int col = 0; col < columnCount(); ++col) {
        const QStringList lines = HeadingLines(col);
        lineCount = std::max(lineCount, static_cast<int>(lines.size()));
        widths << columnWidth(col);
        // The lines are drawn with the cell margin on either side.
        needed << MaxTextWidth(metrics, lines) + 2 * CellMargin + border;
    }
    const QList<int> fitted = WidenedForHeadings(widths, needed, mMinLastColWidth);
    for (int col = 0; col < fitted.size(); ++col)
        setColumnWidth(col, fitted.at(col));
    const int headingHeight = metrics.height() * lineCount + border;
    if (rowHeight(0) < headingHeight)
        setRowHeight(0, headingHeight);
}

void TResultGrid::DrawCell(QPainter &painter, const QRect &rect, int col, int row, bool /*selected*/) const
{
    resultGdDrawCell(painter, rect, col, row);
}

void TResultGrid::resultGdDrawCell(QPainter &painter, const QRect &rect, int col, int row) const
{
    const bool heading = row == 0 || col == 0;
    painter.setBrush(heading ? palette().color(QPalette::Button) : QColor(Qt::white));
    painter.setPen(palette().color(heading ? QPalette::ButtonText : QPalette::Text));
    if (row == 0) {
        painter.setFont(mHeadingFont);
        DrawTextLines(painter, rect, HeadingLines(col), true, 0, CellMargin, kVerticalCentre,
                      kHorizontalCentre);
        return;
    }
    const QString text = Cell(col, row);
    const QString plain = PlainPart(text);
    const int alignment = col >= 1 && ReadsAsNumber(text) ? kHorizontalRight : kHorizontalLeft;
    painter.setFont(font());
    DrawTextInRect(painter, rect, plain, true, 0, CellMargin, kVerticalCentre, alignment);
    const QString bold = BoldPart(text);
    if (bold.isEmpty())
        return;
    const int plainWidth = painter.fontMetrics().horizontalAdvance(plain);
    QFont boldFont = font();
    boldFont.setBold(true);
    painter.setFont(boldFont);
    DrawTextInRect(painter, rect.adjusted(plainWidth + CellMargin, 0, 0, 0), bold, false, 0, CellMargin,
                   kVerticalCentre, alignment);
}
