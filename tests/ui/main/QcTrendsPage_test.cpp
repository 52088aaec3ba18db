// The QC Trends page alone against a temporary SQLite archive filled through TArchive.

#include "archive/Archive.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "plate/MarnovelTypes.h"
#include "run/QcRules.h"
#include "support/GuiApplication.h"
#include "support/LanguageGuard.h"
#include "support/TestSupport.h"
#include "ui/main/pages/QcTrendsChart.h"
#include "ui/main/pages/QcTrendsModel.h"
#include "ui/main/pages/QcTrendsPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QDate kFirstDay(2026, 3, 2);

struct TRun
{
    double top; // the top standard's mean OD
    QString kit = u"K1"_s;
    QString op = u"ann"_s;
    int curveType = CURVE_8POINT;
    bool valid = true;
};

// Run i is dated kFirstDay + i and numbered i + 1.
TArchiveRecord Record(int i, const TRun &run)
{
    TArchiveRecord record;
    record.RunDate = kFirstDay.addDays(i);
    record.RunNumber = QString::number(i + 1);
    record.KitBatch = run.kit;
    record.Operator = run.op;
    record.CurveType = run.curveType;
    record.Valid = run.valid;
    record.Slope = 0.8 + 0.001 * i;
    record.Intercept = -0.9;
    record.Correlation = 0.999;
    record.Standards = {{u"S1"_s, 100.0, {{u"A1"_s, run.top}}, run.top, 1.0, true, {}},
                        {u"S2"_s, 0.0, {{u"B1"_s, 0.05}}, 0.05, 1.0, true, {}}};
    record.Sha256 = Sha256Hex(record.RunNumber.toUtf8());
    return record;
}

// Twenty baseline runs at 0.99 and 1.01 in turn: mean 1, SD 0.0102598.
QList<TRun> Baseline()
{
    QList<TRun> runs;
    for (int i = 0; i < 20; ++i)
        runs.append(TRun{i % 2 == 0 ? 0.99 : 1.01});
    return runs;
}

class QcTrendsPageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mDir.isValid());
        mLocation = mDir.filePath(u"archive.sqlite"_s);
        page.SetArchiveLocation(mLocation);
        page.resize(1100, 700);
    }

    void Add(const QList<TRun> &runs)
    {
        TArchive archive;
        ASSERT_EQ(archive.Open(mLocation), QString());
        for (const TRun &run : runs)
            ASSERT_TRUE(archive.Record(Record(mRecorded++, run)).Ok());
    }
    void Show()
    {
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    }

    template <typename Widget> Widget *Child(const QString &name) const
    {
        auto *widget = page.findChild<Widget *>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    QString Message() const { return Child<QLabel>(u"qcTrendsMessageLa"_s)->text(); }
    int Rows() const { return page.Model()->rowCount(); }
    // Every point the chart marks, whatever its mark.
    int ChartPoints() const
    {
        int points = 0;
        for (const TTrendMark mark : {TTrendMark::InControl, TTrendMark::Warning, TTrendMark::Rejection})
            points += page.Chart()->MarkSeries(mark)->count();
        return points;
    }
    void Choose(const QString &combo, const QVariant &data) const
    {
        auto *box = Child<QComboBox>(combo);
        const int index = box->findData(data);
        ASSERT_GE(index, 0) << data.toString().toStdString();
        box->setCurrentIndex(index);
    }

    QTemporaryDir mDir;
    QString mLocation;
    int mRecorded = 0;
    TQcTrendsPage page;
};

TEST_F(QcTrendsPageTest, EmptyArchive_SaysHowRunsGetThere)
{
    Show();
    EXPECT_EQ(Message(), UiText(TextId::NoRunRecorded));
    EXPECT_TRUE(Message().contains(u"velomyra-cli archive add"_s));
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(ChartPoints(), 0);
    // Another metric has no runs either: still the same text.
    Choose(u"qcTrendsMetricCb"_s, static_cast<int>(TTrendMetric::Slope));
    EXPECT_EQ(Message(), UiText(TextId::NoRunRecorded));
}

TEST_F(QcTrendsPageTest, UnreadableArchive_GivesTheReasonOnThePage)
{
    page.SetArchiveLocation(mDir.path()); // a folder
    Show();
    EXPECT_TRUE(Message().startsWith(UiText(TextId::ArchiveUnreadable).arg(QString())))
        << Message().toStdString();
    EXPECT_TRUE(Message().contains(u"is a folder"_s)) << Message().toStdString();
    EXPECT_EQ(Rows(), 0);
    EXPECT_TRUE(TestSupport::Presenter().messages.empty());
}

