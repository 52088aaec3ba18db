#include "PrintObj.h"

#include "core/Exceptions.h"
#include "core/FontManager.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QString kBoldOpen = u"<B>"_s;
const QString kBoldClose = u"</B>"_s;

// Pixel layout rounds halves to even.
int RoundEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

// The text with everything from the first "<B>" through the first "</B>" after it removed.
QString WithoutBoldPart(const QString &text)
{
    const qsizetype open = text.indexOf(kBoldOpen);
    if (open < 0)
        return text;
    const qsizetype close = text.indexOf(kBoldClose, open);
    if (close < 0)
        return text.left(open);
    return text.left(open) + text.mid(close + kBoldClose.size());
}

QString BoldPart(const QString &text)
{
    return TextBetween(text, kBoldOpen, kBoldClose);
}

} // namespace

MarnovelCanvas::MarnovelCanvas(QPainter &pCanvas) : mCanvas(&pCanvas)
{
    const QPaintDevice *device = pCanvas.device();
    mPixelsPerInchX = device ? device->logicalDpiX() : 96;
    mPixelsPerInchY = device ? device->logicalDpiY() : 96;
    mPixelsPerMmX = RoundEven(mPixelsPerInchX / 25.4);
    mPixelsPerMmY = RoundEven(mPixelsPerInchY / 25.4);
    // Point sizes follow the device's resolution through the painter, so they come out at
    // their true size on the screen, the printer and the page image alike.
    mFont.setFamilies(ReportFontFamilies());
    // No ligatures: a PDF's text layer would hold "ﬃ" where "ffi" was written, and copying or
    // searching the report would fail. Latin, Greek and Cyrillic need no other shaping.
    mFont.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::PreferNoShaping));
    mFont.setBold(false);
    mCanvas->setFont(mFont);
    mCanvas->setBackgroundMode(Qt::TransparentMode);
    // Black on every surface: a painter on a widget starts with the widget's text colour.
    SetPenColor(Qt::black);
    mPriorAlign = -1;
    if (pCanvas.hasClipping()) {
        mClipped = true;
        mVisible = pCanvas.clipBoundingRect().toAlignedRect();
    }
}

bool MarnovelCanvas::IsVisible(const QRect &area) const
{
    return !mClipped || mVisible.intersects(area);
}

QStringList MarnovelCanvas::ReportFontFamilies()
{
    static const QStringList families = [] {
        const QString preferred = u"Book Antiqua"_s;
        if (QFontDatabase::families().contains(preferred, Qt::CaseInsensitive))
            return QStringList{preferred};
        // Free faces of the same design, installed by the set-up scripts: the first gives the
        // widths and the line height, the second the Greek letters the first lacks.
        return QStringList{u"TeX Gyre Pagella"_s, u"P052"_s};
    }();
    return families;
}

int MarnovelCanvas::PenWidth() const
{
    return std::max(1, RoundEven(mPixelsPerInchX / 96.0));
}

void MarnovelCanvas::SetPenColor(const QColor &color)
{
    QPen pen(color);
    pen.setWidth(PenWidth());
    pen.setCapStyle(Qt::FlatCap);
    mCanvas->setPen(pen);
}

void MarnovelCanvas::SetMarginMmX(int value)
{
    mMarginX = value;
    mMarginPixelX = value * mPixelsPerMmX;
}

void MarnovelCanvas::setFontSize(int pNewFontSize)
{
    mFontSize = pNewFontSize;
    mFont.setPointSize(pNewFontSize);
    mCanvas->setFont(mFont);
    const int charset = GetTranslationManager().DetermineCharset();
    // The full line spacing, leading included, and never less than the 1.2 em book faces are
    // set with: the free substitute face gives ascent and descent alone (1.0 em), on which a
    // bold underline meets the next line's capitals and descenders meet a frame below.
    const QFontMetricsF metrics(mCanvas->font(), mCanvas->device());
    const double height = std::max(metrics.lineSpacing(), 1.2 * mCanvas->fontInfo().pixelSize());
    mTextHeight = RoundEven(height * GetFontManager().DetermineLineHeightFactor(charset));
}

void MarnovelCanvas::setFontStyle(bool bold, bool underline)
{
    mFont.setBold(bold);
    mFont.setUnderline(underline);
    mCanvas->setFont(mFont);
}

bool MarnovelCanvas::Bold() const
{
    return mFont.bold();
}

int MarnovelCanvas::TextWidth(const QString &text) const
{
    return mCanvas->fontMetrics().horizontalAdvance(text);
}

void MarnovelCanvas::DrawAligned(const QString &text, int x, int y)
{
    const QFontMetrics metrics = mCanvas->fontMetrics();
    const int width = metrics.horizontalAdvance(text);
    int left = x;
    if (mPriorAlign == PA_RIGHT)
        left = x - width;
    else if (mPriorAlign == PA_CENTER)
        left = x - width / 2;
    if (IsVisible(QRect(left, y, width + 1, metrics.height())))
        mCanvas->drawText(QPoint(left, y + metrics.ascent()), text);
}

