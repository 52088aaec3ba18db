#include "QcTrendsChart.h"

#include "core/TextIds.h"
#include "core/UiTextManager.h"
#include "ui/main/CurveChart.h"
#include "ui/main/PanelGeometry.h"

#include <QChart>
#include <QFontMetricsF>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr int kYTickCount = 7;

struct TLimitStyle
{
    QRgb Color;
    Qt::PenStyle Style;
};
// The mean solid, each further SD in its own dash as well as its own colour.
constexpr TLimitStyle kLimitStyles[4] = {{0x2E7D32, Qt::SolidLine},
                                         {0x808080, Qt::DotLine},
                                         {0xE08000, Qt::DashLine},
                                         {0xC00000, Qt::DashDotLine}};

// 1, 2 or 5 times a power of ten, at least `rough`.
double NiceStep(double rough)
{
    const double power = std::pow(10.0, std::floor(std::log10(std::max(rough, 1e-12))));
    for (const double factor : {1.0, 2.0, 5.0})
        if (factor * power >= rough)
            return factor * power;
    return 10.0 * power;
}

} // namespace

const TTrendMarkStyle &TrendMarkStyleOf(TTrendMark mark)
{
    static constexpr TTrendMarkStyle styles[] = {
        {QScatterSeries::MarkerShapeCircle, 0x1F5FA8, 8.0},
        {QScatterSeries::MarkerShapeTriangle, 0xE08000, 12.0},
        {QScatterSeries::MarkerShapeRotatedRectangle, 0xC00000, 12.0},
    };
    return styles[static_cast<int>(mark)];
}

TQcTrendsChart::TQcTrendsChart(QWidget *parent) : QChartView(parent)
{
    auto *chart = new QChart;
    chart->setBackgroundRoundness(0);
    chart->legend()->setAlignment(Qt::AlignRight);
    // The legend shows each mark's own shape, not colour alone.
    chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    mAxisX = new QValueAxis(chart);
    mAxisY = new QValueAxis(chart);
    mAxisX->setLabelFormat(u"%.0f"_s);
    mAxisX->setTickType(QValueAxis::TicksDynamic);
    mAxisX->setTickAnchor(1.0);
    mAxisY->setTickCount(kYTickCount);
    chart->addAxis(mAxisX, Qt::AlignBottom);
    chart->addAxis(mAxisY, Qt::AlignLeft);
    const auto add = [&](QXYSeries *series) {
        chart->addSeries(series);
        series->attachAxis(mAxisX);
        series->attachAxis(mAxisY);
    };

    mPath = new QLineSeries(chart);
    mPath->setPen(QPen(QColor(0xB0, 0xB0, 0xB0), 1.0));
    add(mPath);
    for (std::size_t i = 0; i < mLimits.size(); ++i) {
        const TLimitStyle &style = kLimitStyles[(i + 1) / 2];
        mLimits[i] = new QLineSeries(chart);
        mLimits[i]->setPen(QPen(QColor(style.Color), i == 0 ? 1.5 : 1.2, style.Style));
        add(mLimits[i]);
    }
    const auto addMarks = [&](QScatterSeries *series, const TTrendMarkStyle &style, const QColor &fill) {
        series->setMarkerShape(style.Shape);
        series->setMarkerSize(style.Size);
        series->setColor(fill);
        series->setBorderColor(QColor(style.Color));
        add(series);
    };
    for (const TTrendMark mark : {TTrendMark::InControl, TTrendMark::Warning, TTrendMark::Rejection}) {
        auto *series = new QScatterSeries(chart);
        addMarks(series, TrendMarkStyleOf(mark), QColor(TrendMarkStyleOf(mark).Color));
        connect(series, &QScatterSeries::hovered, this, [this](const QPointF &point, bool state) {
            Q_EMIT pointHovered(qRound(point.x()) - 1, state);
        });
        mMarks[static_cast<std::size_t>(mark)] = series;
    }
    // A hollow ring drawn over the current run's mark.
    mCurrent = new QScatterSeries(chart);
    addMarks(mCurrent, {QScatterSeries::MarkerShapeCircle, CurrentRunColor, 20.0}, Qt::transparent);
    QPen ring(QColor(CurrentRunColor), 2.5);
    mCurrent->setPen(ring);

    // One legend entry per line pair; the path between the points has none.
    chart->legend()->markers(mPath).first()->setVisible(false);
    for (std::size_t i = 2; i < mLimits.size(); i += 2)
        chart->legend()->markers(mLimits[i]).first()->setVisible(false);

    mAxisTitlePointSize = mAxisY->titleFont().pointSize();
    connect(chart, &QChart::plotAreaChanged, this, &TQcTrendsChart::FitAxisTitle);

    setChart(chart);
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::NoRubberBand);
    UpdateNumberFormat();
    Clear();
}

void TQcTrendsChart::UpdateNumberFormat()
{
    UseRegionalNumbers(chart());
    // Run indexes into the thousands are written without a group separator.
    QLocale locale = chart()->locale();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    chart()->setLocale(locale);
}

