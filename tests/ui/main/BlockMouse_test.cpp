// The mouse on the plate grid outside the manual format toolbar: renaming a block through the
// subject name dialog, the block menu, and the two small dialogs themselves.

#include "RawDataTestSupport.h"

#include "core/FontManager.h"
#include "core/UiTextManager.h"
#include "plate/CellBlock.h"
#include "platform/WindowTools.h"
#include "support/GuiApplication.h"
#include "ui/format/ManualFormatToolbarForm.h"
#include "ui/main/BlockMenu.h"
#include "ui/main/CurveChart.h"
#include "ui/main/dialogs/SubjectNameForm.h"
#include "ui/main/grids/ResultsViews.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QScatterSeries>

using namespace Qt::StringLiterals;
using TestSupport::Presenter;

namespace {

const QPoint kSubjectWell(3, 1); // ID 1 of the example layout
const QPoint kStandardWell(1, 1);

class BlockMouseTest : public RawDataTest
{
protected:
    void SetUp() override
    {
        RawDataTest::SetUp();
        LoadExampleRun();
        ASSERT_TRUE(Presenter().messages.empty()) << Messages();
        ASSERT_TRUE(Button(u"calcCurvePb"_s)->isEnabled());
    }

    OWCellBlockBase *BlockAt(QPoint cell) const { return Data().cellAtPoint(cell); }
    void Press(QPoint cell, Qt::MouseButton button = Qt::LeftButton) const
    {
        QTest::mousePress(Grid()->viewport(), button, {}, CellCentre(cell.x(), cell.y()));
    }
    void Release(QPoint cell) const
    {
        QTest::mouseRelease(Grid()->viewport(), Qt::LeftButton, {}, CellCentre(cell.x(), cell.y()));
    }
    int BlockCount() const { return Data().RawData().GetCount() + Data().StdBlocks().GetCount(); }

    ScriptedModals modals;
};

TEST_F(BlockMouseTest, PressOnABlock_FramedUntilTheReleaseOpensTheRenaming)
{
    const QString oldId = BlockAt(kSubjectWell)->id();
    Press(kSubjectWell);
    EXPECT_EQ(Grid()->PendingPressCell(), kSubjectWell);
    const QImage picture = Grid()->viewport()->grab().toImage();
    const QRect cell = Grid()->visualRect(Grid()->model()->index(kSubjectWell.y(), kSubjectWell.x()));
    const qreal scale = picture.devicePixelRatio();
    for (const QPoint &edge : {cell.topLeft(), QPoint(cell.center().x(), cell.top()),
                               QPoint(cell.left(), cell.center().y()), cell.bottomRight()}) {
        const QColor colour = picture.pixelColor((QPointF(edge) * scale).toPoint());
        EXPECT_EQ(colour, QColor(Qt::black)) << edge.x() << ',' << edge.y();
    }

    modals.Push([&](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), u"Change Subject ID"_s);
        EXPECT_GE(dialog.width(), CaptionWidth(&dialog));
        EXPECT_EQ(dialog.findChild<QLabel *>(u"subjIdLa"_s)->text(), UiText(72) + u':');
        auto *edit = dialog.findChild<QLineEdit *>(u"subjIdEd"_s);
        EXPECT_EQ(edit->text(), oldId);
        EXPECT_EQ(edit->selectedText(), oldId);
        EXPECT_EQ(dialog.focusWidget(), edit);
        QTest::keyClicks(edit, u"  P-01  "_s);
        QTest::mouseClick(dialog.findChild<QPushButton *>(u"okPb"_s), Qt::LeftButton);
    });
    Release(QPoint(5, 4));

    EXPECT_EQ(modals.shown, 1);
    EXPECT_EQ(BlockAt(kSubjectWell)->id(), u"P-01"_s);
    EXPECT_FALSE(BlockAt(kSubjectWell)->getIsStandard());
    EXPECT_EQ(Grid()->PendingPressCell(), QPoint(-1, -1));
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    EXPECT_TRUE(Button(u"calcCurvePb"_s)->isEnabled());
}

