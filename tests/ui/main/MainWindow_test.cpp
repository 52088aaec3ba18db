#include "MainWindowTestSupport.h"

#include "core/MarnovelConfigManager.h"
#include "core/Registry.h"
#include "core/SettingsStore.h"
#include "core/SoftwareInfoManager.h"
#include "support/GuiApplication.h"
#include "support/HostileSettingsStore.h"
#include "ui/main/dialogs/about.h"
#include "ui/main/grids/ResultsViews.h"
#include <QFile>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>

using namespace Qt::StringLiterals;
using TestSupport::Presenter;

namespace {

const QStringList kCommandButtons{
    u"closepb"_s,       u"newTestPb"_s, u"loadPb"_s,          u"saveAsPb"_s,        u"btnLoadFormat"_s,
    u"btnSaveFormat"_s, u"printPb"_s,   u"resultsExportPb"_s, u"rawDataExportPb"_s, u"aboutPb"_s};
const QStringList kResultCommands{u"saveAsPb"_s, u"printPb"_s, u"resultsExportPb"_s, u"rawDataExportPb"_s};

TEST_F(MainWindowTest, Construction_RunDetailsTabWithEveryControlNamed)
{
    const QStringList names{u"Panel1"_s,
                            u"pnlTopLine1"_s,
                            u"pnlTopLine2"_s,
                            u"pnlTopLine3"_s,
                            u"PageControl1"_s,
                            u"runDetailsSheet"_s,
                            u"rawDataSheet"_s,
                            u"resultsSheet"_s,
                            u"samplesSheet"_s,
                            u"pnlNavigation"_s,
                            u"pnlBottomLine1"_s,
                            u"pnlBottomLine2"_s,
                            u"pnlBottomLine3"_s,
                            u"btnPageLeft"_s,
                            u"btnPageRight"_s,
                            u"pnlRunDetailsHeaderText"_s,
                            u"lblMainHeaderText"_s,
                            u"lblSecondHeaderText"_s,
                            u"lblRunDetailsHeaderText"_s,
                            u"lblUSAVersion"_s,
                            u"pnlRundetailsEditfields"_s,
                            u"runDateLa"_s,
                            u"runDateDtNormal"_s,
                            u"kbNumberLa"_s,
                            u"kitBatchNoEdNormal"_s,
                            u"runNumberLa"_s,
                            u"runNoEdNormal"_s,
                            u"operatorLa"_s,
                            u"operatorEdNormal"_s,
                            u"pnlStandardProperties"_s,
                            u"pnlStandardCurveSelection"_s,
                            u"rgStdCurveType"_s,
                            u"rb8PointCurve"_s,
                            u"rb4PointCurve"_s,
                            u"pnlStdConcValueType"_s,
                            u"rgStdConcValueType"_s,
                            u"rbStdConcValueTypeDefault"_s,
                            u"rbStdConcValueTypeManual"_s,
                            u"stdConcLa"_s,
                            u"stdConcGd"_s,
                            u"rawDataGd"_s,
                            u"Panel3"_s,
                            u"pastePb"_s,
                            u"btnManualDataEntry"_s,
                            u"btnManualFormat"_s,
                            u"calcCurvePb"_s,
                            u"concGd"_s,
                            u"curveDetailsGb"_s,
                            u"calcResultsGb"_s,
                            u"interceptLa"_s,
                            u"slopeLa"_s,
                            u"corrCoeffLa"_s,
                            u"regressResultLa"_s,
                            u"interceptEd"_s,
                            u"slopeEd"_s,
                            u"corrCoefEd"_s,
                            u"qaResultsLa"_s,
                            u"lblInvestigateWashCriteria"_s,
                            u"lblChartTitle"_s,
                            u"resultGd"_s,
                            u"Panel2"_s,
                            u"lblResultGridFootnote"_s};
    for (const QString &name : names + kCommandButtons)
        EXPECT_NE(window->findChild<QWidget *>(name), nullptr) << name.toStdString();

    EXPECT_EQ(window->objectName(), u"frmMainCombinedRd"_s);
    EXPECT_EQ(Tabs()->count(), 5);
    EXPECT_EQ(window->ActivePage(), TfrmMainCombinedRd::RunDetailsPage);
    EXPECT_EQ(QApplication::focusWidget(), window->GetKitBatchNoEd());
    for (const QString &name : kResultCommands)
        EXPECT_FALSE(Button(name)->isEnabled()) << name.toStdString();
    EXPECT_FALSE(Button(u"calcCurvePb"_s)->isEnabled());
    EXPECT_EQ(window->windowTitle(),
              u"Velomyra R&D (Version "_s + GetSoftwareInfoManager().GetVersNumberStr() + u')');
    EXPECT_EQ(Child<QLabel>(u"lblMainHeaderText"_s)->text(), u"Velomyra R&D"_s);
    EXPECT_EQ(Child<QLabel>(u"lblRunDetailsHeaderText"_s)->text(),
              u"For Research Use Only. Not for use in diagnostic procedures."_s);
    EXPECT_EQ(Button(u"loadPb"_s)->text(), u"&Load\nFile"_s);
    EXPECT_EQ(Tabs()->tabText(1), u"Raw Data"_s);
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
}

TEST_F(MainWindowTest, CommandBar_TenButtonsShareTheStripeWidth)
{
    for (const int width : {1000, 1237}) {
        window->resize(width, 740);
        window->ArrangeLayout();
        const int stripe = Child(u"pnlTopLine1"_s)->width();
        const int buttonWidth = (stripe - 3 * 11) / 10;
        const QWidget *first = Button(u"closepb"_s);
        for (int i = 0; i < kCommandButtons.size(); ++i) {
            const QWidget *button = Button(kCommandButtons[i]);
            const int left = i == 9 ? stripe - 3 - buttonWidth : 3 + i * (buttonWidth + 3);
            EXPECT_EQ(button->geometry(), QRect(left, first->y(), buttonWidth, first->height()))
                << width << ' ' << kCommandButtons[i].toStdString();
        }
        EXPECT_EQ(Child(u"Panel1"_s)->height(), 52);
    }
}

TEST_F(MainWindowTest, Tabs_OneFifthOfTheTabControlEach)
{
    for (const int width : {1000, 1237}) {
        window->resize(width, 740);
        window->ArrangeLayout();
        const int expected = Child(u"PageControl1"_s)->width() / 5;
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(Tabs()->tabRect(i).width(), expected) << width;
            EXPECT_EQ(Tabs()->tabRect(i).left(), i * expected) << width;
        }
    }
    // The caption is centred in whole pixels, halves to even.
    EXPECT_EQ(TPageTabBar::CaptionLeft(QRect(0, 0, 200, 20), 51), 100 - 26);
    EXPECT_EQ(TPageTabBar::CaptionLeft(QRect(10, 0, 201, 20), 50), 10 + 100 - 25);
}

