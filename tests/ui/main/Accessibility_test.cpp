// The main window as a screen reader and the keyboard alone see it: grid cells read through
// Qt's accessibility interface with their row and column headings, every control the keyboard
// reaches named in the current language, and a whole run worked with key presses only.

#include "RawDataTestSupport.h"

#include "support/GuiApplication.h"
#include "ui/format/ManualFormatToolbarForm.h"
#include "ui/main/grids/ResultsViews.h"
#include "ui/print/PrintScreen.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QRadioButton>
#include <QTableView>

using namespace Qt::StringLiterals;
using TestSupport::Presenter;

namespace {

struct TSpokenCell
{
    QString name, rowHeader, columnHeader;
    bool operator==(const TSpokenCell &) const = default;
};

void PrintTo(const TSpokenCell &cell, std::ostream *os)
{
    *os << '[' << cell.name.toStdString() << " | " << cell.rowHeader.toStdString() << " | "
        << cell.columnHeader.toStdString() << ']';
}

TSpokenCell Spoken(QTableView *grid, int row, int col)
{
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(grid);
    QAccessibleInterface *cell =
        table && table->tableInterface() ? table->tableInterface()->cellAt(row, col) : nullptr;
    if (!cell || !cell->tableCellInterface())
        return {u"(no cell)"_s, {}, {}};
    const auto first = [](const QList<QAccessibleInterface *> &headers) {
        return headers.isEmpty() ? u"(none)"_s : headers.first()->text(QAccessible::Name);
    };
    return {cell->text(QAccessible::Name), first(cell->tableCellInterface()->rowHeaderCells()),
            first(cell->tableCellInterface()->columnHeaderCells())};
}

QString AccessibleName(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

class AccessibilityTest : public MainWindowTest
{
};

// Keys go where the focus is, as the operator's keyboard sends them.
class KeyboardWalkTest : public MainWindowTest
{
protected:
    static QWidget *Focus() { return QApplication::focusWidget(); }
    static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget *target = Focus() ? Focus() : QApplication::activeWindow();
        ASSERT_NE(target, nullptr);
        QTest::keyPress(target, key, modifiers);
        QTest::keyRelease(Focus() ? Focus() : target, key, modifiers);
    }
    // What the window manager does when a window of ours closes; the offscreen platform does not.
    void BackToTheMainWindow() const
    {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == window.get(); }));
    }
    static void Type(const QString &text) { QTest::keyClicks(Focus(), text); }
    // Tab until the control has the focus; false after a long round without it.
    static bool TabTo(const QWidget *control)
    {
        for (int i = 0; i < 80 && Focus() != control; ++i)
            Press(Qt::Key_Tab);
        return Focus() == control;
    }
    // Alt and the letter the control's text underlines: the accelerator the operator sees. A
    // letter two shown controls share ("Calculat&e", "Sav&e Format") moves the focus between
    // them instead of pressing; Space then presses the one reached.
    static void Accelerator(const QAbstractButton *button)
    {
        const QString text = button->text();
        const qsizetype amp = text.indexOf(u'&');
        ASSERT_TRUE(amp >= 0 && amp + 1 < text.size()) << text.toStdString();
        const auto key = static_cast<Qt::Key>(text.at(amp + 1).toUpper().unicode());
        Press(key, Qt::AltModifier);
        if (!button->isDown()) {
            for (int i = 0; i < 4 && Focus() != button; ++i)
                Press(key, Qt::AltModifier);
            ASSERT_EQ(Focus(), button) << text.toStdString();
            Press(Qt::Key_Space);
            return;
        }
        // An accelerator presses the button for a moment before it clicks.
        ASSERT_TRUE(QTest::qWaitFor([button] { return !button->isDown(); }));
    }
    TRawDataGrid *Grid() const { return Child<TRawDataGrid>(u"rawDataGd"_s); }
    // Arrow keys until the plate's current well is (col, row).
    void ArrowTo(int col, int row) const
    {
        for (int i = 0; i < 40 && Grid()->CurrentCell() != QPoint(col, row); ++i) {
            const QPoint at = Grid()->CurrentCell();
            Press(at.y() < row   ? Qt::Key_Down
                  : at.y() > row ? Qt::Key_Up
                  : at.x() < col ? Qt::Key_Right
                                 : Qt::Key_Left);
        }
        ASSERT_EQ(Grid()->CurrentCell(), QPoint(col, row));
    }
};

} // namespace