int MarnovelCanvas::doTextOut(const QString &pText, int pPixelX, int pPixelY, int pAlign, bool pRememberRHS)
{
    if (pAlign != mPriorAlign)
        mPriorAlign = pAlign;
    if (pRememberRHS) {
        mPriorPixelX = pPixelX;
        mPriorPixelY = pPixelY;
    }
    const int x = mMarginPixelX + pPixelX;
    if (!pText.contains(kBoldOpen)) {
        DrawAligned(pText, x, pPixelY);
        mPriorPixelX += TextWidth(pText);
    } else if (pText.startsWith(kBoldOpen)) {
        const QString bold = BoldPart(pText);
        setFontStyle(true);
        DrawAligned(bold, x, pPixelY);
        const int boldWidth = TextWidth(bold);
        mPriorPixelX += boldWidth;
        setFontStyle(false);
        DrawAligned(WithoutBoldPart(pText), x + boldWidth, pPixelY);
    } else if (pText.endsWith(kBoldClose)) {
        const QString plain = WithoutBoldPart(pText);
        setFontStyle(false);
        DrawAligned(plain, x, pPixelY);
        mPriorPixelX += TextWidth(plain);
        const QString bold = BoldPart(pText);
        if (!bold.isEmpty()) {
            mPriorAlign = PA_LEFT;
            textOutAtPrior(bold, true);
        }
        setFontStyle(false);
    } else {
        DrawAligned(QString(pText).remove(kBoldOpen).remove(kBoldClose), x, pPixelY);
    }
    return mPriorPixelX;
}

void MarnovelCanvas::textOutAtPrior(const QString &pText, bool bold)
{
    const QFont previous = mFont;
    if (bold)
        setFontStyle(true, mFont.underline());
    DrawAligned(pText, mMarginPixelX + mPriorPixelX, mPriorPixelY);
    mPriorPixelX += TextWidth(pText);
    mFont = previous;
    mCanvas->setFont(mFont);
}

int MarnovelCanvas::wrapLine(const QString &pText, int pLeftMarginPixelX, int pRightMarginPixelX, int pPixelY,
                             bool pDoHangig)
{
    if (pText.isEmpty())
        return 0;
    if (pLeftMarginPixelX > pRightMarginPixelX)
        throw MarnovelException(
            BuildExceptionMessage(u"MarnovelCanvas.wrapLine"_s,
                                  u"pLeftMarginPixelX="_s + QString::number(pLeftMarginPixelX) +
                                      u"\r\npRightMarginPixelX="_s + QString::number(pRightMarginPixelX),
                                  u"pRightMarginPixelX must be greater than pLeftMarginPixelX"_s));

    const QFont saved = mFont;
    int left = pLeftMarginPixelX;
    int y = pPixelY;
    bool first = true;
    for (const QString &paragraph : pText.split(u"\r\n"_s)) {
        y = wrapParagraph(paragraph, left, pRightMarginPixelX, y, first && pDoHangig);
        first = false;
        mFont = saved;
        mCanvas->setFont(mFont);
    }
    return y;
}

int MarnovelCanvas::wrapParagraph(const QString &paragraph, int &left, int right, int y, bool hang)
{
    const auto drawLineAt = [&](const QString &text) {
        doTextOut(text, left, y, PA_LEFT, false);
        y += mTextHeight;
    };

    QString rest = paragraph;
    if (hang) {
        const qsizetype blank = rest.indexOf(u' ');
        const QString word = blank < 0 ? rest : rest.left(blank + 1);
        const QString stripped = StripMarkup(word);
        if (TextWidth(stripped) > 0) {
            doTextOut(word, left, y, PA_LEFT, false);
            const int hangWidth = TextWidth(stripped + u"  "_s);
            if (word == rest)
                y += mTextHeight;
            left += hangWidth;
            rest = rest.mid(word.size());
        }
    }

    // Whole words per line while at least two blanks are left.
    qsizetype start = 0;
    const int room = right - left;
    while (rest.mid(start).count(u' ') >= 2) {
        qsizetype lastBreak = -1;
        bool broke = false;
        for (qsizetype blank = rest.indexOf(u' ', start); blank >= 0; blank = rest.indexOf(u' ', blank + 1)) {
            if (TextWidth(StripMarkup(rest.mid(start, blank - start + 1))) > room) {
                if (lastBreak >= 0) {
                    drawLineAt(rest.mid(start, lastBreak - start + 1));
                    start = lastBreak + 1;
                    broke = true;
                }
                break;
            }
            lastBreak = blank;
        }
        if (!broke)
            break;
    }

    // The rest as lines that fit: cut after the last blank that fits, inside a word only when
    // the word alone is too wide. A line holds at least one character, so a room narrower
    // than a character still ends.
    QString remainder = rest.mid(start);
    while (!remainder.isEmpty()) {
        qsizetype length = remainder.size();
        while (length > 1 && left + TextWidth(remainder.left(length)) > right)
            --length;
        if (length < remainder.size()) {
            const qsizetype blank = remainder.lastIndexOf(u' ', length - 1);
            if (blank > 0)
                length = blank + 1;
            else if (remainder.at(length) == u' ')
                ++length; // a blank at the end of a line is not seen
        }
        drawLineAt(remainder.left(length));
        remainder.remove(0, length);
    }
    return y;
}

void MarnovelCanvas::drawLine(int pStartPixelX, int pStartPixelY, int pEndPixelX, int pEndPixelY)
{
    const QPoint from(mMarginPixelX + pStartPixelX, pStartPixelY);
    const QPoint to(mMarginPixelX + pEndPixelX, pEndPixelY);
    if (IsVisible(QRect(from, to).normalized().adjusted(-1, -1, 1, 1)))
        mCanvas->drawLine(from, to);
}

void MarnovelCanvas::drawRectangleOutline(int pLeft, int pTop, int pRight, int pBottom)
{
    drawLine(pLeft, pTop, pRight, pTop);
    drawLine(pRight, pTop, pRight, pBottom);
    drawLine(pRight, pBottom, pLeft, pBottom);
    drawLine(pLeft, pBottom, pLeft, pTop);
}
