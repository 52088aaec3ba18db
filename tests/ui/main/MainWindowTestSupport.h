#pragma once

#include "core/UiTextManager.h"
#include "support/TestSupport.h"
#include "ui/main/MainFormCombinedRd.h"
#include "ui/main/PageControl.h"
#include "ui/main/grids/StdConcGrid.h"
#include "ui/main/pages/RawDataPage.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// A shown, active main window with the recording presenter emptied; controls are found
// by their names and used with real clicks and keys.
class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<TfrmMainCombinedRd>();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        TestSupport::Presenter().Clear();
    }
    void TearDown() override { window.reset(); }

    template <typename Widget = QWidget> Widget *Child(const QString &name) const
    {
        auto *widget = window->findChild<Widget *>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    QPushButton *Button(const QString &name) const { return Child<QPushButton>(name); }
    TPageTabBar *Tabs() const { return Child<TPageControl>(QStringLiteral("PageControl1"))->PageTabBar(); }
    TStdConcGrid *StdConc() const { return Child<TStdConcGrid>(QStringLiteral("stdConcGd")); }

    void Click(QWidget *widget) const { QTest::mouseClick(widget, Qt::LeftButton); }
    void ClickTab(int index) const
    {
        QTest::mouseClick(Tabs(), Qt::LeftButton, {}, Tabs()->tabRect(index).center());
    }
    void FillRunDetails(const QString &kitBatch = QStringLiteral("K7"),
                        const QString &run = QStringLiteral("R7"),
                        const QString &operatorName = QStringLiteral("Al")) const
    {
        QTest::keyClicks(window->GetKitBatchNoEd(), kitBatch);
        QTest::keyClicks(window->GetRunNoEd(), run);
        QTest::keyClicks(window->GetOperatorEd(), operatorName);
    }
    // Load with the example run chosen in the file dialog.
    void LoadExampleRun() const
    {
        TestSupport::Presenter().fileNames.push_back(
            QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/run-8point.vdf"));
        Click(Button(QStringLiteral("loadPb")));
    }
    void LoadAndCalculate() const
    {
        LoadExampleRun();
        ASSERT_TRUE(Button(QStringLiteral("calcCurvePb"))->isEnabled()) << Messages();
        Click(Button(QStringLiteral("calcCurvePb")));
        ASSERT_FALSE(window->DataSaved()) << Messages();
        TestSupport::Presenter().Clear();
    }

    // Clicks the concentration cell of `row` and types text into its editor, then `key`.
    void TypeConcentration(int row, const QString &text, Qt::Key key = Qt::Key_Return,
                           Qt::KeyboardModifiers modifiers = {}) const
    {
        TStdConcGrid *grid = StdConc();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(row, 1)).center());
        QTest::keyClick(grid, Qt::Key_F2);
        QWidget *editor = QApplication::focusWidget();
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, key, modifiers);
    }
    QString Concentration(int row) const { return StdConc()->Cell(1, row); }

    static std::string Messages() { return TestSupport::Presenter().Texts().join(u'|').toStdString(); }

    std::unique_ptr<TfrmMainCombinedRd> window;
};