TEST_F(AccessibilityTest, GridCells_ReadAsShownWithTheirRowAndColumnHeadings)
{
    LoadAndCalculate();
    auto *plate = Child<QTableView>(u"rawDataGd"_s);
    auto *standards = Child<QTableView>(u"concGd"_s);
    auto *results = Child<QTableView>(u"resultGd"_s);
    auto *concentrations = Child<QTableView>(u"stdConcGd"_s);
    const QString plateA1 = plate->model()->index(1, 1).data().toString();
    ASSERT_FALSE(plateA1.isEmpty());
    const struct
    {
        QTableView *grid;
        int row, col;
        TSpokenCell expected;
    } cases[] = {
        // A well of the first standards block: its block, then its optical density.
        {plate, 1, 1, {u"Std 1, "_s + plateA1, u"A"_s, u"1"_s}},
        {plate,
         8,
         12,
         {plate->model()->index(8, 12).data(Qt::AccessibleTextRole).toString(), u"H"_s, u"12"_s}},
        // PASS and FAIL are words, not only a colour.
        {standards, 1, TStandardsGrid::QcColumn, {UiText(79), u"S1"_s, UiText(78)}},
        {standards, 1, 1, {standards->model()->index(1, 1).data().toString(), u"S1"_s, UiText(75)}},
        // A mark is read without its tags, the subject and the column with it.
        {results, 36, 1, {u"> 10#"_s, u"ID 36"_s, results->model()->index(0, 1).data().toString()}},
        {concentrations, 0, 1, {Concentration(0), u"S1"_s, UiText(360)}},
    };
    for (const auto &cell : cases) {
        EXPECT_EQ(Spoken(cell.grid, cell.row, cell.col), cell.expected)
            << cell.grid->objectName().toStdString() << ' ' << cell.row << ',' << cell.col;
    }
    // The verdict is a sentence, read as it is shown.
    auto *verdict = Child<QLabel>(u"qaResultsLa"_s);
    EXPECT_EQ(AccessibleName(verdict), UiText(87));
}

TEST_F(AccessibilityTest, EveryControlTheKeyboardReaches_NamedInTheCurrentLanguage)
{
    LoadAndCalculate();
    // Every page in turn: the controls that take the focus by Tab, with their names.
    const auto names = [this] {
        QMap<QString, QString> named;
        for (int page = 0; page < Tabs()->count(); ++page) {
            ClickTab(page);
            for (QWidget *widget : window->findChildren<QWidget *>()) {
                if (!widget->isVisible() || !(widget->focusPolicy() & Qt::TabFocus) ||
                    widget->objectName().isEmpty() || widget->objectName().startsWith(u"qt_"_s))
                    continue;
                named.insert(widget->objectName(), AccessibleName(widget));
            }
        }
        return named;
    };
    const QMap<QString, QString> english = names();
    window->ChangeLanguage(u"LOCALE_GERMAN"_s);
    const QMap<QString, QString> german = names();
    window->ChangeLanguage(u"LOCALE_ENGLISH"_s);
    ASSERT_GT(english.size(), 10);
    for (auto it = english.cbegin(); it != english.cend(); ++it) {
        EXPECT_FALSE(it.value().trimmed().isEmpty()) << it.key().toStdString();
        EXPECT_TRUE(german.contains(it.key())) << it.key().toStdString();
        EXPECT_FALSE(german.value(it.key()).trimmed().isEmpty()) << it.key().toStdString();
        EXPECT_NE(german.value(it.key()), it.value()) << it.key().toStdString();
    }
}

