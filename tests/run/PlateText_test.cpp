// Plate text: paste and grid loads, the shared line parser, copying to the grid.

#include "RunTestHelpers.h"

#include "core/UiTextManager.h"

#include <gtest/gtest.h>

using namespace RunTest;
using namespace Qt::StringLiterals;

namespace {

class PlateText : public ::testing::Test
{
protected:
    QStringList Messages() const { return TestSupport::Presenter().Texts(); }

    bool MatrixEmpty() const
    {
        for (int c = 0; c < TMarnovelData::DataCols; ++c)
            for (int r = 0; r < TMarnovelData::DataRows; ++r)
                if (!data.PlateText(c, r).isEmpty())
                    return false;
        return true;
    }

    TMarnovelRdData data;
};

} // namespace

TEST_F(PlateText, Paste_EightLinesOfTwelveNumbers_FillsPlateWithThreeDecimals)
{
    QStringList lines;
    for (int r = 0; r < 8; ++r) {
        QStringList cells;
        for (int c = 0; c < 12; ++c)
            cells.append(Dec(QString::number(r) + u".1234"_s));
        lines.append(cells.join(u'\t'));
    }
    lines[0].replace(0, Dec("0.1234").size(), Dec("1.5"));
    lines[1].replace(0, Dec("1.1234").size(), Dec("0.5"));

    ASSERT_TRUE(Paste(data, Lines(lines) + u"\r\n"_s));

    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_TRUE(data.LastPasteGood());
    EXPECT_EQ(data.XExtent(), 13);
    EXPECT_EQ(data.YExtent(), 9);
    EXPECT_EQ(data.PlateText(0, 0), Dec("1.500"));
    EXPECT_EQ(data.PlateText(0, 1), Dec("0.500"));
    EXPECT_EQ(data.PlateText(11, 7), Dec("7.123"));
    EXPECT_EQ(data.PlateText(12, 0), QString());

    TTextGrid grid;
    grid.SetColCount(3);
    grid.SetRowCount(3);
    grid.SetCell(0, 0, u"corner"_s);
    data.copyDataToStringgrid(grid);
    EXPECT_EQ(grid.ColCount(), 13);
    EXPECT_EQ(grid.RowCount(), 9);
    EXPECT_EQ(grid.Cell(1, 1), Dec("1.500"));
    EXPECT_EQ(grid.Cell(12, 8), Dec("7.123"));
    EXPECT_EQ(grid.Cell(0, 0), u"corner"_s); // headings are not touched
}

TEST_F(PlateText, Paste_LineEndings_AllSplitLines)
{
    for (const QString &end : {u"\r\n"_s, u"\n"_s, u"\r"_s}) {
        const QString text = Repeated(Dec("0.2"), 12, 8).replace(u"\r\n"_s, end) + end;
        EXPECT_TRUE(Paste(data, text)) << end.size();
        EXPECT_EQ(data.YExtent(), 9);
        EXPECT_EQ(data.PlateText(11, 7), Dec("0.200"));
    }
}

TEST_F(PlateText, Paste_WrongLineCount_ShowsBadArraySizeAndKeepsExtentsZero)
{
    for (int count : {7, 9}) {
        SCOPED_TRACE(count);
        TestSupport::Presenter().Clear();
        EXPECT_FALSE(Paste(data, Repeated(Dec("0.2"), 12, count)));
        EXPECT_FALSE(data.LastPasteGood());
        EXPECT_EQ(Messages(), QStringList{UiText(118)});
        EXPECT_EQ(data.XExtent(), 0);
        EXPECT_EQ(data.YExtent(), 0);
        EXPECT_EQ(data.PlateText(0, count - 1), Dec("0.200")); // what was read stays
    }
}

