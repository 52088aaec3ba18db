// Manual data entry: the key walk through the grid, Complete, Cancel and Clear All Values,
// and the small window that ends it.

#include "RawDataTestSupport.h"

#include "core/UiTextManager.h"
#include "support/GuiApplication.h"
#include "ui/main/dialogs/ManualDataEntryForm.h"

#include <QLabel>
#include <QWindowStateChangeEvent>

#include <functional>

using namespace Qt::StringLiterals;
using TestSupport::Dec;
using TestSupport::Presenter;

namespace {

class ManualEntryTest : public RawDataTest
{
protected:
    TfrmManualDataEntryForm *Form() const
    {
        return Child<TfrmManualDataEntryForm>(u"frmManualDataEntryForm"_s);
    }
    QPushButton *FormButton(const QString &name) const { return Form()->findChild<QPushButton *>(name); }
    void Start() const
    {
        Click(Button(u"btnManualDataEntry"_s));
        ASSERT_TRUE(window->RawData().IsManualEditMode());
    }
    // Clicks a cell and types text into the editor that opens there.
    void TypeAt(int col, int row, const QString &text) const
    {
        ClickCell(col, row);
        ASSERT_EQ(Grid()->CurrentCell(), QPoint(col, row));
        ASSERT_TRUE(Grid()->EditorOpen());
        Type(text);
    }
    void PastePlate(const QString &text) const
    {
        SetClipboardText(text);
        Paste();
        ASSERT_TRUE(Presenter().messages.empty()) << Messages();
    }
};

TEST_F(ManualEntryTest, Start_GridEditsInPlaceAndTheWindowShows)
{
    PastePlate(Plate(8, 12));
    LoadExampleLayout();
    ASSERT_TRUE(Button(u"calcCurvePb"_s)->isEnabled());
    Start();

    EXPECT_FALSE(Button(u"pastePb"_s)->isEnabled());
    EXPECT_FALSE(Button(u"btnManualFormat"_s)->isEnabled());
    EXPECT_FALSE(Button(u"calcCurvePb"_s)->isEnabled());
    EXPECT_TRUE(Grid()->Editing());
    ASSERT_TRUE(Grid()->EditorOpen());
    EXPECT_EQ(Grid()->CurrentCell(), QPoint(1, 1));
    EXPECT_EQ(QApplication::focusWidget(), Grid()->Editor());

    TfrmManualDataEntryForm *form = Form();
    ASSERT_TRUE(form->isVisible());
    EXPECT_TRUE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(form->windowTitle(), QString());
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    auto *label = form->findChild<QLabel *>(u"lblManualDataEntry"_s);
    EXPECT_EQ(label->text(), u"Manual Data Entry"_s);
    EXPECT_EQ(label->x(), form->width() / 2 - label->width() / 2);
    QPushButton *clearAll = FormButton(u"btnClearAllValues"_s);
    QPushButton *complete = FormButton(u"btnComplete"_s);
    QPushButton *cancel = FormButton(u"btnCancel"_s);
    EXPECT_EQ(clearAll->text(), u"Clear All Values"_s);
    EXPECT_EQ(complete->text(), u"Complete"_s);
    EXPECT_EQ(cancel->text(), u"Cancel"_s);
    EXPECT_LT(clearAll->geometry().bottom(), complete->y());
    EXPECT_EQ(complete->y(), cancel->y());
    EXPECT_LT(complete->geometry().right(), cancel->x());
    for (QWidget *control : std::initializer_list<QWidget *>{label, clearAll, complete, cancel})
        EXPECT_TRUE(form->rect().contains(control->geometry())) << control->objectName().toStdString();
}

TEST(ManualDataEntryForm, FirstActivationOfTheOwner_TopRightCornersMeet)
{
    QWidget owner;
    owner.setGeometry(100, 80, 600, 400);
    TfrmManualDataEntryForm form(&owner);
    owner.show();
    owner.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));
    EXPECT_EQ(form.frameGeometry().topRight(), owner.frameGeometry().topRight());

    // Only the first activation places it.
    owner.move(150, 90);
    form.move(10, 10);
    owner.activateWindow();
    QWindowStateChangeEvent restored(Qt::WindowMinimized);
    QApplication::sendEvent(&owner, &restored);
    EXPECT_EQ(form.pos(), QPoint(10, 10));
}

TEST(ManualDataEntryForm, CornerPosition_TopRightOnTheOwners)
{
    EXPECT_EQ(TfrmManualDataEntryForm::CornerPosition(QRect(100, 50, 800, 600), QSize(220, 130)),
              QPoint(680, 50));
    EXPECT_EQ(TfrmManualDataEntryForm::CornerPosition(QRect(0, 0, 1, 1), QSize(10, 10)), QPoint(-9, 0));
}

