#include "RecordingDevice.h"
#include "core/Exceptions.h"
#include "core/Tool.h"
#include "reports/PrintObj.h"
#include "support/GuiApplication.h"

#include <QFontMetrics>
#include <QPainter>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using ReportTest::TDrawnText;
using ReportTest::TRecordingDevice;

namespace {

// A canvas on a recording device with a 20 mm margin and a 10 point font.
class CanvasTest : public ::testing::Test
{
protected:
    explicit CanvasTest(int dpi = 96) : device(dpi), painter(&device), canvas(painter)
    {
        canvas.SetMarginMmX(20);
        canvas.setFontSize(10);
    }

    // Width of a text in the canvas font, bold or plain.
    int Width(const QString &text, bool bold = false)
    {
        const bool wasBold = canvas.Bold();
        canvas.setFontStyle(bold);
        const int width = canvas.TextWidth(text);
        canvas.setFontStyle(wasBold);
        return width;
    }
    // Left edge of a recorded text.
    static int Left(const TDrawnText &text) { return qRound(text.Baseline.x()); }

    TRecordingDevice device;
    QPainter painter;
    MarnovelCanvas canvas;
};

} // namespace

TEST(MarnovelCanvas, Create_DeviceResolution_GivesWholePixelsPerMillimetre)
{
    struct Case
    {
        int dpi;
        int pixelsPerMm;
        int marginPixels; // of 20 mm
    };
    for (const Case c : {Case{600, 24, 480}, Case{96, 4, 80}, Case{300, 12, 240}, Case{72, 3, 60}}) {
        TRecordingDevice device(c.dpi);
        QPainter painter(&device);
        MarnovelCanvas canvas(painter);
        canvas.SetMarginMmX(20);
        EXPECT_EQ(canvas.PixelsPerMmX(), c.pixelsPerMm) << c.dpi;
        EXPECT_EQ(canvas.PixelsPerMmY(), c.pixelsPerMm) << c.dpi;
        EXPECT_EQ(canvas.MarginPixelX(), c.marginPixels) << c.dpi;
        EXPECT_EQ(canvas.convertMmToPixelValueX(170), 170 * c.pixelsPerMm);
        EXPECT_EQ(canvas.getPosFromMmInclMarginPixelX(7), c.marginPixels + 7);
        EXPECT_EQ(canvas.PriorAlign(), -1);
    }
}

TEST(MarnovelCanvas, SetFontSize_PointSizeComesOutAtTrueSizeOnEveryDevice)
{
    // The same point size covers the same part of an inch at 96 and at 600 pixels per inch.
    const auto lineInInches = [](int dpi) {
        TRecordingDevice device(dpi);
        QPainter painter(&device);
        MarnovelCanvas canvas(painter);
        canvas.setFontSize(10);
        return canvas.LineHeight() / double(dpi);
    };
    EXPECT_NEAR(lineInInches(600), lineInInches(96), 0.01);
    // A line is about the point size.
    EXPECT_GT(lineInInches(600), 0.8 * 10.0 / 72.0);
    EXPECT_LT(lineInInches(600), 1.5 * 10.0 / 72.0);
}

TEST_F(CanvasTest, DoTextOut_BoldSignFirst_SignBoldThenPlainRestRightAfterIt)
{
    const int prior =
        canvas.doTextOut(u"<B>#</B> An OD of 4.000 has been assigned."_s, 10, 100, PA_LEFT, true);

    ASSERT_EQ(device.Texts().size(), 2u);
    const TDrawnText &sign = device.Texts()[0];
    const TDrawnText &rest = device.Texts()[1];
    EXPECT_EQ(sign.Text, u"#"_s);
    EXPECT_TRUE(sign.Bold);
    EXPECT_EQ(Left(sign), 80 + 10);
    EXPECT_EQ(rest.Text, u" An OD of 4.000 has been assigned."_s);
    EXPECT_FALSE(rest.Bold);
    EXPECT_EQ(Left(rest), 80 + 10 + Width(u"#"_s, true));
    // The remembered position moves by the bold part only.
    EXPECT_EQ(prior, 10 + Width(u"#"_s, true));
    EXPECT_FALSE(canvas.Bold());
}

TEST_F(CanvasTest, DoTextOut_BoldLastWord_PlainWordsThenBoldWordAndLeftAlignmentInForce)
{
    canvas.doTextOut(u"Result 0.25<B>¶</B>"_s, 30, 50, PA_RIGHT, true);

    ASSERT_EQ(device.Texts().size(), 2u);
    EXPECT_EQ(device.Texts()[0].Text, u"Result 0.25"_s);
    EXPECT_FALSE(device.Texts()[0].Bold);
    EXPECT_EQ(device.Texts()[1].Text, u"¶"_s);
    EXPECT_TRUE(device.Texts()[1].Bold);
    EXPECT_EQ(Left(device.Texts()[1]), 80 + 30 + Width(u"Result 0.25"_s));
    EXPECT_EQ(canvas.PriorAlign(), PA_LEFT);
    EXPECT_FALSE(canvas.Bold());

    // A right-aligned text afterwards is right-aligned again.
    canvas.doTextOut(u"ID 5"_s, 400, 70, PA_RIGHT, false);
    EXPECT_EQ(Left(device.Texts().back()), 80 + 400 - Width(u"ID 5"_s));
    EXPECT_EQ(canvas.PriorAlign(), PA_RIGHT);
}

