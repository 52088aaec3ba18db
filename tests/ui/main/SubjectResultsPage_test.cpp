// The Subject Results page alone against a session and its notifier.

#include "PageTestSupport.h"

#include "core/UiTextManager.h"
#include "run/ResultTexts.h"
#include "support/LanguageGuard.h"
#include "ui/main/grids/ResultsViews.h"
#include "ui/main/pages/SubjectResultsPage.h"

#include <QLabel>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class SubjectResultsPageTest : public PageTest<TSubjectResultsPage>
{
protected:
    QLabel *Footnote() const { return page.findChild<QLabel *>(u"lblResultGridFootnote"_s); }
    QWidget *FootnotePanel() const { return page.findChild<QWidget *>(u"Panel2"_s); }
};

TEST_F(SubjectResultsPageTest, Calculated_ShowsSubjectsAndFootnote_DiscardedClearsThem)
{
    ASSERT_TRUE(notifier.LoadRun(ExampleRun()).Ok());
    const int rows = page.ResultGrid()->rowCount();
    EXPECT_TRUE(page.ResultGrid()->Cell(1, 1).isEmpty());
    ASSERT_TRUE(notifier.Calculate().Ok());
    const TRunCalculationResult &result = *session.LastResult();
    EXPECT_EQ(page.ResultGrid()->rowCount(), rows);
    EXPECT_FALSE(page.ResultGrid()->Cell(0, 1).isEmpty());
    EXPECT_FALSE(page.ResultGrid()->Cell(1, 1).isEmpty());
    EXPECT_EQ(Footnote()->text(), ResultTexts::FootnoteLines(result).join(u'\n') + u' ');
    EXPECT_FALSE(FootnotePanel()->isHidden());

    notifier.ClearLayout();
    EXPECT_LT(page.ResultGrid()->rowCount(), rows);
    EXPECT_TRUE(Footnote()->text().isEmpty());
    EXPECT_TRUE(FootnotePanel()->isHidden());
}

TEST_F(SubjectResultsPageTest, Retranslate_FootnoteInTheNewLanguage)
{
    LoadAndCalculate();
    const TestSupport::LanguageGuard german(u"LOCALE_GERMAN"_s);
    const QString english = Footnote()->text();
    page.Retranslate();
    EXPECT_TRUE(Footnote()->text().startsWith(u"# "_s + UiText(285))) << Footnote()->text().toStdString();
    EXPECT_NE(Footnote()->text(), english);
}

} // namespace
