#include "QcTrendsPage.h"

#include "QcTrendsChart.h"
#include "QcTrendsModel.h"
#include "archive/TrendSelection.h"
#include "core/FontManager.h"
#include "core/TextIds.h"
#include "core/UiTextManager.h"
#include "plate/MarnovelTypes.h"
#include "platform/ExceptionBoundary.h"
#include "platform/WindowTools.h"
#include "run/QcRules.h"
#include "ui/main/UiColors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

constexpr int kMaxBaselineRuns = 1000;
// Rows the list's columns are measured on: the list may hold thousands.
constexpr int kMeasuredRows = 50;
constexpr int kCellPadding = 6;

int MetricTextId(TTrendMetric metric)
{
    switch (metric) {
    case TTrendMetric::TopStandardMeanOd:
        return QcText::TopStandardMeanOd;
    case TTrendMetric::ZeroStandardMeanOd:
        return QcText::ZeroStandardMeanOd;
    case TTrendMetric::Slope:
        return TextId::Slope;
    case TTrendMetric::Intercept:
        return TextId::Intercept;
    case TTrendMetric::Correlation:
        return QcText::Correlation;
    }
    return TextId::Slope;
}

QString CurveTypeText(int curveType)
{
    return UiText(curveType == CURVE_8POINT ? TextId::EightPointCurve : TextId::FourPointCurve);
}

// "(all)" first, then the values in order; the choice made stays when it is still there.
void FillValues(QComboBox *box, QStringList values)
{
    const QString chosen = box->currentData().toString();
    values.removeAll(QString());
    values.sort();
    values.removeDuplicates();
    box->clear();
    box->addItem(UiText(TextId::AllChoices), QString());
    for (const QString &value : std::as_const(values))
        box->addItem(value, value);
    box->setCurrentIndex(std::max(0, box->findData(chosen)));
}

} // namespace