TEST_F(MainWindowTest, RunDetailsPage_PanelsFollowTheHeaderAndSplitTheWidth)
{
    window->resize(1100, 800);
    window->ArrangeLayout();
    const QWidget *sheet = Child(u"runDetailsSheet"_s);
    const QWidget *header = Child(u"pnlRunDetailsHeaderText"_s);
    const QWidget *details = Child(u"pnlRundetailsEditfields"_s);
    const QWidget *standards = Child(u"pnlStandardProperties"_s);
    const int free = sheet->height() - 52 - header->height() - details->sizeHint().height();
    EXPECT_EQ(header->y(), free / 3);
    EXPECT_EQ(details->geometry(), QRect(0, header->geometry().bottom() + 1, sheet->width() / 2,
                                         sheet->height() - 52 - header->geometry().bottom() - 1));
    EXPECT_EQ(standards->geometry(), QRect(sheet->width() / 2, details->y(),
                                           sheet->width() - sheet->width() / 2, details->height()));

    // Inside the right half: thirds of the free height and width.
    const QWidget *label = Child(u"stdConcLa"_s);
    const QWidget *grid = StdConc();
    const QWidget *curve = Child(u"pnlStandardCurveSelection"_s);
    const QWidget *valueType = Child(u"pnlStdConcValueType"_s);
    const int freeHeight = standards->height() - label->height() - grid->height();
    const int freeWidth = standards->width() - curve->width() - std::max(grid->width(), label->width());
    EXPECT_EQ(label->y(), freeHeight / 3);
    EXPECT_EQ(grid->y(), label->y() + label->height() + freeHeight / 3);
    EXPECT_EQ(curve->pos(), QPoint(freeWidth / 3, grid->y()));
    EXPECT_EQ(valueType->x(), freeWidth / 3);
    EXPECT_EQ(valueType->geometry().bottom(), grid->geometry().bottom());
    EXPECT_EQ(grid->x(), curve->geometry().right() + 1 + freeWidth / 3);
    EXPECT_EQ(label->x(), grid->x());
}