TEST_F(PlateText, Paste_Tokens_NormalisedOrKept)
{
    const struct
    {
        QString token;
        QString stored;
    } cases[] = {
        {u"n/s"_s, u"N/S"_s},
        {u"N/s"_s, u"N/S"_s},
        {u"N\\S"_s, u"N/S"_s},
        {u"n\\s"_s, u"N/S"_s},
        {QString(), u"N/S"_s},
        {u"   "_s, u"N/S"_s},
        {u"OVER"_s, u"OVER"_s},
        {u" over "_s, u" over "_s},
        {Dec("0.5"), Dec("0.500")},
        {Dec("0.1234"), Dec("0.123")},
        {Dec("0.1235"), Dec("0.124")},
        {u"-1"_s, Dec("-1.000")},
        {u"VALUE_NOT_SPECIFIED"_s, u"N/S"_s},
        {u"N.C."_s, u"N/S"_s},
        {u"Ausente"_s, u"N/S"_s},
        {u" néant "_s, u"N/S"_s},
        {u"N.C"_s, u"N.C"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.token.toStdString());
        QStringList lines = Repeated(Dec("0.1"), 12, 8).split(u"\r\n"_s);
        lines[3] = c.token + u"\t"_s + lines[3].section(u'\t', 1);
        ASSERT_TRUE(Paste(data, Lines(lines)));
        EXPECT_EQ(data.PlateText(0, 3), c.stored);
    }
}

// A token is exactly a number, blanks around it aside, or it is not numerical: the text
// stored for the grid and the value the block reads from it always agree.
TEST_F(PlateText, Paste_ControlCharacterBesideNumber_NeverMovesTheDecimalPoint)
{
    const struct
    {
        QString token;
        QString stored;
        TValidityType validity;
        double value;
    } cases[] = {
        {Dec("1.089") + QChar(0x1A), Dec("1.089"), ValidValue, 1.089},
        {Dec("0.5") + QChar(0x0C), Dec("0.500"), ValidValue, 0.5},
        {QChar(0x0C) + Dec("0.5"), Dec("0.500"), ValidValue, 0.5},
        {QChar(0x00) + Dec("2.25") + QChar(0x0B), Dec("2.250"), ValidValue, 2.25},
        {Dec("0.") + QChar(0x0C) + u"5"_s, Dec("0.") + QChar(0x0C) + u"5"_s, ValueNotNumerical, 4.0},
        {Dec("1.2") + QChar(0x1A) + u"3"_s, Dec("1.2") + QChar(0x1A) + u"3"_s, ValueNotNumerical, 4.0},
        {QString(QChar(0x1A)), u"N/S"_s, ValueNotSpecified, 0.0},
    };
    OWCellBlockBase &sample = AddSample(data, QPoint(1, 4));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.token.toStdString());
        QStringList lines = Repeated(Dec("0.1"), 12, 8).split(u"\r\n"_s);
        lines[3] = c.token + u"\t"_s + lines[3].section(u'\t', 1);
        ASSERT_TRUE(Paste(data, Lines(lines)));
        EXPECT_EQ(data.PlateText(0, 3), c.stored);
        TTextGrid grid;
        data.copyDataToStringgrid(grid);
        data.SetValues(grid);
        EXPECT_EQ(sample.getValidityValue(0), c.validity);
        EXPECT_DOUBLE_EQ(sample.getValue(0), c.value);
    }
}

// Whatever the current language, a marker of any language is stored as that language's
// marker and read as not specified.
TEST_F(PlateText, Paste_EveryLanguagesMarkerInEveryLanguage_NotSpecified)
{
    OWCellBlockBase &sample = AddSample(data, QPoint(1, 4));
    for (int language = 0; language < 8; ++language) {
        GetTranslationManager().LoadResource(language);
        const QString current = UiText(64);
        for (const QString &marker : NotSpecifiedMarkers()) {
            SCOPED_TRACE(GetTranslationManager().GetResourceId().toStdString() + " " + marker.toStdString());
            QStringList lines = Repeated(Dec("0.1"), 12, 8).split(u"\r\n"_s);
            lines[3] = marker + u"\t"_s + lines[3].section(u'\t', 1);
            ASSERT_TRUE(Paste(data, Lines(lines)));
            EXPECT_EQ(data.PlateText(0, 3), current);
            TTextGrid grid;
            data.copyDataToStringgrid(grid);
            data.SetValues(grid);
            EXPECT_EQ(sample.getValidityValue(0), ValueNotSpecified);
        }
    }
}