TQcTrendsPage::TQcTrendsPage(QWidget *parent) : QWidget(parent), mModel(new TQcTrendsModel(this))
{
    setObjectName(u"qcTrendsSheet"_s);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The trends and any view added beside them share the tab, one at a time, so that
    // neither crowds the chart.
    qcTrendsViewsTc = Named(new QTabWidget(this), u"qcTrendsViewsTc"_s);
    qcTrendsViewsTc->setDocumentMode(true);
    layout->addWidget(qcTrendsViewsTc, 1);
    auto *content = Named(new QWidget(qcTrendsViewsTc), u"qcTrendsView"_s);
    auto *column = new QVBoxLayout(content);
    qcTrendsViewsTc->addTab(content, QString());
    mViewTexts << TextId::QcTrends;

    auto *choices = Named(new QWidget(content), u"pnlQcTrendsChoices"_s);
    auto *lines = new QVBoxLayout(choices);
    lines->setContentsMargins(0, 0, 0, 0);
    column->addWidget(choices);
    const auto label = [choices](const QString &name) { return Named(new QLabel(choices), name); };
    const auto combo = [choices](const QString &name, int characters) {
        auto *box = Named(new QComboBox(choices), name);
        // Long names are cut rather than widening the row beyond the window.
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(characters);
        return box;
    };
    qcTrendsMetricLa = label(u"qcTrendsMetricLa"_s);
    qcTrendsMetricCb = combo(u"qcTrendsMetricCb"_s, 26);
    qcTrendsCurveTypeLa = label(u"qcTrendsCurveTypeLa"_s);
    qcTrendsCurveTypeCb = combo(u"qcTrendsCurveTypeCb"_s, 18);
    qcTrendsKitBatchLa = label(u"qcTrendsKitBatchLa"_s);
    qcTrendsKitBatchCb = combo(u"qcTrendsKitBatchCb"_s, 8);
    qcTrendsOperatorLa = label(u"qcTrendsOperatorLa"_s);
    qcTrendsOperatorCb = combo(u"qcTrendsOperatorCb"_s, 8);
    qcTrendsFromCx = Named(new QCheckBox(choices), u"qcTrendsFromCx"_s);
    qcTrendsToCx = Named(new QCheckBox(choices), u"qcTrendsToCx"_s);
    qcTrendsFromDt = Named(new QDateEdit(choices), u"qcTrendsFromDt"_s);
    qcTrendsToDt = Named(new QDateEdit(choices), u"qcTrendsToDt"_s);
    for (QDateEdit *date : {qcTrendsFromDt, qcTrendsToDt}) {
        date->setCalendarPopup(true);
        date->setDisplayFormat(u"yyyy-MM-dd"_s);
        // Unticked, the range is open on that side.
        date->setEnabled(false);
    }
    qcTrendsValidOnlyCx = Named(new QCheckBox(choices), u"qcTrendsValidOnlyCx"_s);
    qcTrendsBaselineLa = label(u"qcTrendsBaselineLa"_s);
    qcTrendsBaselineSb = Named(new QSpinBox(choices), u"qcTrendsBaselineSb"_s);
    qcTrendsBaselineSb->setRange(2, kMaxBaselineRuns);
    qcTrendsBaselineSb->setValue(DefaultBaselineRuns);
    // A screen reader names each choice after the label before it.
    qcTrendsMetricLa->setBuddy(qcTrendsMetricCb);
    qcTrendsCurveTypeLa->setBuddy(qcTrendsCurveTypeCb);
    qcTrendsKitBatchLa->setBuddy(qcTrendsKitBatchCb);
    qcTrendsOperatorLa->setBuddy(qcTrendsOperatorCb);
    qcTrendsBaselineLa->setBuddy(qcTrendsBaselineSb);
    for (const TTrendMetric metric : AllTrendMetrics)
        qcTrendsMetricCb->addItem(QString(), static_cast<int>(metric));

    // Two rows, each a label before its control; a number after a widget is its share of the
    // row's spare width. The metric's and the curve type's names are the longest, so they
    // share the first row with the baseline alone.
    const QList<QList<std::pair<QWidget *, int>>> rows{{{qcTrendsMetricLa, 0},
                                                        {qcTrendsMetricCb, 3},
                                                        {qcTrendsCurveTypeLa, 0},
                                                        {qcTrendsCurveTypeCb, 2},
                                                        {qcTrendsBaselineLa, 0},
                                                        {qcTrendsBaselineSb, 0}},
                                                       {{qcTrendsKitBatchLa, 0},
                                                        {qcTrendsKitBatchCb, 1},
                                                        {qcTrendsOperatorLa, 0},
                                                        {qcTrendsOperatorCb, 1},
                                                        {qcTrendsFromCx, 0},
                                                        {qcTrendsFromDt, 0},
                                                        {qcTrendsToCx, 0},
                                                        {qcTrendsToDt, 0},
                                                        {qcTrendsValidOnlyCx, 0}}};
    for (const auto &row : rows) {
        auto *line = new QHBoxLayout;
        for (const auto &[widget, stretch] : row)
            line->addWidget(widget, stretch);
        lines->addLayout(line);
    }
    for (QWidget *fixed : std::initializer_list<QWidget *>{qcTrendsFromDt, qcTrendsToDt, qcTrendsBaselineSb})
        fixed->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    qcTrendsMessageLa = Named(new QLabel(content), u"qcTrendsMessageLa"_s);
    qcTrendsMessageLa->setWordWrap(true);
    column->addWidget(qcTrendsMessageLa);
    qcTrendsChart = Named(new TQcTrendsChart(content), u"qcTrendsChart"_s);
    column->addWidget(qcTrendsChart, 3);
    qcTrendsListGd = Named(new QTableView(content), u"qcTrendsListGd"_s);
    qcTrendsListGd->setModel(mModel);
    qcTrendsListGd->verticalHeader()->hide();
    qcTrendsListGd->setEditTriggers(QAbstractItemView::NoEditTriggers);
    qcTrendsListGd->setSelectionBehavior(QAbstractItemView::SelectRows);
    qcTrendsListGd->horizontalHeader()->setStretchLastSection(true);
    qcTrendsListGd->horizontalHeader()->setResizeContentsPrecision(kMeasuredRows);
    column->addWidget(qcTrendsListGd, 2);

    const auto show = Guarded(this, &TQcTrendsPage::ShowTrend);
    for (QComboBox *box : {qcTrendsMetricCb, qcTrendsCurveTypeCb, qcTrendsKitBatchCb, qcTrendsOperatorCb})
        connect(box, &QComboBox::currentIndexChanged, this, show);
    connect(qcTrendsMetricCb, &QComboBox::currentIndexChanged, this, [this] {
        qcTrendsChart->Retranslate(UiText(MetricTextId(Metric())));
        qcTrendsChart->setAccessibleName(UiText(MetricTextId(Metric())));
    });
    for (const auto &[box, date] :
         {std::pair{qcTrendsFromCx, qcTrendsFromDt}, std::pair{qcTrendsToCx, qcTrendsToDt}}) {
        connect(box, &QCheckBox::toggled, date, &QWidget::setEnabled);
        connect(box, &QCheckBox::toggled, this, show);
        connect(date, &QDateEdit::dateChanged, this, [this, box = box, show] {
            if (box->isChecked())
                show();
        });
    }
    connect(qcTrendsValidOnlyCx, &QCheckBox::toggled, this, show);
    connect(qcTrendsBaselineSb, &QSpinBox::valueChanged, this, show);
    connect(qcTrendsChart, &TQcTrendsChart::pointHovered, this, [this](int index, bool entered) {
        if (entered)
            QToolTip::showText(QCursor::pos(), mModel->ToolTip(index), qcTrendsChart);
        else
            QToolTip::hideText();
    });
    Retranslate();
}