TEST_F(CanvasTest, DoTextOut_BoldWordInside_DrawnWithoutTagsInStyleInForce)
{
    const int before = canvas.doTextOut(u"x"_s, 0, 0, PA_LEFT, true);
    const int after = canvas.doTextOut(u"plain <B>bold</B> plain"_s, 5, 20, PA_LEFT, false);

    const TDrawnText &drawn = device.Texts().back();
    EXPECT_EQ(drawn.Text, u"plain bold plain"_s);
    EXPECT_FALSE(drawn.Bold);
    EXPECT_EQ(after, before);
}

TEST_F(CanvasTest, DoTextOut_Centred_XIsTheTextCentre)
{
    canvas.doTextOut(u"1 of 2"_s, 320, 0, PA_CENTER, false);
    EXPECT_EQ(Left(device.Texts().back()), 80 + 320 - Width(u"1 of 2"_s) / 2);
}

TEST_F(CanvasTest, TextOutAtPrior_DrawsAtRememberedPositionAndRestoresStyle)
{
    canvas.doTextOut(u"Run"_s, 40, 60, PA_LEFT, true);
    canvas.textOutAtPrior(u"Date"_s, true);

    const TDrawnText &date = device.Texts().back();
    EXPECT_TRUE(date.Bold);
    EXPECT_EQ(Left(date), 80 + 40 + Width(u"Run"_s));
    EXPECT_EQ(canvas.PriorPixelX(), 40 + Width(u"Run"_s) + Width(u"Date"_s, true));
    EXPECT_FALSE(canvas.Bold());
}

TEST_F(CanvasTest, WrapLine_HangingIndent_RestStartsPastTheFirstWordAndThreeBlanks)
{
    canvas.setFontStyle(true);
    const int line = canvas.LineHeight();
    const int indent = Width(u"WARNING:   "_s, true);
    // Room for "WARNING:" and about two more words per line.
    const int right = indent + Width(u"Criteria not"_s, true) + 2;
    const int bottom = canvas.wrapLine(u"WARNING: QC Criteria not met"_s, 0, right, 200, true);

    const auto &texts = device.Texts();
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts[0].Text, u"WARNING: "_s);
    EXPECT_EQ(Left(texts[0]), 80);
    for (std::size_t i = 1; i < texts.size(); ++i) {
        EXPECT_EQ(Left(texts[i]), 80 + indent) << texts[i].Text.toStdString();
        EXPECT_TRUE(texts[i].Bold);
    }
    EXPECT_EQ(texts[1].Baseline.y(), texts[0].Baseline.y());
    // The words come back in order, each line one line lower.
    QString joined;
    for (std::size_t i = 1; i < texts.size(); ++i) {
        joined += texts[i].Text;
        if (i > 1) {
            EXPECT_EQ(texts[i].Baseline.y() - texts[i - 1].Baseline.y(), line);
        }
    }
    EXPECT_EQ(joined, u"QC Criteria not met"_s);
    EXPECT_EQ(bottom, 200 + int(texts.size() - 1) * line);
    EXPECT_TRUE(canvas.Bold());
}

TEST_F(CanvasTest, WrapLine_Paragraphs_EachStartsOnItsOwnLine)
{
    const int line = canvas.LineHeight();
    const int bottom = canvas.wrapLine(u"One.\r\nTwo."_s, 0, 600, 10, false);

    ASSERT_EQ(device.Texts().size(), 2u);
    EXPECT_EQ(device.Texts()[0].Text, u"One."_s);
    EXPECT_EQ(device.Texts()[1].Text, u"Two."_s);
    EXPECT_EQ(Left(device.Texts()[1]), Left(device.Texts()[0]));
    EXPECT_EQ(device.Texts()[1].Baseline.y() - device.Texts()[0].Baseline.y(), line);
    EXPECT_EQ(bottom, 10 + 2 * line);
}

TEST_F(CanvasTest, WrapLine_HangingIndentOfFirstParagraph_KeptForTheNext)
{
    const int indent = Width(u"NOTE:   "_s);
    canvas.wrapLine(u"NOTE: first\r\nsecond"_s, 0, 600, 0, true);

    ASSERT_EQ(device.Texts().size(), 3u);
    EXPECT_EQ(Left(device.Texts()[2]), 80 + indent);
    EXPECT_EQ(device.Texts()[2].Text, u"second"_s);
}

