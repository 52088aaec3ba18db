// The manual format toolbar on its own: texts and fonts in every language, the stacking of its
// panels, the block panels of both curves, the random orientation's progress and the buttons.

#include "core/Exceptions.h"
#include "core/FontManager.h"
#include "core/Messages.h"
#include "core/UiTextManager.h"
#include "plate/CellBlock.h"
#include "plate/MarnovelPanels.h"
#include "support/GuiApplication.h"
#include "support/LanguageGuard.h"
#include "support/TestSupport.h"
#include "ui/format/ManualFormatToolbarForm.h"
#include "ui/format/MarnovelPanelWidgets.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;
using TestSupport::Presenter;

namespace {

int FontSize(FONTUSAGE usage)
{
    return GetFontManager().DetermineFontSize(GetTranslationManager().DetermineCharset(), usage);
}

class ToolbarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        toolbar = std::make_unique<TfrmManualFormatToolbar>(nullptr);
        toolbar->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(toolbar.get()));
        Presenter().Clear();
    }

    template <typename Widget = QWidget> Widget *Child(const QString &name) const
    {
        auto *widget = toolbar->findChild<Widget *>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    QRadioButton *Radio(const QString &name) const { return Child<QRadioButton>(name); }
    QPushButton *Button(const QString &name) const { return Child<QPushButton>(name); }
    void Click(QWidget *widget) const { QTest::mouseClick(widget, Qt::LeftButton); }
    QList<TBlockPanelWidget *> PanelWidgets(const QString &box) const
    {
        return Child(box)->findChildren<TBlockPanelWidget *>(Qt::FindDirectChildrenOnly);
    }
    static QList<bool> Pressed(const TCBBlockPanelList &list)
    {
        QList<bool> pressed;
        for (int i = 0; i < list.Count(); ++i)
            pressed << list.GetItem(i)->Selected();
        return pressed;
    }
    QRect InWindow(const QWidget *widget) const
    {
        return QRect(widget->mapTo(toolbar.get(), QPoint(0, 0)), widget->size());
    }

    std::unique_ptr<TfrmManualFormatToolbar> toolbar;
};