TQcTrendsPage::~TQcTrendsPage() = default;

void TQcTrendsPage::SetArchiveLocation(const QString &location)
{
    if (location == mLocation)
        return;
    mLocation = location;
    ArchiveChanged();
}

void TQcTrendsPage::AddView(QWidget *view, int textId)
{
    qcTrendsViewsTc->addTab(view, UiText(textId));
    mViewTexts << textId;
}

void TQcTrendsPage::SetCurrentRunSource(std::function<TRunKey()> source)
{
    mCurrentRun = std::move(source);
}

void TQcTrendsPage::ArchiveChanged()
{
    mStale = true;
    if (isVisible())
        RunGuarded([this] { ReadArchive(); });
}

void TQcTrendsPage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (mStale)
        RunGuarded([this] { ReadArchive(); });
}

TTrendMetric TQcTrendsPage::Metric() const
{
    return static_cast<TTrendMetric>(qcTrendsMetricCb->currentData().toInt());
}

TArchiveFilter TQcTrendsPage::Filter() const
{
    TArchiveFilter filter;
    filter.KitBatch = qcTrendsKitBatchCb->currentData().toString();
    filter.Operator = qcTrendsOperatorCb->currentData().toString();
    if (qcTrendsFromCx->isChecked())
        filter.From = qcTrendsFromDt->date();
    if (qcTrendsToCx->isChecked())
        filter.To = qcTrendsToDt->date();
    filter.ValidOnly = qcTrendsValidOnlyCx->isChecked();
    if (const QVariant curveType = qcTrendsCurveTypeCb->currentData(); curveType.isValid())
        filter.CurveType = curveType.toInt();
    return filter;
}

void TQcTrendsPage::ReadArchive()
{
    mStale = false;
    QString error;
    QList<TArchiveMetrics> runs;
    mArchive = std::make_unique<TArchive>();
    error = mArchive->Open(mLocation);
    if (error.isEmpty())
        runs = mArchive->Metrics({}, &error);
    // Without runs the choices have nothing to select from.
    if (!error.isEmpty() || runs.isEmpty())
        mArchive.reset();
    FillChoices(runs);
    if (!error.isEmpty() || runs.isEmpty()) {
        mState = error.isEmpty() ? TState::Empty : TState::Unreadable;
        mReason = error;
        mModel->SetTrend({}, std::nullopt);
        qcTrendsChart->Clear();
        ShowMessage();
        return;
    }
    ShowTrend();
}