TEST_F(QcTrendsPageTest, Read_OnlyWhenShown_AndAgainWhenChanged)
{
    Add({{1.0}, {1.1}});
    EXPECT_TRUE(page.IsStale());
    EXPECT_EQ(Rows(), 0);
    Show();
    EXPECT_FALSE(page.IsStale());
    EXPECT_EQ(Rows(), 2);

    // Shown: a change is read at once.
    Add({{1.2}});
    page.ArchiveChanged();
    EXPECT_EQ(Rows(), 3);

    // Hidden: only marked, read when shown again.
    page.hide();
    Add({{1.3}});
    page.ArchiveChanged();
    EXPECT_TRUE(page.IsStale());
    EXPECT_EQ(Rows(), 3);
    Show();
    EXPECT_EQ(Rows(), 4);
}

TEST_F(QcTrendsPageTest, Choices_SelectThePoints)
{
    // Two 4-point runs recorded first; the newest run is an 8-point one, so its curve type shows.
    Add({{0.5, u"K0"_s, u"ann"_s, CURVE_4POINT},
         {0.6, u"K0"_s, u"ann"_s, CURVE_4POINT},
         {1.0, u"K1"_s, u"ann"_s},
         {1.1, u"K1"_s, u"bob"_s},
         {1.2, u"K2"_s, u"bob"_s, CURVE_8POINT, false},
         {1.3, u"K2"_s, u"ann"_s},
         {1.4, u"K2"_s, u"bob"_s}});
    Show();
    ASSERT_EQ(Rows(), 5);
    EXPECT_EQ(Child<QComboBox>(u"qcTrendsCurveTypeCb"_s)->currentText(), UiText(TextId::EightPointCurve));
    EXPECT_EQ(Child<QComboBox>(u"qcTrendsKitBatchCb"_s)->count(), 4); // (all), K0, K1, K2

    const struct
    {
        const char *name;
        std::function<void()> choose;
        std::function<void()> undo;
        QStringList runNumbers;
    } cases[] = {
        {"kit batch",
         [&] { Choose(u"qcTrendsKitBatchCb"_s, u"K2"_s); },
         [&] { Choose(u"qcTrendsKitBatchCb"_s, QString()); },
         {u"5"_s, u"6"_s, u"7"_s}},
        {"operator",
         [&] { Choose(u"qcTrendsOperatorCb"_s, u"bob"_s); },
         [&] { Choose(u"qcTrendsOperatorCb"_s, QString()); },
         {u"4"_s, u"5"_s, u"7"_s}},
        {"valid only",
         [&] { Child<QCheckBox>(u"qcTrendsValidOnlyCx"_s)->setChecked(true); },
         [&] { Child<QCheckBox>(u"qcTrendsValidOnlyCx"_s)->setChecked(false); },
         {u"3"_s, u"4"_s, u"6"_s, u"7"_s}},
        {"from and to",
         [&] {
             Child<QCheckBox>(u"qcTrendsFromCx"_s)->setChecked(true);
             Child<QDateEdit>(u"qcTrendsFromDt"_s)->setDate(kFirstDay.addDays(3));
             Child<QCheckBox>(u"qcTrendsToCx"_s)->setChecked(true);
             Child<QDateEdit>(u"qcTrendsToDt"_s)->setDate(kFirstDay.addDays(5));
         },
         [&] {
             Child<QCheckBox>(u"qcTrendsFromCx"_s)->setChecked(false);
             Child<QCheckBox>(u"qcTrendsToCx"_s)->setChecked(false);
         },
         {u"4"_s, u"5"_s, u"6"_s}},
        {"curve type",
         [&] { Choose(u"qcTrendsCurveTypeCb"_s, int(CURVE_4POINT)); },
         [&] { Choose(u"qcTrendsCurveTypeCb"_s, int(CURVE_8POINT)); },
         {u"1"_s, u"2"_s}},
    };
    for (const auto &c : cases) {
        c.choose();
        QStringList shown;
        for (int row = 0; row < Rows(); ++row)
            shown << page.Model()->index(row, TQcTrendsModel::RunNumberColumn).data().toString();
        EXPECT_EQ(shown, c.runNumbers) << c.name;
        EXPECT_EQ(ChartPoints(), c.runNumbers.size()) << c.name;
        c.undo();
        EXPECT_EQ(Rows(), 5) << c.name;
    }

    // The metric: another value of the same runs.
    Choose(u"qcTrendsMetricCb"_s, static_cast<int>(TTrendMetric::Slope));
    EXPECT_EQ(page.Model()->index(0, TQcTrendsModel::ValueColumn).data().toString(), FormatFixed(0.802, 4));
}

