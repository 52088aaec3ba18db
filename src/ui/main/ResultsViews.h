#pragma once

#include <QColor>
#include <QStringList>
#include <QTableWidget>

#include <optional>
#include <vector>

struct TQcCheck;

// The QC rules a calculation applied, as the rows of a tool tip: each rule's sentence in the
// current language with its result, pass (text 79) in green or fail (text 80) in red; `owner`
// ("S1", ...) in a cell before it when given.
QString QcToolTipRows(const std::vector<TQcCheck> &checks, const QString &owner = QString());
// The rows as one tool tip; empty without rows.
QString QcToolTip(const QString &rows);

// The two grids of the results tabs. Both keep the texts a calculation gave them and draw
// every cell themselves from those texts: painting never reads the run or calculates.

// Standards Results: the standards grid (concGd). Row 0 the headings, row i + 1 standard i:
// name, concentration, mean OD, %CV, QC result; column 5 holds the standard's pass flag
// ("-1" pass, "0" fail) and is never shown. Only the names can be selected.
class TStandardsGrid : public QTableWidget
{
    Q_OBJECT

public:
    static constexpr int ColumnCount = 6;
    static constexpr int FlagColumn = 5;
    static constexpr int QcColumn = 4;
    static constexpr int GridLineWidth = 1;
    static constexpr int CellMargin = 5;

    explicit TStandardsGrid(QWidget *parent = nullptr);

    QString Cell(int col, int row) const;
    // Ignored outside the grid. Cells outside column 0 cannot be selected.
    void SetCell(int col, int row, const QString &text);
    void SetCellToolTip(int col, int row, const QString &toolTip);
    // The pass flag of a standard row; none when it does not read as one.
    std::optional<bool> Passed(int row) const;
    // The QC text colour of a standard row: green for a pass, red for a fail, none otherwise.
    std::optional<QColor> QcColor(int row) const;

    // Column widths for the grid's width: an eighth for the names, a fifth for each
    // number, the rest for the QC result; rows high enough for the font.
    void LayoutColumns();
    void concGdDrawCell(QPainter &painter, const QRect &rect, int col, int row, bool selected) const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QTableWidgetItem *ItemAt(int col, int row);
};

// Subject Results: the result grid (resultGd). Row 0 the headings (split into lines), column
// 0 the subject identifiers, then the result columns; a result text may carry a mark between
// "<B>" and "</B>", drawn in bold after the value. The heading row stays in place while the
// subjects scroll under it.
class TResultGrid : public QTableWidget
{
    Q_OBJECT

public:
    static constexpr int GridLineWidth = 1;
    static constexpr int CellMargin = 5;
    static constexpr int DefaultColumnWidth = 64;

    explicit TResultGrid(QWidget *parent = nullptr);

    QString Cell(int col, int row) const;
    // Ignored outside the grid; a heading (row 0) is split into its lines here, once.
    void SetCell(int col, int row, const QString &text);
    // The lines a heading is drawn in: column 0 one line, the others SplitHeading.
    QStringList HeadingLines(int col) const;

    // The text drawn plainly and the mark drawn in bold after it.
    static QString PlainPart(const QString &text);
    static QString BoldPart(const QString &text);

    // Fonts of the data rows and of the heading row, in points.
    void SetFontSizes(int dataPointSize, int headingPointSize);
    // Column widths for the grid's width (the identifier three units, every result 1.1, the
    // last the rest), then row 0 and the columns made large enough for the heading lines;
    // the last column is never narrowed below MinLastColWidth for that.
    void LayoutColumns();
    // The width of result column 1 after the widths rule, before any heading widened it.
    int MinLastColWidth() const { return mMinLastColWidth; }
    const QFont &HeadingFont() const { return mHeadingFont; }

    void resultGdDrawCell(QPainter &painter, const QRect &rect, int col, int row) const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void updateGeometries() override;

private:
    QTableWidgetItem *ItemAt(int col, int row);
    void FitHeadings();
    void PlaceHeadingRow();

    QFont mHeadingFont;
    // Row 0 again, over the top of the viewport: the same cells, drawn by the same delegate.
    QTableView *mHeadingRow;
    QList<QStringList> mHeadingLines; // per column
    int mMinLastColWidth = 0;
};