TEST_F(CanvasTest, WrapLine_LastWords_BrokenAtABlankAndALongWordAtCharacters)
{
    struct Case
    {
        QString text;
        QString room; // the widest line that fits
        QStringList lines;
    };
    const Case cases[] = {
        // The last two words of a paragraph do not share a line: never "4.0" / "00.".
        {u"An OD of 4.000."_s, u"An OD of 4."_s, {u"An OD of "_s, u"4.000."_s}},
        {u"abcdefgh ij"_s, u"abcd"_s, {u"abcd"_s, u"efgh "_s, u"ij"_s}},
    };
    for (const Case &c : cases) {
        TRecordingDevice device(96);
        QPainter painter(&device);
        MarnovelCanvas wrapping(painter);
        wrapping.setFontSize(10);
        wrapping.wrapLine(c.text, 0, wrapping.TextWidth(c.room), 0, false);
        QStringList lines;
        for (const TDrawnText &text : device.Texts())
            lines << text.Text;
        EXPECT_EQ(lines, c.lines) << c.text.toStdString();
    }
}

TEST_F(CanvasTest, WrapLine_NoRoomForOneCharacter_StillEnds)
{
    canvas.wrapLine(u"abc"_s, 5, 5, 0, false);
    EXPECT_EQ(device.Texts().size(), 3u);
}

TEST_F(CanvasTest, WrapLine_Limits_LeftRightOfRightRaises)
{
    EXPECT_NO_THROW(canvas.wrapLine(u"text"_s, 100, 100, 0, false));
    try {
        canvas.wrapLine(u"text"_s, 101, 100, 0, false);
        FAIL() << "no exception";
    } catch (const MarnovelException &error) {
        EXPECT_EQ(error.Message(),
                  BuildExceptionMessage(u"MarnovelCanvas.wrapLine"_s,
                                        u"pLeftMarginPixelX=101\r\npRightMarginPixelX=100"_s,
                                        u"pRightMarginPixelX must be greater than pLeftMarginPixelX"_s));
    }
}

TEST_F(CanvasTest, DrawRectangleOutline_FourEdgesFromTheMargin)
{
    canvas.drawRectangleOutline(10, 20, 110, 70);

    ASSERT_EQ(device.Lines().size(), 4u);
    EXPECT_EQ(device.Lines()[0].Line, QLineF(90, 20, 190, 20));
    EXPECT_EQ(device.Lines()[1].Line, QLineF(190, 20, 190, 70));
    EXPECT_EQ(device.Lines()[2].Line, QLineF(190, 70, 90, 70));
    EXPECT_EQ(device.Lines()[3].Line, QLineF(90, 70, 90, 20));
}

TEST(MarnovelCanvas, Create_PainterInAnyColour_TextAndLinesDrawnBlack)
{
    // A painter on a widget starts with the widget's text colour, which may be anything.
    QImage surface(200, 60, QImage::Format_RGB32);
    surface.fill(Qt::white);
    QPainter painter(&surface);
    painter.setPen(Qt::red);
    MarnovelCanvas canvas(painter);
    canvas.setFontSize(12);
    canvas.doTextOut(u"WWW"_s, 0, 0, PA_LEFT, false);
    canvas.drawLine(0, 50, 150, 50);
    painter.end();

    int black = 0;
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            const QColor pixel = surface.pixelColor(x, y);
            EXPECT_EQ(pixel.red(), pixel.blue()) << "coloured at " << x << "," << y;
            black += pixel == Qt::black;
        }
    }
    EXPECT_GT(black, 150) << "the line and the text";
}

namespace {

// The rows of an image that hold ink (anything not white), first and last; {-1, -1} for none.
std::pair<int, int> InkRows(const QImage &image)
{
    int first = -1;
    int last = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                if (first < 0)
                    first = y;
                last = y;
                break;
            }
        }
    }
    return {first, last};
}

} // namespace

TEST(MarnovelCanvas, LineHeight_UnderlinesAndDescendersClearTheNextLine)
{
    // A bold underlined OD and a line of descenders, each on its own surface, against the
    // digits and capitals one line below: a blank pixel row always stays between them.
    for (const int size : {7, 8, 9, 10, 12, 14}) {
        const auto draw = [size](const QString &text, bool underline, int line) {
            QImage surface(400, 120, QImage::Format_RGB32);
            surface.fill(Qt::white);
            QPainter painter(&surface);
            MarnovelCanvas canvas(painter);
            canvas.setFontSize(size);
            canvas.setFontStyle(true, underline);
            canvas.doTextOut(text, 0, 10 + line * canvas.LineHeight(), PA_LEFT, false);
            painter.end();
            return InkRows(surface);
        };
        const int upperBottom =
            std::max(draw(u"0.123 4.000"_s, true, 0).second, draw(u"gjpqy"_s, false, 0).second);
        const int lowerTop = draw(u"0.123 4.000 ABC"_s, true, 1).first;
        EXPECT_LT(upperBottom + 1, lowerTop) << size << " pt";
    }
}
