// Bringing a plate in through the clipboard and by drag and drop.

#include "RawDataTestSupport.h"

#include "core/MarnovelUtils.h"
#include "core/UiTextManager.h"
#include "plate/CellBlock.h"
#include "plate/CellColl.h"
#include "support/GuiApplication.h"

#include <QDropEvent>
#include <QImage>
#include <QLabel>

#include <functional>

using namespace Qt::StringLiterals;
using TestSupport::Dec;
using TestSupport::Presenter;

namespace {

TEST_F(RawDataTest, PasteExamplePlate_GridShowsWhatTheRunDataTook)
{
    SetClipboardText(ExamplePlate());
    Paste();

    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    ASSERT_EQ(Grid()->ColCount(), 13);
    ASSERT_EQ(Grid()->RowCount(), 9);
    const QStringList lines = SplitLines(ExamplePlate());
    ASSERT_EQ(lines.size(), 8);
    for (int row = 1; row <= 8; ++row) {
        const QStringList tokens = lines.at(row - 1).split(u'\t');
        for (int col = 1; col <= 12; ++col) {
            EXPECT_EQ(Grid()->Cell(col, row), Data().PlateText(col - 1, row - 1)) << col << ',' << row;
            EXPECT_EQ(Grid()->Cell(col, row), tokens.at(col - 1)) << col << ',' << row;
        }
    }
    EXPECT_EQ(Grid()->Cell(1, 1), Dec("2.412"));
    EXPECT_EQ(Grid()->Cell(12, 0), u"12"_s);
    EXPECT_EQ(Grid()->Cell(0, 8), u"H"_s);
    // No layout yet: nothing to calculate; the next step is the layout.
    EXPECT_FALSE(Button(u"calcCurvePb"_s)->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), Button(u"btnManualFormat"_s));
    EXPECT_TRUE(Button(u"pastePb"_s)->isEnabled());
    EXPECT_TRUE(Button(u"btnManualDataEntry"_s)->isEnabled());
}

TEST_F(RawDataTest, PasteAfterLayout_BlocksReadTheValuesAndCalculateIsOffered)
{
    LoadExampleLayout();
    EXPECT_FALSE(Button(u"calcCurvePb"_s)->isEnabled()); // no data yet
    SetClipboardText(ExamplePlate());
    Paste();

    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    EXPECT_TRUE(Button(u"calcCurvePb"_s)->isEnabled());
    OWCellBlockBase *s1 = Data().cellAtPoint(QPoint(1, 1));
    ASSERT_NE(s1, nullptr);
    ASSERT_TRUE(s1->getIsStandard());
    EXPECT_EQ(s1->getRawValue(0), Dec("2.412"));
}

TEST_F(RawDataTest, PasteTokens_NumbersWithThreeDecimalsMarksAsTheRunKeepsThem)
{
    QString text = Plate(8, 12);
    text.replace(Dec("0.101"), Dec("1.5")).replace(Dec("0.111"), u"abc"_s).replace(Dec("0.121"), u"n/s"_s);
    text.replace(Dec("0.131"), QString()).replace(Dec("0.141"), u"OVER"_s);
    SetClipboardText(text);
    Paste();

    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    const struct
    {
        int col;
        QString shown;
    } cells[] = {{1, Dec("1.500")}, {2, u"abc"_s},  {3, u"N/S"_s},
                 {4, u"N/S"_s},     {5, u"OVER"_s}, {6, Dec("0.151")}};
    for (const auto &cell : cells)
        EXPECT_EQ(Grid()->Cell(cell.col, 1), cell.shown) << cell.col;
}

TEST_F(RawDataTest, Paste_EveryLineEnd_SamePlate)
{
    SetClipboardText(Plate(8, 12));
    Paste();
    const QStringList reference = GridTexts();
    ASSERT_EQ(reference.size(), 96);
    ASSERT_EQ(reference.front(), Dec("0.101"));

    const struct
    {
        const char *name;
        QString text;
    } cases[] = {
        {"LF", Plate(8, 12, u"\n"_s)},
        {"CR", Plate(8, 12, u"\r"_s)},
        {"no final line end", Plate(8, 12).chopped(2)},
        {"CR LF with number texts of other lengths",
         Plate(8, 12).replace(Dec("0.101"), Dec("0.1010")).replace(Dec("0.111"), Dec("0.11100"))},
    };
    for (const auto &c : cases) {
        Grid()->ResetRawDataGrid();
        Presenter().Clear();
        SetClipboardText(c.text);
        Paste();
        EXPECT_TRUE(Presenter().messages.empty()) << c.name << ": " << Messages();
        EXPECT_EQ(GridTexts(), reference) << c.name;
    }
}