TEST_F(ManualEntryTest, KeyWalk_EnterDownAndWrapsUpAndDownAtTheEdges)
{
    const struct
    {
        const char *name;
        QPoint start;
        QString typed; // typed at the start cell before the keys
        QList<Qt::Key> keys;
        QPoint end;
    } cases[] = {
        {"Enter goes down", {3, 4}, u"1"_s, {Qt::Key_Return}, {3, 5}},
        {"Enter at H1 goes to A2", {1, 8}, u"1"_s, {Qt::Key_Return}, {2, 1}},
        {"Enter at H12 goes to A1", {12, 8}, u"1"_s, {Qt::Key_Enter}, {1, 1}},
        {"Up at A1, reached by Enter, goes to H12",
         {12, 8},
         QString(),
         {Qt::Key_Return, Qt::Key_Up},
         {12, 8}},
        {"Down at H5 after typing goes to A6", {5, 8}, u"7"_s, {Qt::Key_Down}, {6, 1}},
        {"Up at A3 after typing goes to H2", {3, 1}, u"7"_s, {Qt::Key_Up}, {2, 8}},
        {"Up inside a column moves up", {2, 3}, QString(), {Qt::Key_Up}, {2, 2}},
        {"Down inside a column moves down", {2, 3}, QString(), {Qt::Key_Down, Qt::Key_Down}, {2, 5}},
        // Clicked there: the first Down finds the edge, the second wraps.
        {"Down at H1 once stays", {1, 8}, QString(), {Qt::Key_Down}, {1, 8}},
        {"Down at H1 twice goes to A2", {1, 8}, QString(), {Qt::Key_Down, Qt::Key_Down}, {2, 1}},
        {"Left and Right stay in the editor", {4, 4}, u"12"_s, {Qt::Key_Left, Qt::Key_Right}, {4, 4}},
    };
    for (const auto &c : cases) {
        SetUp();
        Start();
        ClickCell(c.start.x(), c.start.y());
        if (!c.typed.isEmpty())
            Type(c.typed);
        for (const Qt::Key key : c.keys)
            Key(key);
        EXPECT_EQ(Grid()->CurrentCell(), c.end) << c.name;
        EXPECT_TRUE(Grid()->EditorOpen()) << c.name;
        EXPECT_EQ(QApplication::focusWidget(), Grid()->Editor()) << c.name;
        if (!c.typed.isEmpty() && c.start != c.end) {
            EXPECT_EQ(Grid()->Cell(c.start.x(), c.start.y()), Dec(c.typed + u".000"_s)) << c.name;
        }
    }
}

TEST_F(ManualEntryTest, Start_TypingBeginsAtA1WhereverTheGridWasLeft)
{
    const struct
    {
        const char *name;
        std::function<void()> before;
    } cases[] = {
        {"a cell clicked before", [this] { ClickCell(3, 1); }},
        {"an earlier entry ended at A2 by Down",
         [this] {
             Start();
             TypeAt(2, 1, Dec("0.7"));
             Key(Qt::Key_Down);
             Click(FormButton(u"btnComplete"_s));
         }},
        {"after New Test",
         [this] {
             ClickCell(3, 1);
             Click(Button(u"newTestPb"_s));
             FillRunDetails();
             ClickTab(TfrmMainCombinedRd::RawDataPage);
         }},
    };
    for (const auto &c : cases) {
        SetUp();
        c.before();
        ASSERT_TRUE(Presenter().messages.empty()) << c.name << Messages();
        Start();
        EXPECT_EQ(Grid()->CurrentCell(), QPoint(1, 1)) << c.name;
        for (const char *value : {"1", "2", "3"}) {
            Type(Dec(value));
            Key(Qt::Key_Return);
        }
        EXPECT_EQ(Grid()->Cell(1, 1), Dec("1.000")) << c.name;
        EXPECT_EQ(Grid()->Cell(1, 2), Dec("2.000")) << c.name;
        EXPECT_EQ(Grid()->Cell(1, 3), Dec("3.000")) << c.name;
        EXPECT_EQ(Grid()->CurrentCell(), QPoint(1, 4)) << c.name;
    }
}

TEST_F(ManualEntryTest, SelectingACell_NumbersGetThreeDecimalsOtherTextsStay)
{
    Start();
    const QString otherSeparator = TestSupport::CommaVariant() ? u"1.5"_s : u"1,5"_s;
    TypeAt(3, 2, Dec("0.12345"));
    Key(Qt::Key_Return);
    TypeAt(4, 4, otherSeparator);
    TypeAt(5, 5, Dec("2"));
    ClickCell(6, 6);

    EXPECT_EQ(Grid()->Cell(3, 2), Dec("0.123"));
    EXPECT_EQ(Grid()->Cell(4, 4), otherSeparator);
    EXPECT_EQ(Grid()->Cell(5, 5), Dec("2.000"));
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
}