TEST_F(QcTrendsPageTest, WarningsAndRejections_DistinctMarksAndTheirRules)
{
    Add(Baseline() + QList<TRun>{{1.026}, {0.964}}); // z 2.53: 1-2s alone; z -3.51: 1-3s and more
    Show();
    ASSERT_EQ(Rows(), 22);
    const TQcTrendsChart *chart = page.Chart();
    const QScatterSeries *warnings = chart->MarkSeries(TTrendMark::Warning);
    const QScatterSeries *rejections = chart->MarkSeries(TTrendMark::Rejection);
    ASSERT_EQ(warnings->count(), 1);
    ASSERT_EQ(rejections->count(), 1);
    EXPECT_EQ(warnings->at(0), QPointF(21, 1.026));
    EXPECT_EQ(rejections->at(0), QPointF(22, 0.964));
    EXPECT_EQ(chart->MarkSeries(TTrendMark::InControl)->count(), 20);

    // Shape and colour both tell the three apart.
    const QScatterSeries *all[] = {chart->MarkSeries(TTrendMark::InControl), warnings, rejections};
    for (int a = 0; a < 3; ++a)
        for (int b = a + 1; b < 3; ++b) {
            EXPECT_NE(all[a]->markerShape(), all[b]->markerShape()) << a << b;
            EXPECT_NE(all[a]->color(), all[b]->color()) << a << b;
        }

    EXPECT_EQ(page.Model()->RulesText(20), u"1-2s"_s);
    EXPECT_EQ(page.Model()->RulesText(21), u"1-2s, 1-3s, R-4s"_s);
    EXPECT_TRUE(
        page.Model()->ToolTip(21).endsWith(u"\n"_s + UiText(TextId::TrendRules) + u": 1-2s, 1-3s, R-4s"_s));
    // The baseline's mean and SD lines: mean, +1, -1, ... at the baseline's values.
    const auto &limits = chart->LimitSeries();
    ASSERT_EQ(limits[0]->count(), 2);
    EXPECT_NEAR(limits[0]->at(0).y(), 1.0, 1e-12);
    EXPECT_NEAR(limits[5]->at(0).y(), 1.0 + 3 * 0.0102598, 1e-6);
    EXPECT_NEAR(limits[6]->at(0).y(), 1.0 - 3 * 0.0102598, 1e-6);
    EXPECT_EQ(Message(),
              UiText(TextId::BaselineSummary).arg(u"20"_s, FormatFixed(1.0, 4), FormatFixed(0.0102598, 4)));
}

TEST_F(QcTrendsPageTest, CurrentRun_RingedInTheChartAndMarkedInTheList)
{
    Add({{1.0}, {1.5, u"K9"_s, u"cy"_s}, {2.0}});
    page.SetCurrentRunSource([] { return TQcTrendsPage::TRunKey{kFirstDay.addDays(1), u"K9"_s, u"2"_s}; });
    Show();
    const QScatterSeries *current = page.Chart()->CurrentSeries();
    ASSERT_EQ(current->count(), 1);
    EXPECT_EQ(current->at(0), QPointF(2, 1.5));
    EXPECT_EQ(page.Model()->CurrentRow(), 1);
    EXPECT_TRUE(page.Model()->index(1, 0).data(Qt::BackgroundRole).isValid());
    EXPECT_FALSE(page.Model()->index(0, 0).data(Qt::BackgroundRole).isValid());
    // Its tool tip, as the list's row gives it too.
    const QString tip = UiText(TextId::RunDate) + u": "_s +
                        DateTimeToText(kFirstDay.addDays(1).startOfDay()) + u"\n"_s +
                        UiText(TextId::RunNumber) + u": 2\n"_s + UiText(TextId::KitBatchNumber) +
                        u": K9\n"_s + UiText(TextId::Operator) + u": cy\n"_s + UiText(TextId::TrendValue) +
                        u": "_s + FormatFixed(1.5, 4) + u"\n"_s + UiText(TextId::TrendZ) + u": "_s +
                        FormatFixed(0.0, 2) + u"\n"_s + UiText(TextId::TrendRules) + u": -"_s;
    EXPECT_EQ(page.Model()->ToolTip(1), tip);
    EXPECT_EQ(page.Model()->index(1, 3).data(Qt::ToolTipRole).toString(), tip);

    // Another run in the window: no ring.
    page.SetCurrentRunSource([] { return TQcTrendsPage::TRunKey{kFirstDay, u"K9"_s, u"1"_s}; });
    page.ArchiveChanged();
    EXPECT_EQ(page.Chart()->CurrentSeries()->count(), 0);
    EXPECT_EQ(page.Model()->CurrentRow(), std::nullopt);
}