// A spreadsheet or a plate reader may offer its text only in one of the other text forms.
TEST_F(RawDataTest, Paste_TextInOtherForms_Taken)
{
    const QString plate = Plate(8, 12);
    const struct
    {
        const char *name;
        QString format;
        QByteArray bytes;
    } cases[] = {
        {"UTF-8 charset only", u"text/plain;charset=utf-8"_s, plate.toUtf8()},
        {"UTF-16 with a mark", u"text/plain"_s,
         "\xFF\xFE" + QByteArray(reinterpret_cast<const char *>(plate.utf16()), plate.size() * 2)},
        {"tab-separated values", u"text/tab-separated-values"_s, plate.toUtf8()},
    };
    for (const auto &c : cases) {
        Grid()->ResetRawDataGrid();
        Presenter().Clear();
        auto *data = new QMimeData;
        data->setData(c.format, c.bytes);
        QGuiApplication::clipboard()->setMimeData(data);
        Paste();
        EXPECT_TRUE(Presenter().messages.empty()) << c.name << ": " << Messages();
        EXPECT_EQ(Grid()->Cell(1, 1), Dec("0.101")) << c.name;
        EXPECT_EQ(Grid()->Cell(12, 8), Dec("0.911")) << c.name;
    }
}

TEST_F(RawDataTest, PasteEmptyText_GridKeepsItsHeadings)
{
    SetClipboardText(Plate(8, 12));
    Paste();
    SetClipboardText(QString());
    Paste();
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    EXPECT_EQ(Grid()->ColCount(), 13);
    EXPECT_EQ(Grid()->RowCount(), 9);
    EXPECT_EQ(Grid()->Cell(12, 0), u"12"_s);
    EXPECT_TRUE(GridEmpty());
    EXPECT_FALSE(Button(u"calcCurvePb"_s)->isEnabled());
}

struct BadPlate
{
    const char *name;
    std::function<QString()> text; // none: a picture alone
    bool withLayout;
    QString message;
};

void PrintTo(const BadPlate &plate, std::ostream *os)
{
    *os << plate.name;
}

class BadPlateTest : public RawDataTest, public ::testing::WithParamInterface<BadPlate>
{
protected:
    void PasteBadPlate() const
    {
        if (!GetParam().text) {
            QImage picture(4, 4, QImage::Format_RGB32);
            picture.fill(Qt::red);
            QGuiApplication::clipboard()->setImage(picture);
        } else {
            SetClipboardText(GetParam().text());
        }
        Paste();
    }
    // What the grid shows is the plate of the run data, which a save writes.
    void ExpectGridIsTheRunDataPlate() const
    {
        for (int col = 1; col <= 12; ++col) {
            for (int row = 1; row <= 8; ++row) {
                const bool inside = col < Data().XExtent() && row < Data().YExtent();
                ASSERT_EQ(inside ? Data().PlateText(col - 1, row - 1) : QString(), Grid()->Cell(col, row))
                    << col << ',' << row;
            }
        }
    }
};

// A refused plate changes nothing: the plate, the layout, the run details and the tab stay.
TEST_P(BadPlateTest, Paste_ReportedAndNothingChanges)
{
    const BadPlate &c = GetParam();
    if (c.withLayout)
        LoadExampleLayout();
    SetClipboardText(Plate(8, 12));
    Paste();
    ASSERT_TRUE(Presenter().messages.empty()) << Messages();
    const QStringList before = GridTexts();
    const int blocks = Data().RawData().GetCount() + Data().StdBlocks().GetCount();
    const bool calculable = Button(u"calcCurvePb"_s)->isEnabled();

    PasteBadPlate();

    EXPECT_EQ(Presenter().Texts(), QStringList{c.message});
    EXPECT_EQ(window->ActivePage(), TfrmMainCombinedRd::RawDataPage);
    EXPECT_EQ(window->GetRunNoEd()->text(), u"R7"_s);
    EXPECT_EQ(Data().RawData().GetCount() + Data().StdBlocks().GetCount(), blocks);
    EXPECT_EQ(GridTexts(), before);
    EXPECT_EQ(Grid()->ColCount(), 13);
    EXPECT_EQ(Grid()->RowCount(), 9);
    EXPECT_TRUE(Button(u"pastePb"_s)->isEnabled());
    EXPECT_TRUE(Button(u"btnManualDataEntry"_s)->isEnabled());
    EXPECT_EQ(Button(u"calcCurvePb"_s)->isEnabled(), calculable);
    ExpectGridIsTheRunDataPlate();
}