void TQcTrendsChart::Retranslate(const QString &metricName)
{
    const TTrendMark marks[] = {TTrendMark::InControl, TTrendMark::Warning, TTrendMark::Rejection};
    const int names[] = {TextId::TrendInControl, TextId::TrendWarning, TextId::TrendRejection};
    for (std::size_t i = 0; i < std::size(marks); ++i)
        MarkSeries(marks[i])->setName(UiText(names[i]));
    mCurrent->setName(UiText(TextId::TrendCurrentRun));
    mLimits[0]->setName(UiText(TextId::TrendMean));
    for (std::size_t i = 1; i < mLimits.size(); ++i)
        mLimits[i]->setName(UiText(TextId::TrendSdLine).arg((i + 1) / 2));
    mAxisX->setTitleText(UiText(TextId::TrendRunAxis));
    mAxisY->setTitleText(metricName);
    FitAxisTitle();
}

void TQcTrendsChart::FitAxisTitle()
{
    // A metric's name in some languages is longer than the plot is high: the title shrinks
    // to fit rather than being cut.
    const qreal room = chart()->plotArea().height();
    if (room <= 0)
        return;
    QFont font = mAxisY->titleFont();
    const QString title = mAxisY->titleText();
    font.setPointSize(FittingPointSize(mAxisTitlePointSize, kSmallestAxisTitlePointSize, [&](int pointSize) {
        QFont candidate = font;
        candidate.setPointSize(pointSize);
        return QFontMetricsF(candidate).horizontalAdvance(title) <= room;
    }));
    if (font != mAxisY->titleFont())
        mAxisY->setTitleFont(font);
}

void TQcTrendsChart::Clear()
{
    SetTrend({}, std::nullopt);
}

void TQcTrendsChart::SetTrend(const TTrendEvaluation &evaluation, std::optional<int> current)
{
    const std::size_t count = evaluation.Points.size();
    QList<QPointF> path;
    std::array<QList<QPointF>, 3> marks;
    path.reserve(static_cast<qsizetype>(count));
    for (std::size_t i = 0; i < count; ++i) {
        const QPointF point(static_cast<double>(i + 1), evaluation.Points[i].Value);
        path.append(point);
        marks[static_cast<std::size_t>(TrendMarkOf(evaluation.Results[i]))].append(point);
    }
    mPath->replace(path);
    for (std::size_t m = 0; m < marks.size(); ++m)
        mMarks[m]->replace(marks[m]);
    mCurrent->clear();
    if (current && *current >= 0 && static_cast<std::size_t>(*current) < count)
        mCurrent->append(path.at(*current));

    const TTrendBaseline &baseline = evaluation.Baseline;
    const bool withLimits = count > 0 && baseline.Problem == TBaselineProblem::None;
    for (std::size_t i = 0; i < mLimits.size(); ++i) {
        mLimits[i]->clear();
        // In the legend only while drawn.
        mLimits[i]->setVisible(withLimits);
        if (!withLimits)
            continue;
        const double sds = static_cast<double>((i + 1) / 2) * (i % 2 == 1 ? 1.0 : -1.0);
        const double y = baseline.Mean + sds * baseline.Sd;
        mLimits[i]->append({{0.5, y}, {static_cast<double>(count) + 0.5, y}});
    }
    for (std::size_t i = 2; i < mLimits.size(); i += 2)
        chart()->legend()->markers(mLimits[i]).first()->setVisible(false);
    SetRanges(evaluation, withLimits);
    viewport()->update();
}

void TQcTrendsChart::SetRanges(const TTrendEvaluation &evaluation, bool withLimits)
{
    const std::size_t count = evaluation.Points.size();
    const double runs = static_cast<double>(std::max<std::size_t>(count, 1));
    mAxisX->setRange(0.5, runs + 0.5);
    // Runs are whole numbers: a step below 1 would label one run many times.
    mAxisX->setTickInterval(std::max(1.0, NiceStep(runs / 10.0)));

    double low = 0.0;
    double high = 1.0;
    if (count > 0) {
        const auto [min, max] =
            std::minmax_element(evaluation.Points.cbegin(), evaluation.Points.cend(),
                                [](const TTrendPoint &a, const TTrendPoint &b) { return a.Value < b.Value; });
        low = min->Value;
        high = max->Value;
        if (withLimits) {
            low = std::min(low, evaluation.Baseline.Mean - 3 * evaluation.Baseline.Sd);
            high = std::max(high, evaluation.Baseline.Mean + 3 * evaluation.Baseline.Sd);
        }
        const double room = high - low > 0.0 ? (high - low) * 0.05 : std::max(std::abs(high) * 0.05, 0.05);
        low -= room;
        high += room;
    }
    const double step = NiceStep((high - low) / (kYTickCount - 1));
    mAxisY->setRange(std::floor(low / step) * step, std::ceil(high / step) * step);
    mAxisY->setTickType(QValueAxis::TicksDynamic);
    mAxisY->setTickAnchor(0.0);
    mAxisY->setTickInterval(step);
    // As many decimals as the step needs.
    const int decimals = std::clamp(static_cast<int>(std::ceil(-std::log10(step) - 1e-9)), 0, 8);
    mAxisY->setLabelFormat(u"%.%1f"_s.arg(decimals));
}