TEST_F(MainWindowTest, RunDetailsGate_IncompleteDetailsKeepTheTab)
{
    QToolButton *right = Child<QToolButton>(u"btnPageRight"_s);
    EXPECT_FALSE(right->isEnabled());
    ClickTab(TfrmMainCombinedRd::RawDataPage);
    EXPECT_EQ(window->ActivePage(), TfrmMainCombinedRd::RunDetailsPage);
    EXPECT_EQ(Presenter().Texts(), QStringList{u"Please enter a Batch Number."_s});
    EXPECT_EQ(Presenter().messages[0].caption, u"Velomyra"_s);
    EXPECT_EQ(QApplication::focusWidget(), window->GetKitBatchNoEd());

    // Each edit in the order kit batch, run number, operator; the arrow opens with the last.
    const struct
    {
        QLineEdit *edit;
        QString missingNext;
    } steps[] = {{window->GetKitBatchNoEd(), u"Please enter a Run Number."_s},
                 {window->GetRunNoEd(), u"Please enter Operator Name."_s},
                 {window->GetOperatorEd(), QString()}};
    for (const auto &step : steps) {
        Presenter().Clear();
        QTest::keyClicks(step.edit, u"X1"_s);
        EXPECT_EQ(right->isEnabled(), step.missingNext.isEmpty());
        ClickTab(TfrmMainCombinedRd::RawDataPage);
        if (step.missingNext.isEmpty()) {
            EXPECT_EQ(window->ActivePage(), TfrmMainCombinedRd::RawDataPage);
            EXPECT_TRUE(Presenter().messages.empty()) << Messages();
        } else {
            EXPECT_EQ(window->ActivePage(), TfrmMainCombinedRd::RunDetailsPage);
            EXPECT_EQ(Presenter().Texts(), QStringList{step.missingNext});
        }
    }
}

TEST_F(MainWindowTest, RunDetailsGate_ForbiddenCharacterAndBlankConcentration)
{
    FillRunDetails(u"K/7"_s);
    EXPECT_FALSE(Child<QToolButton>(u"btnPageRight"_s)->isEnabled());
    ClickTab(TfrmMainCombinedRd::SamplesPage);
    EXPECT_EQ(Presenter().Texts(),
              QStringList{u"The characters \" \\ / : * ? \" < > | \" cannot be used."_s});
    EXPECT_EQ(window->ActivePage(), TfrmMainCombinedRd::RunDetailsPage);

    window->GetKitBatchNoEd()->setText(u"K7"_s);
    Presenter().Clear();
    StdConc()->SetCell(1, 2, QString());
    ClickTab(TfrmMainCombinedRd::RawDataPage);
    EXPECT_EQ(Presenter().Texts(), QStringList{u"Standard concentrations must not be blank."_s});
    EXPECT_EQ(window->ActivePage(), TfrmMainCombinedRd::RunDetailsPage);
    EXPECT_EQ(StdConc()->currentRow(), 2);
    EXPECT_EQ(StdConc()->currentColumn(), 1);
}

