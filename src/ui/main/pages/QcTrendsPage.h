#pragma once

#include "archive/Archive.h"
#include "archive/Trends.h"

#include <QDate>
#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QSpinBox;
class QTabWidget;
class QTableView;
class TQcTrendsChart;
class TQcTrendsModel;

// The QC Trends tab (qcTrendsSheet): a Levey-Jennings chart of one metric over the recorded
// runs of one curve type, with the Westgard rules each run completes, and the same runs in a
// list below. The operator chooses the metric, curve type, kit batch, operator, date range,
// valid runs only and the baseline's size. The archive is read only while the page is shown:
// when it is shown after a change, and when a choice changes.
class TQcTrendsPage : public QWidget
{
    Q_OBJECT

public:
    // A run as the archive identifies it.
    struct TRunKey
    {
        QDate RunDate;
        QString KitBatch;
        QString RunNumber;
    };

    explicit TQcTrendsPage(QWidget *parent = nullptr);
    ~TQcTrendsPage() override;

    // Where the archive is (empty: the default file); read again when next shown.
    void SetArchiveLocation(const QString &location);
    // The run loaded in the window, asked whenever the trend is drawn; its point is ringed.
    void SetCurrentRunSource(std::function<TRunKey()> source);
    // A view shown instead of the trends when its sub-tab is chosen, captioned with the
    // catalogue text; the page owns it from then on.
    void AddView(QWidget *view, int textId);
    // Every text again in the current language.
    void Retranslate();

    // The archive changed since it was read.
    bool IsStale() const { return mStale; }
    TQcTrendsChart *Chart() const { return qcTrendsChart; }
    TQcTrendsModel *Model() const { return mModel; }

public Q_SLOTS:
    // A run was recorded: read again now if shown, otherwise when next shown.
    void ArchiveChanged();

protected:
    void showEvent(QShowEvent *event) override;

private:
    enum class TState
    {
        Unread,
        Unreadable, // mReason says why
        Empty,
        NoMatch,
        Shown
    };
    // The choices' lists from every recorded run, then the trend.
    void ReadArchive();
    // The chosen runs from the archive, evaluated and drawn.
    void ShowTrend();
    void ShowMessage();
    void FitListColumns();
    void FillChoices(const QList<TArchiveMetrics> &runs);
    TArchiveFilter Filter() const;
    TTrendMetric Metric() const;

    QString mLocation;
    std::function<TRunKey()> mCurrentRun;
    std::unique_ptr<TArchive> mArchive;
    bool mStale = true;
    TState mState = TState::Unread;
    QString mReason;
    TQcTrendsModel *mModel;

    QTabWidget *qcTrendsViewsTc;
    QList<int> mViewTexts; // each sub-tab's caption
    QLabel *qcTrendsMetricLa, *qcTrendsCurveTypeLa, *qcTrendsKitBatchLa, *qcTrendsOperatorLa,
        *qcTrendsBaselineLa;
    QComboBox *qcTrendsMetricCb, *qcTrendsCurveTypeCb, *qcTrendsKitBatchCb, *qcTrendsOperatorCb;
    QCheckBox *qcTrendsFromCx, *qcTrendsToCx, *qcTrendsValidOnlyCx;
    QDateEdit *qcTrendsFromDt, *qcTrendsToDt;
    QSpinBox *qcTrendsBaselineSb;
    QLabel *qcTrendsMessageLa;
    TQcTrendsChart *qcTrendsChart;
    QTableView *qcTrendsListGd;
};
