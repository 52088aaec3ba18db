#pragma once

#include <QTableWidget>

class QPainter;

// The standard concentration grid of the Run Details tab: column 0 the standard names,
// column 1 the concentrations, one row per standard, the last the zero standard. Only the
// cells the operator may type in can become current. Tab, Shift+Tab and Enter, typed in
// the grid or in its cell editor, are handed to the window (keyDown) with the cell text
// committed; focus coming into and leaving the grid (with its editor) is reported.
class TStdConcGrid : public QTableWidget
{
    Q_OBJECT

public:
    explicit TStdConcGrid(QWidget *parent = nullptr);

    // Rows with "S1"... in column 0; column 1 emptied.
    void SetStandardCount(int count);
    // Default values: only S1 is typed, the others are derived and drawn grey.
    void SetDefaultValueType(bool defaultValues);
    bool DefaultValueType() const { return mDefaultValues; }

    QString Cell(int col, int row) const;
    void SetCell(int col, int row, const QString &text);
    // No current cell and nothing selected.
    void Deselect();
    // The text of an open cell editor into its cell, the editor closed.
    void CommitEditor();
    // Makes the concentration of `row` current even where it cannot be typed (to show
    // which one is missing).
    void ShowConcentration(int row);
    // Height that shows `rows` rows without scrolling.
    int HeightForRows(int rows) const;

    void stdConcGdDrawCell(QPainter &painter, const QRect &rect, int col, int row, bool selected);

Q_SIGNALS:
    void keyDown(int key, bool shift);
    void entered();
    void exited();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    friend class TStdConcDelegate;
    void OnFocusChanged(QWidget *old, QWidget *now);
    // Tab, Shift+Tab, Enter and Return; true when handled.
    bool HandleWalkKey(const QKeyEvent &event);
    void UpdateEditableCells();

    bool mDefaultValues = true;
};