TEST_F(BlockMouseTest, Rename_EveryWayOutOfTheDialog)
{
    const struct
    {
        const char *name;
        QString typed; // replaces the selected identifier; empty: typed nothing
        std::function<void(QDialog &)> leave;
        QString expected; // empty: unchanged
    } cases[] = {
        {"OK with a new name", u"S-9"_s,
         [](QDialog &d) { QTest::mouseClick(d.findChild<QPushButton *>(u"okPb"_s), Qt::LeftButton); },
         u"S-9"_s},
        {"Enter with a new name", u"Anna"_s,
         [](QDialog &d) { QTest::keyClick(d.findChild<QLineEdit *>(u"subjIdEd"_s), Qt::Key_Return); },
         u"Anna"_s},
        {"OK unchanged", QString(),
         [](QDialog &d) { QTest::mouseClick(d.findChild<QPushButton *>(u"okPb"_s), Qt::LeftButton); },
         QString()},
        {"Cancel", u"Bert"_s,
         [](QDialog &d) { QTest::mouseClick(d.findChild<QPushButton *>(u"cancelPb"_s), Qt::LeftButton); },
         QString()},
        {"Escape", u"Bert"_s,
         [](QDialog &d) { QTest::keyClick(d.findChild<QLineEdit *>(u"subjIdEd"_s), Qt::Key_Escape); },
         QString()},
        {"close box", u"Bert"_s, [](QDialog &d) { d.close(); }, QString()},
    };
    for (const auto &c : cases) {
        const QString before = BlockAt(kSubjectWell)->id();
        modals.Push([&](QDialog &dialog) {
            if (!c.typed.isEmpty())
                QTest::keyClicks(dialog.findChild<QLineEdit *>(u"subjIdEd"_s), c.typed);
            c.leave(dialog);
            EXPECT_FALSE(dialog.isVisible()) << c.name;
        });
        Press(kSubjectWell);
        Release(kSubjectWell);
        EXPECT_EQ(BlockAt(kSubjectWell)->id(), c.expected.isEmpty() ? before : c.expected) << c.name;
    }
    EXPECT_EQ(modals.unexpected, 0);
}

TEST_F(BlockMouseTest, ReleaseOutsideTheCells_TextAndNothingRenamed)
{
    const QString before = BlockAt(kSubjectWell)->id();
    Press(kSubjectWell);
    QTest::mouseRelease(Grid()->viewport(), Qt::LeftButton, {}, QPoint(-5, -5));

    EXPECT_EQ(
        Presenter().Texts(),
        QStringList{u"Only one standard/sample block per data cell. Please select a different cell."_s});
    EXPECT_EQ(modals.shown, 0);
    EXPECT_EQ(BlockAt(kSubjectWell)->id(), before);
    EXPECT_EQ(Grid()->PendingPressCell(), QPoint(-1, -1));
}

TEST_F(BlockMouseTest, ReleaseOnAHeading_PressStaysPending)
{
    Press(kSubjectWell);
    Release(QPoint(0, 3));
    Release(QPoint(6, 0));
    EXPECT_EQ(modals.shown, 0);
    EXPECT_EQ(Grid()->PendingPressCell(), kSubjectWell);

    Release(QPoint(6, 6));
    EXPECT_EQ(modals.shown, 1);
    EXPECT_EQ(Grid()->PendingPressCell(), QPoint(-1, -1));
}

TEST_F(BlockMouseTest, PressesThatDoNothing)
{
    // The middle button, and the left one while manual data entry is on.
    Press(kSubjectWell, Qt::MiddleButton);
    EXPECT_EQ(Grid()->PendingPressCell(), QPoint(-1, -1));
    Click(Button(u"btnManualDataEntry"_s));
    ClickCell(kSubjectWell.x(), kSubjectWell.y());
    EXPECT_EQ(Grid()->PendingPressCell(), QPoint(-1, -1));
    EXPECT_EQ(modals.shown, 0);
    EXPECT_EQ(BlockCount(), 96 - 16 + 2);
}