// After a calculation a refused plate asks nothing and throws nothing away: the unsaved results
// stay, with Save File.
TEST_P(BadPlateTest, PasteAfterCalculation_UnsavedResultsStay)
{
    LoadAndCalculate();
    const QStringList before = GridTexts();
    const QString runNumber = window->GetRunNoEd()->text();
    const QString slope = Child<QLineEdit>(u"slopeEd"_s)->text();
    ClickTab(TfrmMainCombinedRd::RawDataPage);

    PasteBadPlate();

    EXPECT_EQ(Presenter().Texts(), QStringList{GetParam().message});
    EXPECT_EQ(window->ActivePage(), TfrmMainCombinedRd::RawDataPage);
    EXPECT_EQ(GridTexts(), before);
    EXPECT_GT(Data().RawData().GetCount(), 0);
    EXPECT_NE(window->LastResult(), nullptr);
    EXPECT_FALSE(window->DataSaved());
    EXPECT_TRUE(Button(u"saveAsPb"_s)->isEnabled());
    EXPECT_EQ(Child<QLineEdit>(u"slopeEd"_s)->text(), slope);
    EXPECT_EQ(window->GetRunNoEd()->text(), runNumber);
    ExpectGridIsTheRunDataPlate();
}

QString TrailingTabs()
{
    QString text = PlateText(8, 12);
    return text.replace(u"\r\n"_s, u"\t\r\n"_s);
}

// 3000000.1234 needs rounding beyond the 32 bits the rounding works on.
QString UnroundableOd()
{
    QString text = PlateText(8, 12);
    return text.replace(TestSupport::Dec("0.101"), TestSupport::Dec("3000000.1234"));
}

const QString kInvalidData = u"Invalid data on Clipboard. Data not pasted."_s;

INSTANTIATE_TEST_SUITE_P(
    RawData, BadPlateTest,
    ::testing::Values(
        BadPlate{"seven lines", [] { return PlateText(7, 12); }, false, u"Bad array size."_s},
        BadPlate{"nine lines", [] { return PlateText(9, 12); }, false, u"Bad array size."_s},
        // A tab after the twelfth value makes a thirteenth column the grid cannot hold.
        BadPlate{"a tab after each line", TrailingTabs, true, u"Bad array size."_s},
        BadPlate{"ten lines", [] { return PlateText(10, 12); }, true, kInvalidData},
        BadPlate{"fourteen values on a line", [] { return PlateText(8, 14); }, true, kInvalidData},
        BadPlate{"a picture alone", nullptr, false, kInvalidData},
        BadPlate{"an OD too large to round", UnroundableOd, true, kInvalidData},
        BadPlate{"the layout reaches further than the data", [] { return PlateText(8, 6); }, true,
                 u"The format selected contains more strips than the data entered. Please use an alternate "
                 u"format."_s}),
    [](const ::testing::TestParamInfo<BadPlate> &info) {
        QString name = QString::fromUtf8(info.param.name);
        name.replace(u' ', u'_');
        return name.toStdString();
    });

// ---- drag and drop ---------------------------------------------------------------------------

class DropTest : public RawDataTest
{
protected:
    // Drags data over the grid and drops it there; true when the window took it as a copy.
    bool Drop(const QString &text) const
    {
        QMimeData data;
        data.setText(text);
        return Drop(data);
    }
    bool Drop(const QMimeData &data) const
    {
        const QPoint at = Grid()->mapTo(window.get(), Grid()->rect().center());
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        if (!enter.isAccepted() || enter.dropAction() != Qt::CopyAction)
            return false;
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &drop);
        // The dropped data is read once the drop is over.
        QCoreApplication::sendPostedEvents();
        return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
    }
};

TEST_F(DropTest, DropPlate_GridTakesIt)
{
    ASSERT_TRUE(Drop(ExamplePlate()));
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    EXPECT_EQ(Grid()->Cell(1, 1), Dec("2.412"));
    EXPECT_EQ(Grid()->Cell(1, 1), Data().PlateText(0, 0));
    EXPECT_EQ(Data().XExtent(), 13);
}