TEST_F(MainWindowTest, Navigation_BarAndArrowsFollowTheActiveTab)
{
    FillRunDetails();
    const struct
    {
        QString sheet;
        bool left, right;
        QString above; // the panel the bar lies under
    } pages[] = {{u"runDetailsSheet"_s, false, true, QString()},
                 {u"rawDataSheet"_s, true, true, u"Panel3"_s},
                 {u"resultsSheet"_s, true, true, QString()},
                 {u"samplesSheet"_s, true, false, u"Panel2"_s}};
    QWidget *bar = Child(u"pnlNavigation"_s);
    for (int page = 0; page < 4; ++page) {
        if (page > 0)
            Click(Child(u"btnPageRight"_s));
        window->ArrangeLayout();
        EXPECT_EQ(window->ActivePage(), page);
        QWidget *sheet = Child(pages[page].sheet);
        EXPECT_EQ(bar->parentWidget(), sheet) << page;
        EXPECT_EQ(bar->geometry().bottom(), sheet->height() - 1) << page;
        EXPECT_EQ(bar->width(), sheet->width()) << page;
        EXPECT_EQ(Child(u"btnPageLeft"_s)->isVisibleTo(window.get()), pages[page].left) << page;
        EXPECT_EQ(Child(u"btnPageRight"_s)->isVisibleTo(window.get()), pages[page].right) << page;
        if (!pages[page].above.isEmpty()) {
            const QWidget *above = Child(pages[page].above);
            if (above->isVisibleTo(window.get())) {
                EXPECT_EQ(above->geometry().bottom() + 1, bar->y()) << page;
            }
        }
    }
    // The arrows sit 9 pixels in from the bar's ends.
    EXPECT_EQ(Child(u"btnPageLeft"_s)->x(), 9);
    Click(Child(u"btnPageLeft"_s));
    window->ArrangeLayout();
    EXPECT_EQ(Child(u"btnPageRight"_s)->geometry().right() + 1, bar->width() - 9);
    EXPECT_EQ(window->ActivePage(), TfrmMainCombinedRd::ResultsPage);
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
}

TEST_F(MainWindowTest, ButtonStates_ResultCommandsOnlyAfterACalculation)
{
    LoadExampleRun();
    EXPECT_EQ(window->ActivePage(), TfrmMainCombinedRd::RawDataPage);
    EXPECT_TRUE(window->RawData().CanCalculate());
    EXPECT_TRUE(Button(u"calcCurvePb"_s)->isEnabled());
    for (const QString &name : kResultCommands)
        EXPECT_FALSE(Button(name)->isEnabled()) << name.toStdString();

    Click(Button(u"calcCurvePb"_s));
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    EXPECT_EQ(window->ActivePage(), TfrmMainCombinedRd::ResultsPage);
    EXPECT_FALSE(Button(u"calcCurvePb"_s)->isEnabled());
    EXPECT_FALSE(window->DataSaved());
    for (const QString &name : kResultCommands)
        EXPECT_TRUE(Button(name)->isEnabled()) << name.toStdString();
    EXPECT_EQ(Child<QLabel>(u"qaResultsLa"_s)->text(), u"Valid ELISA test run."_s);
    EXPECT_EQ(Child<QLineEdit>(u"corrCoefEd"_s)->text(), TestSupport::Dec("1.00"));

    // Default values replace the concentrations: asked about the unsaved results first, then
    // the results go and with them the commands.
    ClickTab(TfrmMainCombinedRd::RunDetailsPage);
    Presenter().answers.push_back(TModalResult::mrNo);
    Click(Child<QRadioButton>(u"rbStdConcValueTypeDefault"_s));
    EXPECT_EQ(Presenter().Texts(), QStringList{UiText(105)});
    for (const QString &name : kResultCommands)
        EXPECT_FALSE(Button(name)->isEnabled()) << name.toStdString();
    EXPECT_TRUE(Child<QLabel>(u"qaResultsLa"_s)->text().isEmpty());
    EXPECT_TRUE(Child<QLineEdit>(u"corrCoefEd"_s)->text().isEmpty());
    EXPECT_TRUE(Child<TStandardsGrid>(u"concGd"_s)->Cell(2, 1).isEmpty());
    // Results no longer shown are none to save: no prompt offers what Save File cannot do.
    EXPECT_TRUE(window->DataSaved());
}