TEST_F(BlockMouseTest, RightClick_MenuUnderThePointerFocusOnCancel_DeleteBlock)
{
    ASSERT_EQ(Data().StdBlocks().GetCount(), 2);
    OWCellBlockBase *standard = BlockAt(kStandardWell);
    const QString id = standard->id();
    const QPoint pointer = Grid()->viewport()->mapToGlobal(CellCentre(kStandardWell.x(), kStandardWell.y()));
    modals.Push([&](QDialog &menu) {
        EXPECT_EQ(menu.windowTitle(), id);
        EXPECT_GE(menu.width(), CaptionWidth(&menu)); // the identifier is not cut off
        EXPECT_TRUE(menu.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        auto *remove = menu.findChild<QPushButton *>(u"deleteBlockPb"_s);
        auto *clear = menu.findChild<QPushButton *>(u"btnClearFormat"_s);
        auto *cancel = menu.findChild<QPushButton *>(u"cancelPb"_s);
        EXPECT_EQ(remove->text(), UiText(70));
        EXPECT_EQ(clear->text(), UiText(183));
        EXPECT_EQ(cancel->text(), UiText(69));
        EXPECT_LT(remove->y(), clear->y());
        EXPECT_LT(clear->y(), cancel->y());
        EXPECT_TRUE(remove->isEnabled());
        EXPECT_EQ(remove->mapToGlobal(QPoint(remove->width() / 2, remove->height() / 2)), pointer);
        EXPECT_EQ(menu.focusWidget(), cancel);
        QTest::mouseClick(remove, Qt::LeftButton);
    });
    ClickCell(kStandardWell.x(), kStandardWell.y(), Qt::RightButton);

    EXPECT_EQ(modals.shown, 1);
    EXPECT_EQ(BlockAt(kStandardWell), nullptr);
    EXPECT_EQ(Data().StdBlocks().GetCount(), 1);
    EXPECT_EQ(Data().RawData().GetCount(), 80);
    // One standard series is not enough for a curve.
    EXPECT_FALSE(Button(u"calcCurvePb"_s)->isEnabled());
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
}

TEST_F(BlockMouseTest, RightClick_EachChoiceOfTheMenu)
{
    const struct
    {
        const char *name;
        std::function<void(QDialog &)> choose;
        int blocksLeft;
        bool calculate;
    } cases[] = {
        {"Delete Block on a sample",
         [](QDialog &m) {
             QTest::mouseClick(m.findChild<QPushButton *>(u"deleteBlockPb"_s), Qt::LeftButton);
         },
         81, true},
        {"Clear Format",
         [](QDialog &m) {
             QTest::mouseClick(m.findChild<QPushButton *>(u"btnClearFormat"_s), Qt::LeftButton);
         },
         0, false},
        {"Cancel",
         [](QDialog &m) { QTest::mouseClick(m.findChild<QPushButton *>(u"cancelPb"_s), Qt::LeftButton); }, 82,
         true},
        {"Escape", [](QDialog &m) { QTest::keyClick(&m, Qt::Key_Escape); }, 82, true},
        {"close box", [](QDialog &m) { m.close(); }, 82, true},
    };
    for (const auto &c : cases) {
        SetUp();
        modals.Push(c.choose);
        ClickCell(kSubjectWell.x(), kSubjectWell.y(), Qt::RightButton);
        EXPECT_EQ(modals.shown, 1) << c.name;
        EXPECT_EQ(BlockCount(), c.blocksLeft) << c.name;
        EXPECT_EQ(Button(u"calcCurvePb"_s)->isEnabled(), c.calculate) << c.name;
        EXPECT_TRUE(Presenter().messages.empty()) << c.name << ": " << Messages();
        modals.shown = 0;
    }
}

TEST(BlockMenu, MenuPosition_ButtonCentreUnderThePointer)
{
    // Button (10, 8) 120 x 30 in a window whose client area starts 4 pixels right of and 23
    // below the frame's corner.
    EXPECT_EQ(TBlockClickActionFrm::MenuPosition(QPoint(500, 400), QPoint(4, 23), QRect(10, 8, 120, 30)),
              QPoint(426, 354));
    EXPECT_EQ(TBlockClickActionFrm::MenuPosition(QPoint(0, 0), QPoint(), QRect(0, 0, 5, 5)), QPoint(-2, -2));
}

// ---- the subject name dialog ---------------------------------------------------------------

TEST(SubjectNameDialog, TypedText_AtMostFifteenAndNeverTheFilesMarks)
{
    const struct
    {
        QString typed;
        QString shown;
        int messages;
    } cases[] = {
        {u"ABCDEFGHIJKLMNOPQRST"_s, u"ABCDEFGHIJKLMNO"_s, 0},
        {u"a>b^c"_s, u"a b c"_s, 2},
        {u"^"_s, u" "_s, 1},
        {u"P-01 x"_s, u"P-01 x"_s, 0},
    };
    for (const auto &c : cases) {
        Presenter().Clear();
        TSubjectNameForm dialog;
        dialog.SetIdentifier(u"ID 1"_s, true);
        auto *edit = dialog.findChild<QLineEdit *>(u"subjIdEd"_s);
        QTest::keyClicks(edit, c.typed);
        EXPECT_EQ(dialog.Identifier(), c.shown) << c.typed.toStdString();
        EXPECT_EQ(Presenter().Texts(), QStringList(c.messages, u"Illegal Character."_s))
            << c.typed.toStdString();
    }
}

TEST(SubjectNameDialog, ShowReturnsTrueOnlyForAChangedText)
{
    OWCellBlockBase::SetIdentifierCount(1); // as in the program: identifiers are shown
    ScriptedModals modals;
    const struct
    {
        const char *name;
        bool selectAll;
        QString typed;
        bool ok;
        bool result;
        QString identifier;
    } cases[] = {
        {"selected and replaced", true, u"B7"_s, true, true, u"B7"_s},
        {"caret after the end", false, u"x"_s, true, true, u"ID 12x"_s},
        {"confirmed unchanged", true, QString(), true, false, u"ID 12"_s},
        {"cancelled", true, u"B7"_s, false, false, u"ID 12"_s},
    };
    for (const auto &c : cases) {
        QString identifier = u"ID 12"_s;
        modals.Push([&](QDialog &dialog) {
            auto *edit = dialog.findChild<QLineEdit *>(u"subjIdEd"_s);
            EXPECT_EQ(edit->font().pointSize(),
                      GetFontManager().DetermineFontSize(GetTranslationManager().DetermineCharset(),
                                                         FORMAT_NORMAL));
            EXPECT_EQ(edit->hasSelectedText(), c.selectAll) << c.name;
            EXPECT_EQ(static_cast<TSubjectNameForm &>(dialog).OldValue(), u"0.123"_s) << c.name;
            QTest::keyClicks(edit, c.typed);
            QTest::mouseClick(dialog.findChild<QPushButton *>(c.ok ? u"okPb"_s : u"cancelPb"_s),
                              Qt::LeftButton);
        });
        EXPECT_EQ(ShowSubjectNameDialog(nullptr, identifier, u"0.123"_s, c.selectAll), c.result) << c.name;
        EXPECT_EQ(identifier, c.identifier) << c.name;
    }
}

} // namespace