TEST_F(QcTrendsPageTest, MouseOnAPoint_ShowsItsRun)
{
    Add({{1.0}, {1.5}, {2.0}});
    Show();
    TQcTrendsChart *chart = page.Chart();
    QSignalSpy hovered(chart, &TQcTrendsChart::pointHovered);
    QScatterSeries *marks = chart->MarkSeries(TTrendMark::InControl);
    const QPointF scene = chart->chart()->mapToPosition(QPointF(2, 1.5), marks);
    const QPoint at = chart->mapFromScene(chart->chart()->mapToScene(scene));
    QTest::mouseMove(chart->viewport(), at - QPoint(30, 30));
    QTest::mouseMove(chart->viewport(), at);
    ASSERT_FALSE(hovered.isEmpty());
    EXPECT_EQ(hovered.first().at(0).toInt(), 1);
    EXPECT_TRUE(hovered.first().at(1).toBool());
}

TEST_F(QcTrendsPageTest, BaselineProblem_SaysWhyAndDrawsPointsWithoutLinesOrRules)
{
    const struct
    {
        QList<TRun> runs;
        int baselineRuns;
        QString message;
    } cases[] = {
        {{{1.0}, {1.5}, {3.0}}, 1, UiText(TextId::BaselineTooFewRuns).arg(u"1"_s)},
        {{{1.0}, {1.0}, {1.0}, {3.0}}, 3, UiText(TextId::BaselineNoSpread).arg(u"3"_s)},
    };
    int archives = 0;
    for (const auto &c : cases) {
        page.hide();
        mLocation = mDir.filePath(u"case%1.sqlite"_s.arg(++archives));
        mRecorded = 0;
        Add(c.runs);
        page.SetArchiveLocation(mLocation);
        Child<QSpinBox>(u"qcTrendsBaselineSb"_s)->setMinimum(1);
        Child<QSpinBox>(u"qcTrendsBaselineSb"_s)->setValue(c.baselineRuns);
        Show();
        EXPECT_EQ(Message(), c.message);
        EXPECT_EQ(page.Chart()->MarkSeries(TTrendMark::InControl)->count(), c.runs.size());
        // A few runs: the run axis labels each run once.
        EXPECT_GE(page.Chart()->AxisX()->tickInterval(), 1.0);
        for (const QLineSeries *line : page.Chart()->LimitSeries())
            EXPECT_EQ(line->count(), 0);
        for (int row = 0; row < Rows(); ++row) {
            EXPECT_EQ(page.Model()->index(row, TQcTrendsModel::ZColumn).data().toString(), u"-"_s);
            EXPECT_TRUE(page.Model()->RulesText(row).isEmpty());
        }
    }
}

TEST_F(QcTrendsPageTest, Retranslate_EveryTextInTheNewLanguage)
{
    Add({{1.0}, {1.1}});
    Show();
    const TestSupport::LanguageGuard german(u"LOCALE_GERMAN"_s);
    ASSERT_NE(UiText(TextId::TrendMetric), u"Metric"_s);
    page.Retranslate();
    EXPECT_EQ(Child<QLabel>(u"qcTrendsMetricLa"_s)->text(), UiText(TextId::TrendMetric));
    EXPECT_EQ(Child<QCheckBox>(u"qcTrendsValidOnlyCx"_s)->text(), UiText(TextId::ValidRunsOnly));
    EXPECT_EQ(Child<QComboBox>(u"qcTrendsMetricCb"_s)->itemText(0), UiText(QcText::TopStandardMeanOd));
    EXPECT_EQ(Child<QComboBox>(u"qcTrendsKitBatchCb"_s)->itemText(0), UiText(TextId::AllChoices));
    EXPECT_EQ(Child<QComboBox>(u"qcTrendsCurveTypeCb"_s)->itemText(0), UiText(TextId::EightPointCurve));
    EXPECT_EQ(page.Model()->headerData(TQcTrendsModel::RulesColumn, Qt::Horizontal).toString(),
              UiText(TextId::TrendRules));
    EXPECT_EQ(page.Chart()->MarkSeries(TTrendMark::Rejection)->name(), UiText(TextId::TrendRejection));
    EXPECT_EQ(page.Chart()->LimitSeries()[3]->name(), UiText(TextId::TrendSdLine).arg(2));
    EXPECT_EQ(page.Chart()->AxisY()->titleText(), UiText(QcText::TopStandardMeanOd));
    EXPECT_EQ(
        Message(),
        UiText(TextId::BaselineSummary).arg(u"2"_s, FormatFixed(1.05, 4), FormatFixed(std::sqrt(0.005), 4)));
}

} // namespace
