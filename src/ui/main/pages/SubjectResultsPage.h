#pragma once

#include <QWidget>

class QLabel;
class TResultGrid;
class TRunSession;
class TRunSessionNotifier;
class TSubjectResultsModel;

// The Subject Results tab (samplesSheet): every subject's results in a table over the session
// and the footnote below it. It repaints when a calculation comes or goes.
class TSubjectResultsPage : public QWidget
{
    Q_OBJECT

public:
    TSubjectResultsPage(TRunSession &session, TRunSessionNotifier &notifier, QWidget *parent = nullptr);

    TResultGrid *ResultGrid() const { return resultGd; }
    // The narrowest the last result column may be squeezed to.
    int MinLastColWidth() const;

    // The table and the footnote as the session has them: its last calculation, or none.
    void ShowResults();
    // Fonts and texts again in the current language.
    void Retranslate();
    // Column widths for the table's size.
    void LayoutColumns();

private:
    const TRunSession &mSession;
    TSubjectResultsModel *mModel;
    TResultGrid *resultGd;
    QWidget *Panel2;
    QLabel *lblResultGridFootnote;
};