void TQcTrendsPage::FillChoices(const QList<TArchiveMetrics> &runs)
{
    const QSignalBlocker kitBatches(qcTrendsKitBatchCb);
    const QSignalBlocker operators(qcTrendsOperatorCb);
    const QSignalBlocker curveTypes(qcTrendsCurveTypeCb);
    const QSignalBlocker from(qcTrendsFromDt);
    const QSignalBlocker to(qcTrendsToDt);
    QStringList kitBatchValues;
    QStringList operatorValues;
    QList<int> types;
    for (const TArchiveMetrics &run : runs) {
        kitBatchValues << run.KitBatch;
        operatorValues << run.Operator;
        if (!types.contains(run.CurveType))
            types << run.CurveType;
    }
    FillValues(qcTrendsKitBatchCb, kitBatchValues);
    FillValues(qcTrendsOperatorCb, operatorValues);
    std::sort(types.begin(), types.end());
    qcTrendsCurveTypeCb->clear();
    for (const int type : std::as_const(types))
        qcTrendsCurveTypeCb->addItem(CurveTypeText(type), type);
    // As the tool: the curve type of the newest recorded run.
    if (const std::optional<int> newest = NewestCurveType(runs))
        qcTrendsCurveTypeCb->setCurrentIndex(qcTrendsCurveTypeCb->findData(*newest));
    // An open side starts, once ticked, at the archive's first or last run date.
    if (!runs.isEmpty()) {
        if (!qcTrendsFromCx->isChecked())
            qcTrendsFromDt->setDate(runs.first().RunDate);
        if (!qcTrendsToCx->isChecked())
            qcTrendsToDt->setDate(runs.last().RunDate);
    }
}

void TQcTrendsPage::ShowTrend()
{
    if (!mArchive)
        return;
    QString error;
    const QList<TArchiveMetrics> runs = mArchive->Metrics(Filter(), &error);
    if (!error.isEmpty()) {
        mState = TState::Unreadable;
        mReason = error;
        mModel->SetTrend({}, std::nullopt);
        qcTrendsChart->Clear();
        ShowMessage();
        return;
    }
    TTrendEvaluation trend =
        EvaluateTrend(Metric(), TrendPoints(runs, Metric()), qcTrendsBaselineSb->value());
    std::optional<int> current;
    if (mCurrentRun) {
        const TRunKey key = mCurrentRun();
        const auto found =
            std::find_if(trend.Points.cbegin(), trend.Points.cend(), [&key](const TTrendPoint &p) {
                return p.RunDate == key.RunDate && p.KitBatch == key.KitBatch && p.RunNumber == key.RunNumber;
            });
        if (found != trend.Points.cend())
            current = static_cast<int>(found - trend.Points.cbegin());
    }
    mState = trend.Points.empty() ? TState::NoMatch : TState::Shown;
    mModel->SetTrend(std::move(trend), current);
    qcTrendsChart->SetTrend(mModel->Trend(), current);
    FitListColumns();
    if (current)
        qcTrendsListGd->scrollTo(mModel->index(*current, 0));
    ShowMessage();
}

void TQcTrendsPage::FitListColumns()
{
    qcTrendsListGd->resizeColumnsToContents();
    // Never narrower than the heading, also without rows; the last one fills the rest.
    QHeaderView *header = qcTrendsListGd->horizontalHeader();
    for (int column = 0; column + 1 < mModel->columnCount(); ++column)
        header->resizeSection(
            column, std::max(header->sectionSize(column) + kCellPadding, header->sectionSizeHint(column)));
}