// New optical densities after a calculation: what was calculated from the old ones goes, after
// the question about unsaved results; Cancel keeps plate and results.
TEST_F(DropTest, NewPlateAfterCalculation_AskedThenResultsCleared)
{
    const struct
    {
        const char *name;
        std::function<void()> bring;
    } cases[] = {
        {"paste",
         [this] {
             SetClipboardText(ExamplePlate().replace(Dec("2.412"), Dec("2.5")));
             Paste();
         }},
        {"drop", [this] { ASSERT_TRUE(Drop(ExamplePlate().replace(Dec("2.412"), Dec("2.5")))); }},
        {"manual data entry",
         [this] {
             Click(Button(u"btnManualDataEntry"_s));
             ClickCell(1, 1);
             Type(Dec("0.5"));
             Click(Child<QWidget>(u"frmManualDataEntryForm"_s)->findChild<QPushButton *>(u"btnComplete"_s));
         }},
    };
    for (const TModalResult answer : {TModalResult::mrNo, TModalResult::mrCancel}) {
        for (const auto &c : cases) {
            SCOPED_TRACE(c.name);
            SetUp();
            LoadAndCalculate();
            ClickTab(TfrmMainCombinedRd::RawDataPage);
            const QStringList before = GridTexts();
            ASSERT_FALSE(Child<QLineEdit>(u"slopeEd"_s)->text().isEmpty());
            Presenter().answers.push_back(answer);
            c.bring();
            EXPECT_EQ(Presenter().Texts(), QStringList{UiText(105)});
            const bool cleared = answer == TModalResult::mrNo;
            EXPECT_EQ(window->LastResult() == nullptr, cleared);
            EXPECT_EQ(Child<QLineEdit>(u"slopeEd"_s)->text().isEmpty(), cleared);
            EXPECT_EQ(Child<QLabel>(u"qaResultsLa"_s)->text().isEmpty(), cleared);
            EXPECT_EQ(Button(u"saveAsPb"_s)->isEnabled(), !cleared);
            EXPECT_EQ(window->DataSaved(), cleared);
            const bool typed = c.name == std::string("manual data entry");
            if (cleared) {
                EXPECT_EQ(Grid()->Cell(1, 1), typed ? Dec("0.500") : Dec("2.500"));
            } else if (!typed) {
                EXPECT_EQ(GridTexts(), before);
            }
            TearDown();
        }
    }
}

TEST_F(DropTest, DropAnything_OfferedACopy)
{
    QMimeData picture;
    picture.setImageData(QImage(2, 2, QImage::Format_RGB32));
    ASSERT_TRUE(Drop(picture));
    EXPECT_EQ(Presenter().Texts(), QStringList{u"Invalid data on Clipboard. Data not pasted."_s});
}

TEST_F(DropTest, DropBadPlates_NothingChanges)
{
    const struct
    {
        const char *name;
        QString text;
        QString message;
    } cases[] = {
        {"seven lines", Plate(7, 12), u"Bad array size."_s},
        {"a tab after each line", TrailingTabs(), u"Bad array size."_s},
        {"ten lines", Plate(10, 12), u"Invalid data on Clipboard. Data not pasted."_s},
        {"an OD too large to round", UnroundableOd(), u"Invalid data on Clipboard. Data not pasted."_s},
    };
    for (const auto &c : cases) {
        SetUp();
        ASSERT_TRUE(Drop(Plate(8, 12))) << c.name;
        const QStringList before = GridTexts();
        ASSERT_TRUE(Drop(c.text)) << c.name;
        EXPECT_EQ(Presenter().Texts(), QStringList{c.message}) << c.name;
        EXPECT_EQ(window->ActivePage(), TfrmMainCombinedRd::RawDataPage) << c.name;
        EXPECT_EQ(Grid()->ColCount(), 13) << c.name;
        EXPECT_EQ(Grid()->RowCount(), 9) << c.name;
        EXPECT_EQ(GridTexts(), before) << c.name;
        EXPECT_EQ(Data().PlateText(0, 0), before.first()) << c.name;
    }
}

TEST_F(DropTest, DropEmptyText_EmptiesThePlate)
{
    ASSERT_TRUE(Drop(Plate(8, 12)));
    ASSERT_TRUE(Drop(QString()));
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    EXPECT_EQ(Grid()->Cell(0, 8), u"H"_s);
    EXPECT_TRUE(GridEmpty());
}

} // namespace