TEST_F(ManualEntryTest, Complete_TypedPlateBecomesTheRunsPlate)
{
    Start();
    TypeAt(1, 1, Dec("0.5"));
    Key(Qt::Key_Return);
    Type(Dec("0.25"));
    TypeAt(2, 8, u"n/s"_s); // typed into the open editor, not yet in the grid
    Click(FormButton(u"btnComplete"_s));

    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    EXPECT_FALSE(window->RawData().IsManualEditMode());
    EXPECT_FALSE(Form()->isVisible());
    EXPECT_FALSE(Grid()->Editing());
    EXPECT_FALSE(Grid()->EditorOpen());
    EXPECT_TRUE(Button(u"pastePb"_s)->isEnabled());
    EXPECT_TRUE(Button(u"btnManualFormat"_s)->isEnabled());
    EXPECT_EQ(Data().XExtent(), 3);
    EXPECT_EQ(Data().PlateText(0, 0), Dec("0.500"));
    EXPECT_EQ(Data().PlateText(0, 1), Dec("0.250"));
    EXPECT_EQ(Data().PlateText(1, 7), u"N/S"_s);
    EXPECT_EQ(Data().PlateText(1, 0), u"N/S"_s); // an empty well is not specified
    EXPECT_EQ(Grid()->Cell(1, 2), Dec("0.250"));
}

TEST_F(ManualEntryTest, Complete_DataNarrowerThanTheLayout_WindowStaysUntilItFits)
{
    LoadExampleLayout();
    Start();
    TypeAt(1, 1, Dec("0.5"));
    Click(FormButton(u"btnComplete"_s));

    EXPECT_EQ(
        Presenter().Texts(),
        QStringList{
            u"The format selected contains more strips than the data entered. Please use an alternate format."_s});
    EXPECT_TRUE(window->RawData().IsManualEditMode());
    EXPECT_TRUE(Form()->isVisible());
    EXPECT_TRUE(Grid()->EditorOpen());

    Presenter().Clear();
    for (int col = 2; col <= 12; ++col)
        TypeAt(col, 1, Dec("0.5"));
    Click(FormButton(u"btnComplete"_s));
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    EXPECT_FALSE(window->RawData().IsManualEditMode());
    EXPECT_FALSE(Form()->isVisible());
    // Both standard series and the samples are there: the run can be calculated.
    EXPECT_TRUE(Button(u"calcCurvePb"_s)->isEnabled());
}

TEST_F(ManualEntryTest, Cancel_Confirmed_GridAndRunDataExactlyAsBefore)
{
    PastePlate(ExamplePlate());
    const QStringList before = GridTexts();
    Start();
    TypeAt(1, 1, Dec("9.999"));
    Key(Qt::Key_Return);
    TypeAt(7, 5, u"abc"_s);
    // Started again while on: Cancel still goes back to the plate before the first start.
    Click(Button(u"btnManualDataEntry"_s));
    TypeAt(12, 8, Dec("1"));
    Presenter().answers.push_back(TModalResult::mrYes);
    Click(FormButton(u"btnCancel"_s));

    ASSERT_EQ(Presenter().messages.size(), 1u);
    EXPECT_EQ(Presenter().messages[0].text,
              u"The data entered will not be saved. Do you wish to continue?"_s);
    EXPECT_EQ(Presenter().messages[0].buttons, TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo);
    EXPECT_FALSE(window->RawData().IsManualEditMode());
    EXPECT_FALSE(Form()->isVisible());
    EXPECT_EQ(GridTexts(), before);
    EXPECT_EQ(Data().PlateText(0, 0), Dec("2.412"));
    EXPECT_EQ(Data().PlateText(11, 7), before.last());
    EXPECT_TRUE(Button(u"pastePb"_s)->isEnabled());
}

TEST_F(ManualEntryTest, Cancel_NotConfirmed_NothingChanges)
{
    Start();
    TypeAt(1, 1, Dec("0.5"));
    Presenter().answers.push_back(TModalResult::mrNo);
    Click(FormButton(u"btnCancel"_s));

    EXPECT_EQ(Presenter().messages.size(), 1u);
    EXPECT_TRUE(window->RawData().IsManualEditMode());
    EXPECT_TRUE(Form()->isVisible());
    ClickCell(2, 2);
    EXPECT_EQ(Grid()->Cell(1, 1), Dec("0.500"));
}

TEST_F(ManualEntryTest, CloseBox_AfterNoButton_CancelsWithoutAsking)
{
    PastePlate(Plate(8, 12));
    const QStringList before = GridTexts();
    Start();
    TypeAt(1, 1, Dec("9.999"));
    Form()->close();

    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    EXPECT_FALSE(window->RawData().IsManualEditMode());
    EXPECT_EQ(GridTexts(), before);
}