void TQcTrendsPage::ShowMessage()
{
    QString text;
    bool problem = false;
    const TTrendEvaluation &trend = mModel->Trend();
    switch (mState) {
    case TState::Unread:
        break;
    case TState::Unreadable:
        text = UiText(TextId::ArchiveUnreadable).arg(mReason);
        problem = true;
        break;
    case TState::Empty:
        text = UiText(TextId::NoRunRecorded);
        break;
    case TState::NoMatch:
        text = UiText(TextId::NoRunMatches);
        break;
    case TState::Shown: {
        const TTrendBaseline &baseline = trend.Baseline;
        const QString runs = QString::number(baseline.Runs);
        switch (baseline.Problem) {
        case TBaselineProblem::TooFewRuns:
            text = UiText(TextId::BaselineTooFewRuns).arg(runs);
            problem = true;
            break;
        case TBaselineProblem::NoSpread:
            text = UiText(TextId::BaselineNoSpread).arg(runs);
            problem = true;
            break;
        case TBaselineProblem::None:
            text = UiText(TextId::BaselineSummary)
                       .arg(runs, TrendValueText(trend.Metric, baseline.Mean),
                            TrendValueText(trend.Metric, baseline.Sd));
            break;
        }
        break;
    }
    }
    qcTrendsMessageLa->setText(text);
    QPalette palette = qcTrendsMessageLa->palette();
    palette.setColor(QPalette::WindowText,
                     problem ? QColor(FailRed) : this->palette().color(QPalette::WindowText));
    qcTrendsMessageLa->setPalette(palette);
}

void TQcTrendsPage::Retranslate()
{
    const struct
    {
        QWidget *control;
        int id;
    } texts[] = {
        {qcTrendsMetricLa, TextId::TrendMetric},      {qcTrendsCurveTypeLa, TextId::CurveType},
        {qcTrendsKitBatchLa, TextId::KitBatchNumber}, {qcTrendsOperatorLa, TextId::Operator},
        {qcTrendsFromCx, TextId::DateFrom},           {qcTrendsToCx, TextId::DateTo},
        {qcTrendsValidOnlyCx, TextId::ValidRunsOnly}, {qcTrendsBaselineLa, TextId::BaselineRuns},
    };
    for (const auto &text : texts)
        SetControlText(text.control, text.id, false);
    for (int i = 0; i < qcTrendsViewsTc->count(); ++i)
        qcTrendsViewsTc->setTabText(i, UiText(mViewTexts.value(i)));
    // Controls whose caption is a check box or nothing, named for a screen reader.
    qcTrendsFromDt->setAccessibleName(UiText(TextId::DateFrom));
    qcTrendsToDt->setAccessibleName(UiText(TextId::DateTo));
    qcTrendsViewsTc->setAccessibleName(UiText(TextId::TrendViews));
    qcTrendsListGd->setAccessibleName(UiText(TextId::TrendRuns));
    qcTrendsChart->setAccessibleName(UiText(MetricTextId(Metric())));

    const int pointSize =
        GetFontManager().DetermineFontSize(GetTranslationManager().DetermineCharset(), CONTROL_DEFAULT);
    for (QWidget *widget : std::initializer_list<QWidget *>{
             qcTrendsMetricCb, qcTrendsCurveTypeCb, qcTrendsKitBatchCb, qcTrendsOperatorCb, qcTrendsFromDt,
             qcTrendsToDt, qcTrendsBaselineSb, qcTrendsMessageLa, qcTrendsListGd}) {
        QFont font = widget->font();
        font.setPointSize(pointSize);
        widget->setFont(font);
    }
    for (int i = 0; i < qcTrendsMetricCb->count(); ++i)
        qcTrendsMetricCb->setItemText(
            i, UiText(MetricTextId(static_cast<TTrendMetric>(qcTrendsMetricCb->itemData(i).toInt()))));
    for (QComboBox *box : {qcTrendsKitBatchCb, qcTrendsOperatorCb})
        if (box->count() > 0)
            box->setItemText(0, UiText(TextId::AllChoices));
    for (int i = 0; i < qcTrendsCurveTypeCb->count(); ++i)
        qcTrendsCurveTypeCb->setItemText(i, CurveTypeText(qcTrendsCurveTypeCb->itemData(i).toInt()));

    qcTrendsChart->Retranslate(UiText(MetricTextId(Metric())));
    qcTrendsChart->UpdateNumberFormat();
    mModel->Retext();
    FitListColumns();
    ShowMessage();
}
