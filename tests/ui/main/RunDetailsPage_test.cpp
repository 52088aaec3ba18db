// The Run Details page alone against a session and its notifier.

#include "PageTestSupport.h"

#include "core/TextIds.h"
#include "core/UiTextManager.h"
#include "run/MarnovelRdData.h"
#include "support/LanguageGuard.h"
#include "ui/main/RunDatePicker.h"
#include "ui/main/grids/StdConcGrid.h"
#include "ui/main/pages/RunDetailsPage.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using TestSupport::Dec;

namespace {

class RunDetailsPageTest : public PageTest<TRunDetailsPage>
{
protected:
    QRadioButton *Radio(const QString &name) const { return Child<QRadioButton>(name); }
    QStringList Concentrations() const
    {
        QStringList texts;
        for (int row = 0; row < page.StdConcGrid()->rowCount(); ++row)
            texts << page.StdConcGrid()->Cell(1, row);
        return texts;
    }
};

TEST_F(RunDetailsPageTest, TypedDetails_GoIntoTheRunThroughTheStep)
{
    QSignalSpy details(&notifier, &TRunSessionNotifier::detailsChanged);
    QSignalSpy edited(&page, &TRunDetailsPage::detailsEdited);
    const struct
    {
        QLineEdit *edit;
        QString TRunDetails::*field;
    } cases[] = {{page.KitBatchNoEdit(), &TRunDetails::KitBatchNumber},
                 {page.RunNoEdit(), &TRunDetails::RunNumber},
                 {page.OperatorEdit(), &TRunDetails::OperatorName}};
    for (const auto &c : cases) {
        details.clear();
        QTest::keyClicks(c.edit, u"K7"_s);
        EXPECT_EQ(session.Details().*c.field, u"K7"_s) << c.edit->objectName().toStdString();
        EXPECT_EQ(details.size(), 2) << c.edit->objectName().toStdString();
    }
    EXPECT_EQ(edited.size(), 6);
}

TEST_F(RunDetailsPageTest, LoadedRun_ShowsItsDetailsCurveAndConcentrations)
{
    ASSERT_TRUE(notifier.LoadRun(ExampleRun()).Ok());
    const TRunDetails &details = session.Details();
    ASSERT_FALSE(details.RunNumber.isEmpty());
    EXPECT_EQ(page.RunNoEdit()->text(), details.RunNumber);
    EXPECT_EQ(page.KitBatchNoEdit()->text(), details.KitBatchNumber);
    EXPECT_EQ(page.OperatorEdit()->text(), details.OperatorName);
    EXPECT_EQ(page.RunDateEdit()->date(), details.RunDate);
    EXPECT_TRUE(Radio(u"rb8PointCurve"_s)->isChecked());
    EXPECT_EQ(page.StdConcDivider(), 2);
    ASSERT_EQ(page.StdConcGrid()->rowCount(), session.Data().StdConcSize());
    EXPECT_EQ(page.StdConcGrid()->Cell(1, 0), Dec("8.000"));
    // Showing the run writes nothing back.
    EXPECT_EQ(session.Details().RunNumber, details.RunNumber);
}

TEST_F(RunDetailsPageTest, CurveTypeClick_ChangesTheRunUnlessTheDiscardQuestionSaysNo)
{
    page.show();
    ASSERT_EQ(session.CurveType(), CURVE_4POINT);
    QTest::mouseClick(Radio(u"rb8PointCurve"_s), Qt::LeftButton);
    EXPECT_EQ(session.CurveType(), CURVE_8POINT);
    EXPECT_EQ(page.StdConcGrid()->rowCount(), session.Data().StdConcSize());

    page.SetDiscardQuery([] { return false; });
    QTest::mouseClick(Radio(u"rb4PointCurve"_s), Qt::LeftButton);
    EXPECT_EQ(session.CurveType(), CURVE_8POINT);
    EXPECT_TRUE(Radio(u"rb8PointCurve"_s)->isChecked());
}

TEST_F(RunDetailsPageTest, Validate_NamesTheFirstEmptyDetail)
{
    EXPECT_FALSE(page.Validate(false));
    QString message;
    EXPECT_FALSE(page.IsValidControlTextRunDetails(page.RunNoEdit(), message));
    EXPECT_EQ(message, UiText(TextId::EnterRunNumber));
    for (QLineEdit *edit : {page.KitBatchNoEdit(), page.RunNoEdit(), page.OperatorEdit()})
        edit->setText(u"X1"_s);
    EXPECT_TRUE(page.Validate(false));
}

TEST_F(RunDetailsPageTest, Retranslate_CaptionsInTheNewLanguage)
{
    const TestSupport::LanguageGuard german(u"LOCALE_GERMAN"_s);
    const QString english = Child<QLabel>(u"runNumberLa"_s)->text();
    page.Retranslate();
    const auto caption = [](int id) { return UiText(id).replace(u"\\n"_s, u"\n"_s); };
    EXPECT_EQ(Child<QLabel>(u"runNumberLa"_s)->text(), caption(44));
    EXPECT_NE(Child<QLabel>(u"runNumberLa"_s)->text(), english);
    EXPECT_EQ(Child<QGroupBox>(u"rgStdCurveType"_s)->title(), caption(354));
    EXPECT_EQ(Radio(u"rbStdConcValueTypeManual"_s)->text(), caption(359));
}

} // namespace
