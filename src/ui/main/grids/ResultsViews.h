#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>
#include <QTableView>

#include <optional>
#include <vector>

class TRunSession;
struct TQcCheck;

// The QC rules a calculation applied, as the rows of a tool tip: each rule's sentence in the
// current language with its result, pass (text 79) in green or fail (text 80) in red; `owner`
// ("S1", ...) in a cell before it when given.
QString QcToolTipRows(const std::vector<TQcCheck> &checks, const QString &owner = QString());
// The rows as one tool tip; empty without rows.
QString QcToolTip(const QString &rows);

// ---- models over the session --------------------------------------------------------------

// A results table read from the run session: the texts are made when asked for, in the
// current language, from the session's last calculation (or, before one, from the run).
class TResultsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    // Row 0 and column 0 read as each cell's headers.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // The run or its calculation changed: rows and columns again from the session. Rows and
    // columns that stay keep their sizes in the views.
    void Refresh();
    // The language changed: every text again.
    void Retext();

protected:
    explicit TResultsModel(const TRunSession &session, QObject *parent);
    virtual QSize SessionSize() const = 0; // columns x rows
    const TRunSession &mSession;

private:
    int mColumns = 0;
    int mRows = 0;
};

// Standards Results: row 0 the headings, row i + 1 standard i: name, concentration, mean OD,
// %CV, QC result. Only the names can be selected.
class TStandardsResultsModel : public TResultsModel
{
    Q_OBJECT

public:
    // A calculated standard's QC result: true for a pass (bool); none before a calculation.
    static constexpr int PassRole = Qt::UserRole;

    explicit TStandardsResultsModel(const TRunSession &session, QObject *parent = nullptr);
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

protected:
    QSize SessionSize() const override;
};

// Subject Results: row 0 the headings, column 0 the subject identifiers, then the result
// columns; a result may carry a mark between "<B>" and "</B>" (read without the tags by a
// screen reader).
// A subject whose result lies outside the standards' range says so in its tool tip.
class TSubjectResultsModel : public TResultsModel
{
    Q_OBJECT

public:
    explicit TSubjectResultsModel(const TRunSession &session, QObject *parent = nullptr);
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

protected:
    QSize SessionSize() const override;

private:
    QVariant RangeToolTip(std::size_t subject) const;
};

// ---- the two grids ----------------------------------------------------------------------------

// A grid of the results tabs: it draws every cell itself from its model's texts; painting
// never reads the run or calculates.
class TResultsGridBase : public QTableView
{
    Q_OBJECT

public:
    static constexpr int GridLineWidth = 1;
    static constexpr int CellMargin = 5;

    int columnCount() const;
    int rowCount() const;
    // The text shown in a cell; empty outside the grid.
    QString Cell(int col, int row) const;

    // Column widths and row heights for the grid's size and font.
    virtual void LayoutColumns() = 0;
    virtual void DrawCell(QPainter &painter, const QRect &rect, int col, int row, bool selected) const = 0;

protected:
    explicit TResultsGridBase(QWidget *parent);
    void resizeEvent(QResizeEvent *event) override;
    // Rows at least as high as a line of the font with the grid lines and frame around it.
    void EnsureRowHeight();
};

// Standards Results: the standards grid (concGd).
class TStandardsGrid : public TResultsGridBase
{
    Q_OBJECT

public:
    static constexpr int ColumnCount = 5;
    static constexpr int QcColumn = 4;

    explicit TStandardsGrid(QWidget *parent = nullptr);

    // The QC result of a calculated standard row; none before a calculation.
    std::optional<bool> Passed(int row) const;
    // The QC text colour of a standard row: green for a pass, red for a fail, none otherwise.
    std::optional<QColor> QcColor(int row) const;

    // An eighth for the names, a fifth for each number, the rest for the QC result (with the
    // 8-point curve's scroll bar, of what it leaves).
    void LayoutColumns() override;
    void DrawCell(QPainter &painter, const QRect &rect, int col, int row, bool selected) const override;
    void concGdDrawCell(QPainter &painter, const QRect &rect, int col, int row, bool selected) const;
};

// Subject Results: the result grid (resultGd). The heading row (split into lines) stays in
// place while the subjects scroll under it.
class TResultGrid : public TResultsGridBase
{
    Q_OBJECT

public:
    static constexpr int DefaultColumnWidth = 64;

    explicit TResultGrid(QWidget *parent = nullptr);

    // The lines a heading is drawn in: column 0 one line, the others SplitHeading.
    QStringList HeadingLines(int col) const;

    // The text drawn plainly and the mark drawn in bold after it.
    static QString PlainPart(const QString &text);
    static QString BoldPart(const QString &text);

    // Fonts of the data rows and of the heading row, in points.
    void SetFontSizes(int dataPointSize, int headingPointSize);
    // Column widths for the grid's width (ResultColumnWidths), then row 0 and the columns
    // made large enough for the heading lines; the last column is never narrowed below
    // MinLastColWidth for that.
    void LayoutColumns() override;
    // The width of result column 1 after the widths rule, before any heading widened it.
    int MinLastColWidth() const { return mMinLastColWidth; }
    const QFont &HeadingFont() const { return mHeadingFont; }

    void setModel(QAbstractItemModel *model) override;
    void DrawCell(QPainter &painter, const QRect &rect, int col, int row, bool selected) const override;
    void resultGdDrawCell(QPainter &painter, const QRect &rect, int col, int row) const;

protected:
    void updateGeometries() override;

private:
    void FitHeadings();
    void PlaceHeadingRow();

    QFont mHeadingFont;
    // Row 0 again, over the top of the viewport: the same cells, drawn by the same delegate.
    QTableView *mHeadingRow;
    int mMinLastColWidth = 0;
};
