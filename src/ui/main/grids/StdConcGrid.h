#pragma once

#include <QTableView>

class QPainter;
class TRunSession;
class TStdConcModel;

// The standard concentration grid of the Run Details tab, a view of the session's standards
// (TStdConcModel): column 0 the standard names, column 1 the concentrations, one row per
// standard, the last the zero standard. Only the
// cells the operator may type in can become current. Tab, Shift+Tab and Enter, typed in
// the grid or in its cell editor, are handed to the window (keyDown) with the cell text
// committed; focus coming into and leaving the grid (with its editor) is reported.
class TStdConcGrid : public QTableView
{
    Q_OBJECT

public:
    // Without a session the grid has no rows.
    explicit TStdConcGrid(const TRunSession *session = nullptr, QWidget *parent = nullptr);

    TStdConcModel &ConcModel() const { return *mModel; }

    // Default values: only S1 is typed, the others are derived and drawn grey.
    void SetDefaultValueType(bool defaultValues);
    bool DefaultValueType() const;

    int rowCount() const;
    int columnCount() const { return 2; }
    int currentRow() const { return currentIndex().row(); }
    int currentColumn() const { return currentIndex().column(); }
    QString Cell(int col, int row) const;
    // Types a concentration (column 1).
    void SetCell(int col, int row, const QString &text);
    // A cell the operator may type in.
    bool Editable(int col, int row) const;
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

    TStdConcModel *mModel;
};
