#pragma once

#include "MainWindowTestSupport.h"

#include "core/Tool.h"
#include "plate/CellColl.h"
#include "platform/ModalDialogs.h"
#include "run/MarnovelData.h"
#include "ui/main/grids/RawDataGrid.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QMimeData>
#include <QTest>

#include <algorithm>
#include <deque>
#include <functional>

// Works the program's own modal dialogs with real clicks and keys: each dialog that opens is
// shown, handed to the next script and, when the script leaves it open, closed by its close
// box. A dialog without a script is closed that way and counted as unexpected.
class ScriptedModals
{
public:
    using TScript = std::function<void(QDialog &dialog)>;

    ScriptedModals()
    {
        SetModalRunner([this](QDialog &dialog) { return Run(dialog); });
    }
    ~ScriptedModals() { SetModalRunner({}); }
    ScriptedModals(const ScriptedModals &) = delete;
    ScriptedModals &operator=(const ScriptedModals &) = delete;

    void Push(TScript script) { mScripts.push_back(std::move(script)); }

    int shown = 0;
    int unexpected = 0;

private:
    int Run(QDialog &dialog)
    {
        ++shown;
        dialog.setResult(QDialog::Rejected);
        dialog.show();
        if (mScripts.empty()) {
            ++unexpected;
        } else {
            const TScript script = std::move(mScripts.front());
            mScripts.pop_front();
            script(dialog);
        }
        if (dialog.isVisible())
            dialog.close();
        return dialog.result();
    }

    std::deque<TScript> mScripts;
};

// n lines of `columns` numbers, "0.101" upwards, each ended by lineEnd.
inline QString PlateText(int lines, int columns, const QString &lineEnd = QStringLiteral("\r\n"))
{
    QString text;
    for (int r = 0; r < lines; ++r) {
        QStringList cells;
        for (int c = 0; c < columns; ++c)
            cells << TestSupport::Dec(QString::number(0.101 + 0.01 * c + 0.1 * r, 'f', 3));
        text += cells.join(u'\t') + lineEnd;
    }
    return text;
}

// The main window on its Raw Data tab, with the example plate at hand.
class RawDataTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        FillRunDetails();
        ClickTab(TfrmMainCombinedRd::RawDataPage);
        ASSERT_EQ(window->ActivePage(), TfrmMainCombinedRd::RawDataPage) << Messages();
        TestSupport::Presenter().Clear();
    }

    TRawDataGrid *Grid() const { return Child<TRawDataGrid>(QStringLiteral("rawDataGd")); }
    TMarnovelData &Data() const { return window->RunData(); }

    static QString ExamplePlate()
    {
        QFile file(QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/plate-8point.txt"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        // The example is written with "."; the regional variants read their own separator.
        return TestSupport::Dec(QString::fromUtf8(file.readAll()));
    }
    static QString Plate(int lines, int columns, const QString &lineEnd = QStringLiteral("\r\n"))
    {
        return PlateText(lines, columns, lineEnd);
    }

    static void SetClipboardText(const QString &text) { QGuiApplication::clipboard()->setText(text); }
    void Paste() const { Click(Button(QStringLiteral("pastePb"))); }

    // Load Format with the example layout (standards in columns 1 and 2, a sample per other well).
    void LoadExampleLayout() const
    {
        TestSupport::Presenter().fileNames.push_back(
            QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/layout-8point.vff"));
        Click(Button(QStringLiteral("btnLoadFormat")));
        ASSERT_GT(Data().RawData().GetCount(), 0) << Messages();
    }

    // The grid's data cells, column by column.
    QStringList GridTexts() const
    {
        QStringList texts;
        for (int col = 1; col < Grid()->ColCount(); ++col)
            for (int row = 1; row < Grid()->RowCount(); ++row)
                texts << Grid()->Cell(col, row);
        return texts;
    }
    bool GridEmpty() const
    {
        const QStringList texts = GridTexts();
        return std::all_of(texts.begin(), texts.end(), [](const QString &t) { return t.isEmpty(); });
    }

    QPoint CellCentre(int col, int row) const
    {
        return Grid()->visualRect(Grid()->model()->index(row, col)).center();
    }
    void ClickCell(int col, int row, Qt::MouseButton button = Qt::LeftButton) const
    {
        QTest::mouseClick(Grid()->viewport(), button, {}, CellCentre(col, row));
    }
    // A key typed as the operator types it: pressed where the focus is and released where
    // the focus is then (a key may move it to another cell's editor).
    static void Key(Qt::Key key)
    {
        QTest::keyPress(QApplication::focusWidget(), key);
        QTest::keyRelease(QApplication::focusWidget(), key);
    }
    static void Type(const QString &text) { QTest::keyClicks(QApplication::focusWidget(), text); }
};