TEST_F(PlateText, Paste_TrailingTabOnTwelveValues_GivesExtentFourteenThatCopyRefuses)
{
    QStringList lines = Repeated(Dec("0.1"), 12, 8).split(u"\r\n"_s);
    lines[2] += u'\t';
    ASSERT_TRUE(Paste(data, Lines(lines)));
    EXPECT_EQ(data.XExtent(), 14);
    EXPECT_EQ(data.PlateText(12, 2), u"N/S"_s);
    EXPECT_FALSE(data.ExtentsValid());

    TTextGrid grid;
    try {
        data.copyDataToStringgrid(grid);
        FAIL() << "copy accepted extent 14";
    } catch (const TCustomInvalidExtentsException &e) {
        EXPECT_EQ(e.Message(), u"Invalid Extents"_s);
    }
    EXPECT_EQ(grid.ColCount(), 0);
}

TEST_F(PlateText, Paste_TextBeyondMatrix_FailsWithoutStoringAnything)
{
    const struct
    {
        const char *name;
        QString text;
    } cases[] = {
        {"ten lines", Repeated(Dec("0.1"), 12, 10)},
        {"fourteen tokens", Repeated(Dec("0.1"), 14, 8)},
        {"fourteen tokens on the last of nine lines",
         Repeated(Dec("0.1"), 12, 8) + u"\r\n"_s + Repeated(Dec("0.1"), 14, 1)},
        {"ten thousand lines", Repeated(Dec("0.1"), 12, 10000)},
        {"one line of a million tabs", QString(1000000, u'\t')},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Paste(data, Repeated(Dec("0.3"), 12, 8)));
        EXPECT_THROW(Paste(data, c.text), EPlateTextOverflow);
        EXPECT_FALSE(data.LastPasteGood());
        EXPECT_TRUE(MatrixEmpty());
        EXPECT_EQ(data.XExtent(), 0);
        EXPECT_EQ(data.YExtent(), 0);
    }
}

TEST_F(PlateText, Paste_HugeOrOddTokens_StoredWithoutFailing)
{
    const QString hugeText(1 << 20, u'x');
    const QString hugeNumber = u"1"_s + QString(400, u'0');
    const QString bigInteger = u"99999999999"_s; // too large to round on its digits
    QStringList lines = Repeated(Dec("0.1"), 12, 8).split(u"\r\n"_s);
    lines[0] = hugeText + u"\t"_s + hugeNumber + u"\t"_s + bigInteger + u"\t"_s + u"\u00b6\u0000x"_s;

    ASSERT_TRUE(Paste(data, Lines(lines)));
    EXPECT_EQ(data.PlateText(0, 0), hugeText);
    EXPECT_FALSE(data.PlateText(1, 0).isEmpty());
    EXPECT_EQ(data.PlateText(2, 0).left(11), bigInteger);
    EXPECT_EQ(data.XExtent(), 13);
}

// The rounding to 3 decimals works on 32 bits: 2147483.647 is the largest OD it gives. A
// value that needs rounding beyond it fails the paste (text 126) instead of staying unrounded.
TEST_F(PlateText, Paste_NumberTooLargeToRound_FailsWithText126)
{
    const struct
    {
        const char *token;
        const char *stored; // nullptr: the paste fails
    } cases[] = {
        {"3000000.1234", nullptr},
        {"2147483.6475", nullptr},
        {"-3000000.1234", nullptr},
        {"2147483.6474", "2147483.647"},
        {"3000000.1", "3000000.100"},
        {"3000000", "3000000.000"},
        {"99999999999.5", "99999999999.500"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.token);
        TestSupport::Presenter().Clear();
        QStringList lines = Repeated(Dec("0.1"), 12, 8).split(u"\r\n"_s);
        lines[3] = Dec(c.token) + lines[3].mid(lines[3].indexOf(u'\t'));
        const bool pasted = Paste(data, Lines(lines));
        EXPECT_EQ(pasted, c.stored != nullptr);
        EXPECT_EQ(data.LastPasteGood(), c.stored != nullptr);
        if (c.stored) {
            EXPECT_EQ(data.PlateText(0, 3), Dec(c.stored));
            EXPECT_TRUE(Messages().isEmpty());
        } else {
            EXPECT_EQ(Messages(), QStringList{UiText(126)});
            EXPECT_EQ(data.XExtent(), 0);
        }
    }
}