namespace {

// A layout change after a calculation: asked about the unsaved results first; then nothing of
// the old results stays beside the changed layout, and no prompt offers to save them.
TEST_F(BlockMouseTest, DeleteOrClearFormatAfterCalculation_AskedThenNoStaleResults)
{
    const struct
    {
        const char *name;
        const char16_t *button;
        TModalResult answer;
        int blocksLeft;
    } cases[] = {
        {"Clear Format, No", u"btnClearFormat", TModalResult::mrNo, 0},
        {"Delete Block, No", u"deleteBlockPb", TModalResult::mrNo, 81},
        {"Clear Format, Cancel", u"btnClearFormat", TModalResult::mrCancel, 82},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        Click(Button(u"calcCurvePb"_s));
        ASSERT_FALSE(window->DataSaved());
        ClickTab(TfrmMainCombinedRd::RawDataPage);
        Presenter().Clear();
        const QString button = QString::fromUtf16(c.button);
        modals.Push(
            [&](QDialog &m) { QTest::mouseClick(m.findChild<QPushButton *>(button), Qt::LeftButton); });
        Presenter().answers.push_back(c.answer);
        ClickCell(kSubjectWell.x(), kSubjectWell.y(), Qt::RightButton);

        EXPECT_EQ(Presenter().Texts(), QStringList{UiText(105)});
        EXPECT_EQ(BlockCount(), c.blocksLeft);
        const bool cleared = c.answer == TModalResult::mrNo;
        EXPECT_EQ(window->LastResult() == nullptr, cleared);
        EXPECT_EQ(Child<QLineEdit>(u"slopeEd"_s)->text().isEmpty(), cleared);
        EXPECT_EQ(Child<QLabel>(u"qaResultsLa"_s)->text().isEmpty(), cleared);
        EXPECT_EQ(Child<QLabel>(u"regressResultLa"_s)->text().isEmpty(), cleared);
        EXPECT_EQ(Child<TCurveChart>(u"StandardsResultDiagram"_s)->Series1()->count() == 0, cleared);
        EXPECT_EQ(Child<TStandardsGrid>(u"concGd"_s)->Cell(2, 1).isEmpty(), cleared);
        EXPECT_EQ(Button(u"saveAsPb"_s)->isEnabled(), !cleared);
        // New Test asks only while there is something Save File could save.
        Presenter().Clear();
        Presenter().answers.push_back(TModalResult::mrCancel);
        Click(Button(u"newTestPb"_s));
        EXPECT_EQ(Presenter().Texts(), cleared ? QStringList() : QStringList{UiText(105)});
        modals.shown = 0;
    }
}

// Load Format and Manual Format change the layout too: asked first; Cancel keeps everything.
TEST_F(BlockMouseTest, LoadFormatOrManualFormatAfterCalculation_AskedFirst)
{
    for (const TModalResult answer : {TModalResult::mrNo, TModalResult::mrCancel}) {
        for (const char16_t *command : {u"btnLoadFormat", u"btnManualFormat"}) {
            SCOPED_TRACE(QString::fromUtf16(command).toStdString() +
                         (answer == TModalResult::mrNo ? " No" : " Cancel"));
            SetUp();
            Click(Button(u"calcCurvePb"_s));
            ClickTab(TfrmMainCombinedRd::RawDataPage);
            Presenter().Clear();
            Presenter().answers.push_back(answer);
            Click(Button(QString::fromUtf16(command))); // a format file dialog is cancelled
            EXPECT_EQ(Presenter().Texts(), QStringList{UiText(105)});
            const bool cleared =
                answer == TModalResult::mrNo && command == std::u16string_view(u"btnManualFormat");
            EXPECT_EQ(window->LastResult() == nullptr, cleared);
            EXPECT_EQ(Child<QLineEdit>(u"slopeEd"_s)->text().isEmpty(), cleared);
            EXPECT_EQ(window->RawData().ManualFormatToolbar()->isVisible(), cleared);
            EXPECT_EQ(Presenter().fileRequests.size(), answer == TModalResult::mrNo && !cleared ? 1u : 0u);
            EXPECT_EQ(BlockCount(), 82);
            window->RawData().ManualFormatToolbar()->hide();
        }
    }
}

} // namespace