TEST_F(MainWindowTest, NewTest_UnsavedResults_AskFirst)
{
    const struct
    {
        const char *name;
        TModalResult answer;
        bool cleared;
        int saveDialogs;
        QString saveTo; // empty: the Save As dialog is cancelled
    } cases[] = {
        {"Cancel keeps everything", TModalResult::mrCancel, false, 0, {}},
        {"No clears the run", TModalResult::mrNo, true, 0, {}},
        {"Yes with a cancelled Save As clears the run", TModalResult::mrYes, true, 1, {}},
        {"Yes with a save that fails keeps everything", TModalResult::mrYes, false, 1,
         TestSupport::HomeDir() + u"/no such folder/run.vdf"_s},
    };
    for (const auto &c : cases) {
        SetUp();
        LoadAndCalculate();
        Presenter().answers.push_back(c.answer);
        Presenter().fileNames.push_back(c.saveTo);
        Click(Button(u"newTestPb"_s));
        // The question, and the reason of a failed save.
        ASSERT_EQ(Presenter().messages.size(), c.saveTo.isEmpty() ? 1u : 2u) << c.name << Messages();
        EXPECT_EQ(Presenter().messages[0].text, u"Data is unsaved. Save data?"_s);
        EXPECT_EQ(Presenter().messages[0].buttons,
                  TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo | TMsgDlgBtn::mbCancel);
        ASSERT_EQ(static_cast<int>(Presenter().fileRequests.size()), c.saveDialogs) << c.name;
        if (c.saveDialogs > 0) {
            EXPECT_EQ(Presenter().fileRequests[0].kind, TFileDialogKind::Save);
            EXPECT_EQ(Presenter().fileRequests[0].proposedName, u"09Dec26_1.vdf"_s);
        }
        EXPECT_EQ(window->ActivePage(),
                  c.cleared ? TfrmMainCombinedRd::RunDetailsPage : TfrmMainCombinedRd::ResultsPage)
            << c.name;
        EXPECT_EQ(window->DataSaved(), c.cleared) << c.name;
        EXPECT_EQ(window->GetRunNoEd()->text(), c.cleared ? QString() : u"1"_s) << c.name;
        EXPECT_EQ(window->GetKitBatchNoEd()->text(), u"K0001"_s) << c.name; // kept for the next run
        EXPECT_EQ(window->RawData().RawDataHasData(), !c.cleared) << c.name;
        EXPECT_EQ(Button(u"saveAsPb"_s)->isEnabled(), !c.cleared) << c.name;
        if (c.cleared) {
            EXPECT_TRUE(Child<QRadioButton>(u"rb4PointCurve"_s)->isChecked()) << c.name;
            EXPECT_TRUE(Child<QRadioButton>(u"rbStdConcValueTypeDefault"_s)->isChecked()) << c.name;
            EXPECT_EQ(Concentration(0), TestSupport::Dec("4.000")) << c.name;
        }
        TearDown();
    }
}

TEST_F(MainWindowTest, NewTest_NothingUnsaved_ClearsWithoutAsking)
{
    LoadExampleRun();
    Click(Button(u"newTestPb"_s));
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    EXPECT_FALSE(window->RawData().RawDataHasData());
    EXPECT_EQ(window->ActivePage(), TfrmMainCombinedRd::RunDetailsPage);
    EXPECT_EQ(window->StdConcDivider(), 4);
}

TEST_F(MainWindowTest, Close_UnsavedResults_CancelledSaveKeepsTheWindowOpen)
{
    const struct
    {
        const char *name;
        TModalResult answer;
        bool closed;
        QString saveTo; // empty: the Save As dialog is cancelled
    } cases[] = {
        {"Yes, Save As cancelled", TModalResult::mrYes, false, {}},
        {"Yes, the save fails", TModalResult::mrYes, false,
         TestSupport::HomeDir() + u"/no such folder/run.vdf"_s},
        {"Cancel", TModalResult::mrCancel, false, {}},
        {"No", TModalResult::mrNo, true, {}},
    };
    for (const auto &c : cases) {
        SetUp();
        LoadAndCalculate();
        Presenter().answers.push_back(c.answer);
        Presenter().fileNames.push_back(c.saveTo);
        Click(Button(u"closepb"_s));
        EXPECT_EQ(Presenter().Texts().value(0), u"Data is unsaved. Save data?"_s) << c.name;
        EXPECT_EQ(Presenter().Texts().size(), c.saveTo.isEmpty() ? 1 : 2) << c.name;
        EXPECT_EQ(window->isVisible(), !c.closed) << c.name;
        TearDown();
    }
}

TEST_F(MainWindowTest, Close_SavedInTheDialog_WritesTheRunAndCloses)
{
    LoadAndCalculate();
    const QString fileName = TestSupport::HomeDir() + u"/closing.vdf"_s;
    QFile::remove(fileName);
    Presenter().answers.push_back(TModalResult::mrYes);
    Presenter().fileNames.push_back(fileName);
    Click(Button(u"closepb"_s));
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(QFile::exists(fileName));
    EXPECT_TRUE(window->DataSaved());
}