TEST_F(PlateText, LoadDataObject_NoObjectOrNoText_ShowsMessageAndFails)
{
    EXPECT_FALSE(data.loadDataObject(static_cast<const QMimeData *>(nullptr)));
    EXPECT_FALSE(data.LastPasteGood());
    EXPECT_EQ(Messages(), QStringList{u"dataObj = nil"_s});

    TestSupport::Presenter().Clear();
    QMimeData bitmapOnly;
    bitmapOnly.setData(u"image/png"_s, QByteArray("\x89PNG\r\n", 6));
    EXPECT_FALSE(data.loadDataObject(&bitmapOnly));
    EXPECT_FALSE(data.LastPasteGood());
    EXPECT_EQ(Messages(), QStringList{UiText(126)});
}

TEST_F(PlateText, Paste_EmptyText_ChangesNothingAndSucceeds)
{
    EXPECT_TRUE(Paste(data, QString()));
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(data.XExtent(), 0);
    EXPECT_TRUE(data.LastPasteGood());
}

TEST_F(PlateText, LoadGrid_MarkersAndTabs_NormalisedBeforeParsing)
{
    TStringGridData rows(8, QStringList(12, Dec("0.25")));
    rows[0][0] = u"VALUE_NOT_SPECIFIED"_s;
    rows[0][1] = u"Ausente"_s;
    rows[0][2] = Dec("1.\t5");
    rows[0][3] = u"n/s"_s; // not a marker itself, but the parser takes it as one
    rows[0][4] = u"OVER"_s;

    ASSERT_TRUE(data.loadDataObject(rows));

    EXPECT_EQ(data.PlateText(0, 0), u"N/S"_s);
    EXPECT_EQ(data.PlateText(1, 0), u"N/S"_s);
    EXPECT_EQ(data.PlateText(2, 0), Dec("1.500"));
    EXPECT_EQ(data.PlateText(3, 0), u"N/S"_s);
    EXPECT_EQ(data.PlateText(4, 0), u"OVER"_s);
    EXPECT_EQ(data.PlateText(11, 7), Dec("0.250"));
    EXPECT_EQ(data.XExtent(), 13);
}

TEST_F(PlateText, LoadGrid_TooManyRowsOrCells_FailsSafely)
{
    EXPECT_THROW(data.loadDataObject(TStringGridData(10, QStringList(12, Dec("0.25")))), EPlateTextOverflow);
    EXPECT_THROW(data.loadDataObject(TStringGridData(8, QStringList(14, Dec("0.25")))), EPlateTextOverflow);
    EXPECT_TRUE(MatrixEmpty());
    EXPECT_FALSE(data.LastPasteGood());

    TestSupport::Presenter().Clear();
    EXPECT_FALSE(data.loadDataObject(TStringGridData(3, QStringList(12, Dec("0.25")))));
    EXPECT_EQ(Messages(), QStringList{UiText(118)});
}

TEST_F(PlateText, ClearMData_AfterFailedPaste_EmptiesAndResetsFlag)
{
    Paste(data, Repeated(Dec("0.2"), 12, 7));
    ASSERT_FALSE(data.LastPasteGood());
    data.ClearMData();
    EXPECT_TRUE(data.LastPasteGood());
    EXPECT_TRUE(MatrixEmpty());
}

TEST_F(PlateText, HasNegativeODValues_LooksOnlyAtDataCells)
{
    ASSERT_TRUE(Paste(data, Repeated(Dec("0.2"), 12, 8)));
    EXPECT_FALSE(data.HasNegativeODValues());
    QStringList lines = Repeated(Dec("0.2"), 12, 8).split(u"\r\n"_s);
    lines[7] = lines[7].section(u'\t', 0, 10) + u"\t"_s + Dec("-0.001");
    ASSERT_TRUE(Paste(data, Lines(lines)));
    EXPECT_TRUE(data.HasNegativeODValues());
}

TEST_F(PlateText, PlateText_OutsideMatrix_IsEmpty)
{
    ASSERT_TRUE(Paste(data, Repeated(Dec("0.2"), 12, 8)));
    EXPECT_EQ(data.PlateText(-1, 0), QString());
    EXPECT_EQ(data.PlateText(0, 9), QString());
    EXPECT_EQ(data.PlateText(13, 0), QString());
}