TEST_F(KeyboardWalkTest, WholeRun_DetailsPasteLayoutCalculateResultsExportAndPdf_KeysOnly)
{
    ScriptedModals modals;
    // The standing print window, as start-up joins it to the main window.
    TScreenPrintFormCombinedTorvinTandem printWindow(window.get());
    window->SetPrintWindow(&printWindow);
    TMarnovelData &data = window->RunData();

    // Run details, and the 8-point curve by the arrow keys in its group.
    ASSERT_TRUE(TabTo(window->GetKitBatchNoEd()));
    Type(u"K7"_s);
    ASSERT_TRUE(TabTo(window->GetRunNoEd()));
    Type(u"R7"_s);
    ASSERT_TRUE(TabTo(window->GetOperatorEd()));
    Type(u"Al"_s);
    ASSERT_TRUE(TabTo(Child<QRadioButton>(u"rb8PointCurve"_s)));
    Press(Qt::Key_Space);
    ASSERT_EQ(data.GetCurveType(), CURVE_8POINT);

    // The plate through the clipboard.
    Press(Qt::Key_Tab, Qt::ControlModifier);
    ASSERT_EQ(window->ActivePage(), TfrmMainCombinedRd::RawDataPage);
    QFile plate(QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/plate-8point.txt"));
    ASSERT_TRUE(plate.open(QIODevice::ReadOnly));
    QGuiApplication::clipboard()->setText(TestSupport::Dec(QString::fromUtf8(plate.readAll())));
    Accelerator(Button(u"pastePb"_s));
    ASSERT_FALSE(Grid()->Cell(1, 1).isEmpty()) << Messages();

    // Part of a layout with the toolbar: standards in columns 1 and 2, a sample in A3.
    Accelerator(Button(u"btnManualFormat"_s));
    TfrmManualFormatToolbar *toolbar = window->RawData().ManualFormatToolbar();
    ASSERT_TRUE(toolbar->isVisible());
    ASSERT_TRUE(TabTo(Grid()));
    Press(Qt::Key_Down);
    ArrowTo(1, 1);
    // The well the keys act on is framed where the operator can see it.
    const QRect well = Grid()->visualRect(Grid()->model()->index(1, 1));
    const QImage shown = Grid()->viewport()->grab().toImage();
    const qreal ratio = shown.devicePixelRatio(); // the grab is in device pixels
    EXPECT_LT(qGray(shown.pixel((QPointF(well.center().x(), well.top() + 2) * ratio).toPoint())), 80)
        << "no dark frame on the current well";
    Press(Qt::Key_Space);
    Press(Qt::Key_Right);
    Press(Qt::Key_Return);
    EXPECT_EQ(data.StdBlocks().GetCount(), 2) << Messages();
    Press(Qt::Key_F6);
    ASSERT_TRUE(QTest::qWaitFor([toolbar] { return QApplication::activeWindow() == toolbar; }));
    ASSERT_EQ(Focus(), toolbar->findChild<QWidget *>(u"rbStandards"_s));
    Press(Qt::Key_Down);
    ASSERT_TRUE(toolbar->SamplesSelected());
    Press(Qt::Key_F6);
    ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == window.get(); }));
    ASSERT_EQ(Focus(), Grid());
    Press(Qt::Key_Right);
    Press(Qt::Key_Space);
    EXPECT_EQ(data.StdBlocks().GetCount(), 2);
    EXPECT_EQ(data.RawData().GetCount(), 1) << Messages();
    Press(Qt::Key_F6);
    ASSERT_TRUE(QTest::qWaitFor([toolbar] { return QApplication::activeWindow() == toolbar; }));
    ASSERT_TRUE(TabTo(toolbar->findChild<QWidget *>(u"btnComplete"_s)));
    Press(Qt::Key_Space);
    ASSERT_FALSE(toolbar->isVisible()) << Messages();
    ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == window.get(); }));

    // The whole layout from a format file, then Calculate.
    Presenter().fileNames.push_back(QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/layout-8point.vff"));
    Accelerator(Button(u"btnLoadFormat"_s));
    ASSERT_EQ(data.RawData().GetCount(), 80) << Messages();
    Presenter().Clear();
    Accelerator(Button(u"calcCurvePb"_s));
    ASSERT_NE(window->LastResult(), nullptr) << Messages();

    // The results: the verdict's page first, then the subjects' grid and down it by arrows.
    ASSERT_EQ(window->ActivePage(), TfrmMainCombinedRd::ResultsPage);
    Press(Qt::Key_Tab, Qt::ControlModifier);
    ASSERT_EQ(window->ActivePage(), TfrmMainCombinedRd::SamplesPage);
    auto *results = Child<QTableView>(u"resultGd"_s);
    ASSERT_TRUE(TabTo(results));
    Press(Qt::Key_Down);
    const int before = results->currentIndex().row();
    Press(Qt::Key_Down);
    EXPECT_EQ(results->currentIndex().row(), before + 1);

    // Results Export to a file: the choice by arrow, OK by Enter.
    const QString exported = TestSupport::HomeDir() + u"/walk-results.txt"_s;
    QFile::remove(exported);
    Presenter().fileNames.push_back(exported);
    Accelerator(Button(u"resultsExportPb"_s));
    {
        auto *dialog = window->findChild<QDialog *>(u"frmExportSelection"_s);
        ASSERT_TRUE(dialog && dialog->isVisible());
        ASSERT_TRUE(QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; }));
        ASSERT_TRUE(TabTo(dialog->findChild<QRadioButton *>(u"rbClipboardExport"_s)));
        Press(Qt::Key_Down);
        ASSERT_TRUE(dialog->findChild<QRadioButton *>(u"rbFileExport"_s)->isChecked());
        Press(Qt::Key_Return);
        ASSERT_TRUE(QTest::qWaitFor([dialog] { return !dialog->isVisible(); }));
    }
    BackToTheMainWindow();
    EXPECT_TRUE(QFileInfo(exported).size() > 0) << Messages();

    // Print to PDF: the print window's own accelerator, the save dialog answered.
    const QString pdf = TestSupport::HomeDir() + u"/walk-report.pdf"_s;
    QFile::remove(pdf);
    Presenter().fileNames.push_back(pdf);
    const auto activeIs = [](QWidget *window) {
        return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
    };
    modals.Push([&activeIs](QDialog &dialog) {
        dialog.activateWindow();
        ASSERT_TRUE(activeIs(&dialog));
        Accelerator(dialog.findChild<QAbstractButton *>(u"btnSaveToFile"_s));
        dialog.activateWindow();
        ASSERT_TRUE(activeIs(&dialog));
        Press(Qt::Key_Escape);
        ASSERT_TRUE(QTest::qWaitFor([&dialog] { return !dialog.isVisible(); }));
    });
    Accelerator(Button(u"printPb"_s));
    EXPECT_TRUE(QFileInfo(pdf).size() > 0) << Messages();
    EXPECT_EQ(modals.shown, 1);
    EXPECT_EQ(modals.unexpected, 0);
    window->SetPrintWindow(nullptr);
}