TEST_F(MainWindowTest, WindowPosition_RestoredOrCentred)
{
    const struct
    {
        QPoint saved;
        bool centred;
    } cases[] = {{{40, 60}, false},
                 {{-1, 60}, true},
                 {{40, -1}, true},
                 {{5000, 4000}, true},
                 // The on-screen check must not overflow (it once put the window at 32767,32767).
                 {{2147483647, 2147483647}, true},
                 {{-2147483647 - 1, 100}, true}};
    for (const auto &c : cases) {
        window.reset();
        GetConfigManager().SetSavedFormLocation(u"frmMainCombinedRd"_s, c.saved.x(), c.saved.y());
        window = std::make_unique<TfrmMainCombinedRd>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        if (c.centred) {
            const QPoint centre = window->screen()->availableGeometry().center();
            // Within the frame the platform adds once the window is shown.
            EXPECT_LE(std::abs(window->frameGeometry().center().x() - centre.x()), 8);
            EXPECT_LE(std::abs(window->frameGeometry().center().y() - centre.y()), 8);
        } else {
            EXPECT_EQ(window->pos(), c.saved);
        }
    }
    // Closing stores where the window is.
    window->move(70, 90);
    window->close();
    EXPECT_EQ(GetConfigManager().GetSavedFormLocation(u"frmMainCombinedRd"_s), QPoint(70, 90));
}

TEST_F(MainWindowTest, HandlerRaises_OneMessageAndTheWindowCarriesOn)
{
    Presenter().fileNames.push_back(u"/runs/old run.fmt"_s);
    Click(Button(u"loadPb"_s));
    ASSERT_EQ(Presenter().messages.size(), 1u) << Messages();
    EXPECT_EQ(
        Presenter().messages[0].text,
        u"Exception occured in: TfrmMainCombined.LoadOldFileFormat\r\nWith parameters: pFileName=/runs/old "
        "run.fmt\r\nReason: Cannot load old file formats"_s);
    EXPECT_EQ(Presenter().messages[0].kind, TMsgDlgType::mtError);

    Presenter().Clear();
    LoadExampleRun();
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    EXPECT_TRUE(window->RawData().RawDataHasData());
}

TEST_F(MainWindowTest, LanguageSwitch_CtrlKeysReTextTheWindowAndStoreTheLanguage)
{
    const struct
    {
        Qt::Key key;
        QString resource;
    } languages[] = {{Qt::Key_G, u"LOCALE_GERMAN"_s},  {Qt::Key_9, u"LOCALE_GREEK"_s},
                     {Qt::Key_I, u"LOCALE_ITALIAN"_s}, {Qt::Key_F, u"LOCALE_FRENCH"_s},
                     {Qt::Key_S, u"LOCALE_SPANISH"_s}, {Qt::Key_E, u"LOCALE_ENGLISH"_s}};
    TAboutBox about(window.get());
    window->SetAboutBox(&about);
    for (const auto &language : languages) {
        Presenter().Clear();
        QTest::keyClick(window.get(), language.key, Qt::ControlModifier);
        EXPECT_TRUE(Presenter().messages.empty()) << language.resource.toStdString() << Messages();
        EXPECT_EQ(GetTranslationManager().GetResourceId(), language.resource);
        EXPECT_EQ(ReadRegistryText(u"Locale"_s, QString()), language.resource);
        EXPECT_EQ(Button(u"closepb"_s)->text(), UiText(9).replace(u"\\n"_s, u"\n"_s));
        EXPECT_EQ(Tabs()->tabText(0), UiText(17));
        EXPECT_EQ(Child<QGroupBox>(u"rgStdCurveType"_s)->title(), UiText(354));
        EXPECT_EQ(Child<QRadioButton>(u"rbStdConcValueTypeManual"_s)->text(), UiText(359));
        EXPECT_EQ(Child<QLabel>(u"lblSecondHeaderText"_s)->text(), UiText(201));
        EXPECT_EQ(Child<TStandardsGrid>(u"concGd"_s)->Cell(0, 0), UiText(74));
        EXPECT_TRUE(window->windowTitle().contains(UiText(114)));
        EXPECT_EQ(about.windowTitle(), UiText(142)); // the tool windows follow
    }
    EXPECT_EQ(Button(u"closepb"_s)->text(), u"&Close"_s);
}

