// The QC Trends tab in the main window: open from every tab without a gate, the way back
// ungated, the workflow gates as they were, and no archive read before the tab is shown.

#include "MainWindowTestSupport.h"

#include "core/Registry.h"
#include "core/TextIds.h"
#include "support/GuiApplication.h"
#include "ui/main/pages/QcTrendsModel.h"
#include "ui/main/pages/QcTrendsPage.h"

#include <QFileInfo>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolButton>

using namespace Qt::StringLiterals;
using TestSupport::Presenter;

namespace {

class QcTrendsTabTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mDir.isValid());
        mArchive = mDir.filePath(u"trends.sqlite"_s);
        OpenRegistry()->setValue(u"Archive/Location"_s, mArchive);
        MainWindowTest::SetUp();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        OpenRegistry()->remove(u"Archive/Location"_s);
    }

    QTemporaryDir mDir;
    QString mArchive;
};

TEST_F(QcTrendsTabTest, FifthTab_CaptionInTheFreeFifth)
{
    ASSERT_EQ(Tabs()->count(), 5);
    EXPECT_EQ(Tabs()->tabText(TfrmMainCombinedRd::TrendsPage), u"QC Trends"_s);
    EXPECT_EQ(Child(u"qcTrendsSheet"_s), &window->QcTrends());
    const int fifth = Child(u"PageControl1"_s)->width() / 5;
    EXPECT_EQ(Tabs()->tabRect(TfrmMainCombinedRd::TrendsPage),
              QRect(4 * fifth, 0, fifth, Tabs()->tabRect(0).height()));

    // Each language's caption fits its tab at the narrowest window, at the tab's own size.
    window->resize(window->minimumSize());
    window->ArrangeLayout();
    for (const auto key : {Qt::Key_G, Qt::Key_9, Qt::Key_E}) {
        QTest::keyClick(window->GetKitBatchNoEd(), key, Qt::ControlModifier);
        const QString caption = Tabs()->tabText(TfrmMainCombinedRd::TrendsPage);
        EXPECT_EQ(caption, UiText(TextId::QcTrends));
        QFont bold = Tabs()->font();
        bold.setBold(true);
        EXPECT_LE(QFontMetrics(bold).horizontalAdvance(caption), Tabs()->TabWidth() - 4)
            << caption.toStdString();
    }
}

TEST_F(QcTrendsTabTest, NoArchiveAccessUntilTheTabIsShown)
{
    for (const int tab : {TfrmMainCombinedRd::RunDetailsPage, TfrmMainCombinedRd::RawDataPage})
        window->SetActivePage(tab);
    EXPECT_FALSE(QFileInfo::exists(mArchive));
    EXPECT_TRUE(window->QcTrends().IsStale());

    ClickTab(TfrmMainCombinedRd::TrendsPage);
    EXPECT_TRUE(QFileInfo::exists(mArchive)); // the settings store's location, opened
    EXPECT_FALSE(window->QcTrends().IsStale());
    EXPECT_EQ(Child<QLabel>(u"qcTrendsMessageLa"_s)->text(), UiText(TextId::NoRunRecorded));
}

TEST_F(QcTrendsTabTest, ReachableFromEveryTabWithoutAGate_AndBackTheSameWay)
{
    const struct
    {
        const char *state;
        std::function<void()> reach;
    } states[] = {
        {"new run, details empty", [] {}},
        {"details complete", [&] { FillRunDetails(); }},
        {"calculated, unsaved", [&] { LoadAndCalculate(); }},
    };
    for (const auto &state : states) {
        window.reset();
        MainWindowTest::SetUp();
        state.reach();
        for (const int from : {TfrmMainCombinedRd::RunDetailsPage, TfrmMainCombinedRd::RawDataPage,
                               TfrmMainCombinedRd::ResultsPage, TfrmMainCombinedRd::SamplesPage}) {
            window->SetActivePage(from);
            Presenter().Clear();
            ClickTab(TfrmMainCombinedRd::TrendsPage);
            EXPECT_EQ(window->ActivePage(), TfrmMainCombinedRd::TrendsPage) << state.state << ' ' << from;
            EXPECT_FALSE(Child<QToolButton>(u"btnPageLeft"_s)->isVisible()) << state.state << ' ' << from;
            EXPECT_FALSE(Child<QToolButton>(u"btnPageRight"_s)->isVisible()) << state.state << ' ' << from;
            ClickTab(from);
            EXPECT_EQ(window->ActivePage(), from) << state.state << ' ' << from;
            EXPECT_TRUE(Presenter().messages.empty()) << state.state << ' ' << from << ' ' << Messages();
        }
    }
}

TEST_F(QcTrendsTabTest, LeavingTheTrendsTab_ToAnotherTabKeepsItsGate)
{
    // Incomplete run details: the way to Raw Data is refused as it is from Run Details.
    ClickTab(TfrmMainCombinedRd::TrendsPage);
    ASSERT_EQ(window->ActivePage(), TfrmMainCombinedRd::TrendsPage);
    ClickTab(TfrmMainCombinedRd::RawDataPage);
    EXPECT_EQ(window->ActivePage(), TfrmMainCombinedRd::TrendsPage);
    EXPECT_EQ(Presenter().Texts(), QStringList{u"Please enter a Batch Number."_s});

    // Complete: allowed, and the arrows are back.
    ClickTab(TfrmMainCombinedRd::RunDetailsPage);
    FillRunDetails();
    ClickTab(TfrmMainCombinedRd::TrendsPage);
    Presenter().Clear();
    ClickTab(TfrmMainCombinedRd::RawDataPage);
    EXPECT_EQ(window->ActivePage(), TfrmMainCombinedRd::RawDataPage);
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    EXPECT_TRUE(Child<QToolButton>(u"btnPageLeft"_s)->isVisible());
}

} // namespace