TEST_F(ToolbarTest, Opening_StandardsVerticalEveryStandardPressed)
{
    // Left on samples and random before: it opens on Standards all the same.
    Click(Radio(u"rbRandomO"_s));
    Click(Radio(u"rbSubjectSamples"_s));
    toolbar->hide();
    toolbar->show();

    EXPECT_TRUE(toolbar->StandardsSelected());
    EXPECT_FALSE(toolbar->SamplesSelected());
    EXPECT_TRUE(toolbar->IsRandomBlockOrientation()); // the orientation is kept
    Click(Radio(u"rbVerticalO"_s));
    EXPECT_EQ(Pressed(TStdPanel::GetBlockList()), (QList<bool>{true, true, true, true}));
    EXPECT_EQ(toolbar->State().SelectedBlock(), nullptr);
    EXPECT_EQ(toolbar->width(), TfrmManualFormatToolbar::ToolbarWidth);
    EXPECT_TRUE(Child(u"pnlSubjectID"_s)->isHidden());
    EXPECT_TRUE(Child(u"pnlSamples"_s)->isHidden());
    EXPECT_FALSE(Child(u"pnlBoxLayoutStd"_s)->isHidden());
    EXPECT_TRUE(toolbar->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(toolbar->isModal());
}

TEST_F(ToolbarTest, Texts_EveryLanguageBothItems)
{
    for (int language = 0; language < 8; ++language) {
        const TestSupport::LanguageGuard guard(language);
        toolbar->RefreshLayout();
        const struct
        {
            const char *name;
            int id;
        } always[] = {
            {"btnCancel", 69},      {"btnComplete", 164},      {"grpItemToAssign", 166},
            {"lblHeader", 165},     {"rbHorizontalO", 170},    {"rbRandomO", 172},
            {"rbStandards", 127},   {"rbSubjectSamples", 167}, {"rbVerticalO", 169},
            {"rbRdOneSample", 366}, {"rbRdAllSamples", 367},
        };
        const auto textOf = [&](const char *name) {
            QWidget *widget = Child(QString::fromLatin1(name));
            if (auto *button = qobject_cast<QAbstractButton *>(widget))
                return button->text();
            if (auto *group = qobject_cast<QGroupBox *>(widget))
                return group->title();
            return static_cast<QLabel *>(widget)->text();
        };
        for (const auto &text : always)
            EXPECT_EQ(textOf(text.name), UiText(text.id)) << language << ' ' << text.name;
        const struct
        {
            const char *name;
            int standards, samples;
        } perItem[] = {
            {"btnClearAll", 174, 178},
            {"grpOrientation", 168, 276},
            {"lblRandomOText", 173, 177},
            {"lblVHOText", 171, 176},
        };
        for (const bool samples : {false, true}) {
            Click(Radio(samples ? u"rbSubjectSamples"_s : u"rbStandards"_s));
            for (const auto &text : perItem)
                EXPECT_EQ(textOf(text.name), UiText(samples ? text.samples : text.standards))
                    << language << ' ' << text.name;
            auto *active = Radio(samples ? u"rbSubjectSamples"_s : u"rbStandards"_s);
            auto *other = Radio(samples ? u"rbStandards"_s : u"rbSubjectSamples"_s);
            EXPECT_TRUE(active->font().bold());
            EXPECT_EQ(active->font().pointSize(), FontSize(FORMAT_ACTIVE));
            EXPECT_FALSE(other->font().bold());
            EXPECT_EQ(other->font().pointSize(), FontSize(FORMAT_NORMAL));
            EXPECT_EQ(Button(u"btnComplete"_s)->font().pointSize(), FontSize(FORMAT_NORMAL));
        }
        EXPECT_EQ(textOf("grpSubjectID"), UiText(72).replace(u' ', QChar(0x00A0))) << language;
        EXPECT_EQ(textOf("grpRdSampleType"), UiText(175)) << language;
        Click(Radio(u"rbStandards"_s));
    }
}

TEST_F(ToolbarTest, Layout_StackedAGapApartAndNothingClipped)
{
    for (int language = 0; language < 8; ++language) {
        const TestSupport::LanguageGuard guard(language);
        toolbar->RefreshLayout();
        for (const TCurveType curve : {CURVE_4POINT, CURVE_8POINT}) {
            TStdPanel::SetBlockList(curve);
            toolbar->CreateAndDrawStandardBoxes();
            for (const bool samples : {false, true}) {
                Click(Radio(samples ? u"rbSubjectSamples"_s : u"rbStandards"_s));
                const std::string where = std::to_string(language) + (samples ? " samples" : " standards") +
                                          (curve == CURVE_8POINT ? " 8" : " 4");
                const int gap = Child<QLabel>(u"lblVHOText"_s)->font().pointSize();
                const auto bottom = [](const QWidget *w) { return w->y() + w->height(); };
                QWidget *header = Child(u"pnlHeader"_s);
                QWidget *item = Child(u"pnlItemToAssign"_s);
                QWidget *sampleType = Child(u"pnlSamples"_s);
                QWidget *orientation = Child(u"pnlOrientation"_s);
                QWidget *subject = Child(u"pnlSubjectID"_s);
                QWidget *buttons = Child(u"pnlButtons"_s);
                EXPECT_EQ(item->y(), bottom(header) + gap) << where;
                QWidget *last = item;
                if (samples) {
                    EXPECT_EQ(sampleType->y(), bottom(item) + gap) << where;
                    EXPECT_TRUE(orientation->isHidden()) << where;
                    EXPECT_EQ(subject->y(), bottom(sampleType) + gap) << where;
                    last = subject;
                } else {
                    EXPECT_EQ(orientation->y(), bottom(item) + gap) << where;
                    last = orientation;
                }
                EXPECT_EQ(buttons->y(), bottom(last) + gap) << where;
                EXPECT_EQ(toolbar->height(), bottom(buttons)) << where;

                auto *complete = Button(u"btnComplete"_s);
                auto *cancel = Button(u"btnCancel"_s);
                const int width = toolbar->width();
                const int left =
                    TfrmManualFormatToolbar::RoundEven((width - complete->width() - cancel->width()) / 3.0);
                EXPECT_EQ(complete->x(), left) << where;
                EXPECT_EQ(cancel->x(), width - cancel->width() - left) << where;

                // Every control shown lies inside the window and shows its whole text.
                const QRect window = toolbar->rect();
                for (QWidget *widget : toolbar->findChildren<QWidget *>()) {
                    if (!widget->isVisible() || widget->height() == 0)
                        continue;
                    const std::string name = where + ' ' + widget->objectName().toStdString();
                    EXPECT_TRUE(window.contains(InWindow(widget))) << name;
                    if (auto *radio = qobject_cast<QRadioButton *>(widget)) {
                        EXPECT_GE(radio->width(), radio->sizeHint().width()) << name;
                    }
                    if (auto *button = qobject_cast<QPushButton *>(widget)) {
                        EXPECT_GE(button->width(),
                                  button->fontMetrics().horizontalAdvance(button->text()) + 8)
                            << name;
                    }
                    if (auto *label = qobject_cast<QLabel *>(widget); label && label->wordWrap()) {
                        EXPECT_GE(label->height(), label->heightForWidth(label->width())) << name;
                    }
                }
                // The orientation texts never run under the choices they explain.
                if (!samples) {
                    const QRect vho = InWindow(Child(u"lblVHOText"_s));
                    const QRect random = InWindow(Child(u"lblRandomOText"_s));
                    for (const char *radio : {"rbVerticalO", "rbHorizontalO", "rbRandomO"}) {
                        const QRect choice = InWindow(Child(QString::fromLatin1(radio)));
                        EXPECT_FALSE(choice.intersects(vho) || choice.intersects(random))
                            << where << ' ' << radio;
                    }
                    EXPECT_GE(random.top(), vho.bottom()) << where;
                    EXPECT_GE(InWindow(Child(u"pnlBoxLayoutStd"_s)).top(), random.bottom()) << where;
                }
            }
        }
    }
}

TEST_F(ToolbarTest, StandardPanels_OneRowOfFourOrTwoRowsInTheirGreys)
{
    const struct
    {
        TCurveType curve;
        int boxHeight;
        QList<QPoint> places; // relative to the first panel
        QList<TColor> greys;
    } cases[] = {
        {CURVE_4POINT, 35, {{0, 0}, {40, 0}, {80, 0}, {120, 0}}, {0x8C8C8C, 0xAAAAAA, 0xC8C8C8, 0xE6E6E6}},
        {CURVE_8POINT,
         82,
         {{0, 0}, {40, 0}, {80, 0}, {120, 0}, {0, 40}, {40, 40}, {80, 40}, {120, 40}},
         {0x8C8C8C, 0x9B9B9B, 0xAAAAAA, 0xB9B9B9, 0xC8C8C8, 0xD7D7D7, 0xE6E6E6, 0xF5F5F5}},
    };
    for (const auto &c : cases) {
        TStdPanel::SetBlockList(c.curve);
        toolbar->CreateAndDrawStandardBoxes();
        toolbar->ArrangeLayout();
        const TCBBlockPanelList &list = TStdPanel::GetBlockList();
        const QList<TBlockPanelWidget *> widgets = PanelWidgets(u"pnlBoxLayoutStd"_s);
        ASSERT_EQ(widgets.size(), list.Count());
        EXPECT_EQ(Child(u"pnlBoxLayoutStd"_s)->height(), c.boxHeight);
        const QPoint first = widgets.first()->pos();
        EXPECT_EQ(first.y(), 1);
        for (int i = 0; i < widgets.size(); ++i) {
            EXPECT_EQ(widgets[i]->Panel(), list.GetItem(i)) << i; // the list in use, in list order
            EXPECT_EQ(widgets[i]->pos() - first, c.places[i]) << i;
            EXPECT_EQ(widgets[i]->size(), QSize(33, 33)) << i;
            EXPECT_EQ(list.GetItem(i)->Caption(), u"S"_s + QString::number(i + 1));
            EXPECT_EQ(list.GetItem(i)->Color(), c.greys[i]) << i;
            // Pressed: every standard, vertical orientation.
            EXPECT_TRUE(list.GetItem(i)->Selected()) << i;
        }
    }
}

TEST_F(ToolbarTest, PanelLooks_PressedAndRaisedDiffer)
{
    TBlockPanelWidget *panel = PanelWidgets(u"pnlBoxLayoutStd"_s).first();
    const auto topLeftBevel = [&] { return panel->grab().toImage().pixelColor(QPoint(2, 2)); };
    ASSERT_TRUE(panel->Panel()->Selected());
    const QColor pressed = topLeftBevel();
    panel->Panel()->SetSelected(false);
    const QColor raised = topLeftBevel();
    EXPECT_LT(pressed.lightness(), raised.lightness());
}

TEST_F(ToolbarTest, Random_FirstLabelPressedAndPanelsNeverClickable)
{
    Click(Radio(u"rbRandomO"_s));
    const TCBBlockPanelList &list = TStdPanel::GetBlockList();
    EXPECT_EQ(Pressed(list), (QList<bool>{true, false, false, false}));
    EXPECT_EQ(toolbar->State().SelectedBlock(), list.GetItem(0));

    for (TBlockPanelWidget *widget : PanelWidgets(u"pnlBoxLayoutStd"_s))
        Click(widget);
    EXPECT_EQ(Pressed(list), (QList<bool>{true, false, false, false}));
    EXPECT_EQ(toolbar->State().SelectedBlock(), list.GetItem(0));
}

TEST_F(ToolbarTest, RandomInProgress_OptionsDisabledAndCompleteRefused)
{
    Click(Radio(u"rbRandomO"_s));
    toolbar->SetIsRandomOrientationStarted(true);
    for (const char *name : {"grpOrientation", "grpRdSampleType", "grpItemToAssign", "btnClearAll"})
        EXPECT_FALSE(Child(QString::fromLatin1(name))->isEnabled()) << name;

    Click(Button(u"btnComplete"_s));
    EXPECT_EQ(Presenter().Texts(), QStringList{UiText(179)});
    EXPECT_TRUE(toolbar->isVisible());

    toolbar->SetIsRandomOrientationStarted(false);
    for (const char *name : {"grpOrientation", "grpRdSampleType", "grpItemToAssign", "btnClearAll"})
        EXPECT_TRUE(Child(QString::fromLatin1(name))->isEnabled()) << name;
    Click(Button(u"btnComplete"_s));
    EXPECT_FALSE(toolbar->isVisible());
}

TEST_F(ToolbarTest, StartingRandomFromAnotherOrientation_ChecksRandom)
{
    ASSERT_TRUE(toolbar->IsVerticalBlockOrientation());
    toolbar->SetIsRandomOrientationStarted(true);
    EXPECT_TRUE(toolbar->IsRandomBlockOrientation());
    EXPECT_EQ(Pressed(TStdPanel::GetBlockList()), (QList<bool>{true, false, false, false}));
}

TEST_F(ToolbarTest, SwitchingToSamples_SingleSampleAndTheNextId)
{
    OWCellBlockBase::SetNextSubjectId();
    OWCellBlockBase::SetNextSubjectId();
    OWCellBlockBase::SetNextSubjectId();
    Click(Radio(u"rbSubjectSamples"_s));
    Click(Radio(u"rbRdAllSamples"_s));
    EXPECT_TRUE(toolbar->SamplesSelectedAllSamples());
    Click(Radio(u"rbStandards"_s));
    Click(Radio(u"rbSubjectSamples"_s));

    EXPECT_TRUE(Radio(u"rbRdOneSample"_s)->isChecked());
    EXPECT_FALSE(toolbar->SamplesSelectedAllSamples());
    EXPECT_EQ(Child<QLineEdit>(u"txtSubjectID"_s)->text(), u"ID 4"_s);
    QTest::keyClick(Child<QLineEdit>(u"txtSubjectID"_s), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(Child<QLineEdit>(u"txtSubjectID"_s), u"P-9"_s);
    EXPECT_EQ(toolbar->State().CurrentIDForSample(), u"P-9"_s);
    EXPECT_EQ(toolbar->CurrentIDForSample(), u"P-9"_s);
}

TEST_F(ToolbarTest, ChoicesMadeWithoutAClick_ActAsAClickDoes)
{
    // A screen reader's toggle action and the arrow keys move the check mark without a click:
    // the toolbar must follow it, or the next click on the plate places the wrong item.
    const auto toggle = [](QWidget *button) {
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(button);
        ASSERT_NE(face, nullptr);
        ASSERT_NE(face->actionInterface(), nullptr);
        ASSERT_TRUE(
            face->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
        face->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    };
    const auto arrow = [](QWidget *button, Qt::Key key) {
        button->setFocus();
        QTest::keyClick(button, key);
    };
    enum Way
    {
        Toggle,
        ArrowFrom
    };
    const struct
    {
        Way way;
        const char *target; // toggled, or the button the arrow key is pressed on
        Qt::Key key;
        std::function<bool(const TfrmManualFormatToolbar &)> holds;
        const char *what;
    } cases[] = {
        {Toggle, "rbSubjectSamples", Qt::Key_unknown, &TfrmManualFormatToolbar::SamplesSelected, "samples"},
        {Toggle, "rbRdAllSamples", Qt::Key_unknown, &TfrmManualFormatToolbar::SamplesSelectedAllSamples,
         "all samples"},
        {ArrowFrom, "rbRdAllSamples", Qt::Key_Up,
         [](const TfrmManualFormatToolbar &t) {
             return t.SamplesSelected() && !t.SamplesSelectedAllSamples();
         },
         "single sample by arrow"},
        {ArrowFrom, "rbSubjectSamples", Qt::Key_Up, &TfrmManualFormatToolbar::StandardsSelected,
         "standards by arrow"},
        {Toggle, "rbHorizontalO", Qt::Key_unknown, &TfrmManualFormatToolbar::IsHorizontalBlockOrientation,
         "horizontal"},
        {Toggle, "rbRandomO", Qt::Key_unknown, &TfrmManualFormatToolbar::IsRandomBlockOrientation, "random"},
        {ArrowFrom, "rbRandomO", Qt::Key_Up, &TfrmManualFormatToolbar::IsHorizontalBlockOrientation,
         "horizontal by arrow"},
        {Toggle, "rbVerticalO", Qt::Key_unknown, &TfrmManualFormatToolbar::IsVerticalBlockOrientation,
         "vertical"},
    };
    EXPECT_TRUE(toolbar->StandardsSelected());
    for (const auto &step : cases) {
        QRadioButton *button = Radio(QString::fromLatin1(step.target));
        if (step.way == Toggle)
            toggle(button);
        else
            arrow(button, step.key);
        EXPECT_TRUE(step.holds(*toolbar)) << step.what;
    }
    // Samples chosen without a click show the samples' panels and the next subject ID.
    toggle(Radio(u"rbSubjectSamples"_s));
    EXPECT_TRUE(toolbar->SamplesSelected());
    EXPECT_FALSE(Child(u"pnlSubjectID"_s)->isHidden());
    EXPECT_TRUE(Child(u"pnlBoxLayoutStd"_s)->isHidden());
    EXPECT_TRUE(Presenter().Texts().isEmpty());
}

TEST_F(ToolbarTest, ClearAll_AsksTheOwnerThenResetsTheItemsOptions)
{
    int cleared = 0;
    QObject::connect(toolbar.get(), &TfrmManualFormatToolbar::clearAllClicked, [&] { ++cleared; });
    Click(Radio(u"rbHorizontalO"_s));
    Click(Button(u"btnClearAll"_s));
    EXPECT_EQ(cleared, 1);
    EXPECT_TRUE(toolbar->IsVerticalBlockOrientation());
    EXPECT_EQ(toolbar->State().Orientation(), TBlockOrientation::Vertical);

    Click(Radio(u"rbSubjectSamples"_s));
    Click(Radio(u"rbRdAllSamples"_s));
    Click(Button(u"btnClearAll"_s));
    EXPECT_EQ(cleared, 2);
    EXPECT_TRUE(Radio(u"rbRdOneSample"_s)->isChecked());
    EXPECT_FALSE(toolbar->State().SamplesSelectedAllSamples());
}

TEST_F(ToolbarTest, CancelAndClose_TheOwnerDecides)
{
    const struct
    {
        const char *name;
        bool cancelAllowed;
        bool closeAllowed;
        bool closeBox; // the close box instead of Cancel
        bool staysOpen;
    } cases[] = {
        {"Cancel, hide", true, true, false, false},
        {"Cancel, none", false, true, false, true},
        {"Cancel, hide refused on close", true, false, false, true},
        {"close box refused", true, false, true, true},
        {"close box", true, true, true, false},
    };
    for (const auto &c : cases) {
        toolbar->show();
        int hidden = 0;
        QObject receiver; // its connections end with the case
        QObject::connect(toolbar.get(), &TfrmManualFormatToolbar::cancelClicked, &receiver, [&] {
            if (!c.cancelAllowed)
                toolbar->KeepOpen();
        });
        QObject::connect(toolbar.get(), &TfrmManualFormatToolbar::closeRequested, &receiver, [&] {
            if (!c.closeAllowed)
                toolbar->KeepOpen();
        });
        QObject::connect(toolbar.get(), &TfrmManualFormatToolbar::hidden, &receiver, [&] { ++hidden; });
        if (c.closeBox)
            toolbar->close();
        else
            Click(Button(u"btnCancel"_s));
        EXPECT_EQ(toolbar->isVisible(), c.staysOpen) << c.name;
        EXPECT_EQ(hidden, c.staysOpen ? 0 : 1) << c.name;
    }
}

TEST_F(ToolbarTest, Destroyed_TheSharedPanelsStayAndForgetIt)
{
    TCBBlockPanelList &standards = TStdPanel::GetBlockList();
    TCBBlockPanelList &samples = TCBBlockPanelList::GetListForCriteriaType(CT_RESEARCH_SAMPLE);
    toolbar.reset();

    ASSERT_EQ(standards.Count(), 4);
    ASSERT_EQ(samples.Count(), 1);
    for (const TCBBlockPanelList *list : {&standards, &samples}) {
        for (int i = 0; i < list->Count(); ++i) {
            EXPECT_FALSE(list->GetItem(i)->OnClick());
            EXPECT_EQ(list->GetItem(i)->ID(), i + 1);
        }
    }
    // A second toolbar shows them again.
    TfrmManualFormatToolbar again(nullptr);
    EXPECT_EQ(again.findChild<QWidget *>(u"pnlBoxLayoutStd"_s)->findChildren<TBlockPanelWidget *>().size(),
              4);
}

TEST_F(ToolbarTest, NoItemOrSampleType_ProgrammingErrors)
{
    const struct
    {
        QString radio;
        std::function<void()> build;
        QStringList message;
    } cases[] = {
        {u"rbStandards"_s,
         [&] { toolbar->SetupFormLayout(); },
         {u"SetupFormLayout(): Standards or Samples not selected."_s}},
        {u"rbRdOneSample"_s,
         [&] { toolbar->CreateAndDrawSampleBoxes(); },
         {u"Error: Invalid Sample Type"_s, u"TfrmManualFormatToolbar.CreateAndDrawSampleBoxes"_s}},
    };
    for (const auto &c : cases) {
        auto *radio = Radio(c.radio);
        radio->setAutoExclusive(false);
        radio->setChecked(false);
        try {
            c.build();
            ADD_FAILURE() << c.radio.toStdString() << ": no exception";
        } catch (const MarnovelException &e) {
            for (const QString &part : c.message)
                EXPECT_TRUE(e.Message().contains(part)) << e.what();
        }
        radio->setChecked(true);
        radio->setAutoExclusive(true);
    }
}

} // namespace