// The language keys work wherever the focus is: a line edit would take Ctrl+E as End.
TEST_F(MainWindowTest, LanguageSwitch_KeysWorkWhereverTheFocusIs)
{
    const QString focusNames[] = {u"kitBatchNoEdNormal"_s, u"operatorEdNormal"_s, u"stdConcGd"_s,
                                  u"closepb"_s};
    for (const QString &name : focusNames) {
        QWidget *focus = Child(name);
        focus->setFocus();
        QWidget *target = focus;
        if (name == u"stdConcGd"_s) { // the cell editor of S1
            QTest::mouseClick(StdConc()->viewport(), Qt::LeftButton, {},
                              StdConc()->visualRect(StdConc()->model()->index(0, 1)).center());
            QTest::keyClick(StdConc(), Qt::Key_F2);
            target = QApplication::focusWidget();
            ASSERT_NE(target, StdConc());
        }
        const QString before =
            name == u"kitBatchNoEdNormal"_s ? window->GetKitBatchNoEd()->text() : QString();
        for (const auto &[key, resource] :
             {std::pair{Qt::Key_G, u"LOCALE_GERMAN"_s}, std::pair{Qt::Key_E, u"LOCALE_ENGLISH"_s},
              std::pair{Qt::Key_9, u"LOCALE_GREEK"_s}, std::pair{Qt::Key_E, u"LOCALE_ENGLISH"_s}}) {
            QTest::keyClick(target, key, Qt::ControlModifier);
            EXPECT_EQ(GetTranslationManager().GetResourceId(), resource) << name.toStdString();
        }
        EXPECT_EQ(Button(u"closepb"_s)->text(), u"&Close"_s);
        if (name == u"kitBatchNoEdNormal"_s) {
            EXPECT_EQ(window->GetKitBatchNoEd()->text(), before); // the edit got no key
        }
    }
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
}

// The caption of the concentrations starts where their grid starts, and stays inside its
// panel, in every language.
TEST_F(MainWindowTest, StandardConcentrationsCaption_StartsOverTheGridInEveryLanguage)
{
    const QWidget *label = Child(u"stdConcLa"_s);
    const QWidget *panel = Child(u"pnlStandardProperties"_s);
    const QWidget *choices = Child(u"pnlStandardCurveSelection"_s);
    for (const int width : {1180, 900}) {
        window->resize(width, 780);
        for (const char *language :
             {"LOCALE_ENGLISH", "LOCALE_GERMAN", "LOCALE_FRENCH", "LOCALE_SPANISH", "LOCALE_ITALIAN",
              "LOCALE_GREEK", "LOCALE_PORTUGUESE", "LOCALE_POLISH"}) {
            SCOPED_TRACE(language);
            window->ChangeLanguage(QString::fromLatin1(language));
            window->ArrangeLayout();
            EXPECT_EQ(label->x(), StdConc()->x()) << width;
            EXPECT_LE(label->geometry().right(), panel->width()) << width;
            EXPECT_GT(label->x(), choices->geometry().right()) << width;
            EXPECT_LT(label->geometry().bottom(), StdConc()->y()) << width;
        }
    }
    window->ChangeLanguage(u"LOCALE_ENGLISH"_s);
}

// Settings that cannot be saved refuse no command: Load File loads, Load Format asks for its
// file, a language key switches, and the operator is told once why nothing is remembered.
TEST_F(MainWindowTest, SettingsCannotBeSaved_CommandsGoOnWithOneWarning)
{
    const HostileSettingsStore hostile(HostileSettingsStore::TKind::FileInPlaceOfFolder);
    LoadExampleRun();
    EXPECT_TRUE(window->RawData().RawDataHasData()) << Messages();
    Click(Button(u"btnLoadFormat"_s)); // cancelled in the file dialog
    EXPECT_EQ(Presenter().fileRequests.back().filter, u"Velomyra Format File|*.vff"_s);
    QTest::keyClick(window.get(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(GetTranslationManager().GetResourceId(), u"LOCALE_GERMAN"_s);
    ASSERT_EQ(Presenter().messages.size(), 1u) << Messages();
    EXPECT_EQ(Presenter().messages[0].kind, TMsgDlgType::mtWarning);
    GetTranslationManager().LoadResource(u"LOCALE_ENGLISH"_s);
    EXPECT_EQ(Presenter().messages[0].text, SettingsCannotBeSavedText(SettingsStore::FilePath()));
}

} // namespace