TEST_F(ManualEntryTest, ClearAllValues_EmptiesTheGridAndEntryGoesOn)
{
    PastePlate(Plate(8, 12));
    Start();
    TypeAt(4, 4, Dec("9.999"));
    Click(FormButton(u"btnClearAllValues"_s));

    EXPECT_TRUE(GridEmpty());
    EXPECT_TRUE(window->RawData().IsManualEditMode());
    EXPECT_TRUE(Form()->isVisible());
    EXPECT_TRUE(Grid()->EditorOpen());
    EXPECT_TRUE(Grid()->isEnabled());

    // Completed empty: no earlier plate stays behind in the run data to be saved later.
    Click(FormButton(u"btnComplete"_s));
    EXPECT_FALSE(window->RawData().IsManualEditMode());
    EXPECT_EQ(Data().XExtent(), 0);
    EXPECT_EQ(Data().PlateText(0, 0), QString());
    EXPECT_FALSE(Button(u"calcCurvePb"_s)->isEnabled());
}

TEST_F(ManualEntryTest, LanguageChange_WindowTextsFollow)
{
    Start();
    const int right = Form()->x() + Form()->width();
    window->ChangeLanguage(u"LOCALE_GREEK"_s);
    // Wider for the longer texts, its top-right corner where it was.
    EXPECT_EQ(Form()->x() + Form()->width(), right);
    EXPECT_TRUE(Form()->rect().contains(FormButton(u"btnClearAllValues"_s)->geometry()));
    window->ChangeLanguage(u"LOCALE_GERMAN"_s);
    const QString german = UiText(164);
    window->ChangeLanguage(u"LOCALE_ENGLISH"_s);
    EXPECT_NE(german, u"Complete"_s);
    window->ChangeLanguage(u"LOCALE_GERMAN"_s);
    EXPECT_EQ(FormButton(u"btnComplete"_s)->text(), german);
    EXPECT_TRUE(Form()->rect().contains(FormButton(u"btnCancel"_s)->geometry()));
    window->ChangeLanguage(u"LOCALE_ENGLISH"_s);
    EXPECT_EQ(FormButton(u"btnComplete"_s)->text(), u"Complete"_s);
}

} // namespace

namespace {

// New Test ends the typing of the old run: no Cancel can put the old plate into the new test.
TEST_F(ManualEntryTest, NewTest_EndsTheEntry_OldPlateNeverComesBack)
{
    PastePlate(ExamplePlate());
    Start();
    TypeAt(1, 1, Dec("9.5"));
    Click(Button(u"newTestPb"_s)); // nothing calculated: nothing to ask

    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    EXPECT_FALSE(window->RawData().IsManualEditMode());
    EXPECT_FALSE(Form()->isVisible());
    EXPECT_FALSE(Grid()->Editing());
    EXPECT_TRUE(GridEmpty());
    EXPECT_EQ(Data().XExtent(), 0);
    EXPECT_TRUE(Button(u"pastePb"_s)->isEnabled());
    EXPECT_TRUE(Button(u"btnManualFormat"_s)->isEnabled());

    QTest::keyClicks(window->GetRunNoEd(), u"R8"_s);
    ClickTab(TfrmMainCombinedRd::RawDataPage);
    Start();
    TypeAt(2, 2, Dec("0.3"));
    Presenter().answers.push_back(TModalResult::mrYes);
    Click(FormButton(u"btnCancel"_s));
    EXPECT_FALSE(window->RawData().IsManualEditMode());
    EXPECT_TRUE(GridEmpty());
    EXPECT_EQ(Data().XExtent(), 0);
}

// A typed OD the rounding cannot take (3000000.1234) is refused at Complete with text 126, as a
// pasted one is; typing goes on and the value can be corrected.
TEST_F(ManualEntryTest, Complete_OdTooLargeToRound_Text126AndEntryGoesOn)
{
    Start();
    TypeAt(1, 1, Dec("3000000.1234"));
    ClickCell(2, 2);
    EXPECT_EQ(Grid()->Cell(1, 1), Dec("3000000.1234"));
    Click(FormButton(u"btnComplete"_s));

    EXPECT_EQ(Presenter().Texts(), QStringList{u"Invalid data on Clipboard. Data not pasted."_s});
    EXPECT_TRUE(window->RawData().IsManualEditMode());
    EXPECT_TRUE(Form()->isVisible());
    EXPECT_TRUE(Grid()->EditorOpen());

    Presenter().Clear();
    TypeAt(1, 1, Dec("3.5"));
    Click(FormButton(u"btnComplete"_s));
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    EXPECT_FALSE(window->RawData().IsManualEditMode());
    EXPECT_EQ(Data().PlateText(0, 0), Dec("3.500"));
}

} // namespace
