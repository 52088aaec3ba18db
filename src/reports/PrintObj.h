#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>

class QPainter;
class QPaintDevice;

// The text alignments of the report code: X is the left edge, the right edge or the centre
// of the text, Y its top.
enum TPrintAlign : int
{
    PA_LEFT = 0,
    PA_RIGHT = 2,
    PA_CENTER = 6,
};

// One drawing surface of a report (preview, printer page, PDF page image) in whole
// millimetres of the device: X from the left margin, Y from the top of the surface. Text
// understands one bold pair "<B>" ... "</B>".
class MarnovelCanvas
{
public:
    // Draws through the painter, which stays the caller's and must be active.
    explicit MarnovelCanvas(QPainter &pCanvas);
    MarnovelCanvas(const MarnovelCanvas &) = delete;
    MarnovelCanvas &operator=(const MarnovelCanvas &) = delete;

    QPainter &canvas() const { return *mCanvas; }
    int PixelsPerInchX() const { return mPixelsPerInchX; }
    int PixelsPerInchY() const { return mPixelsPerInchY; }
    int PixelsPerMmX() const { return mPixelsPerMmX; }
    int PixelsPerMmY() const { return mPixelsPerMmY; }
    int LineHeight() const { return mTextHeight; }
    int MarginMmX() const { return mMarginX; }
    void SetMarginMmX(int value);
    int MarginPixelX() const { return mMarginPixelX; }

    int convertMmToPixelValueX(int pMmX) const { return pMmX * mPixelsPerMmX; }
    int convertMmToPixelValueY(int pMmY) const { return pMmY * mPixelsPerMmY; }
    int getPosFromMmInclMarginPixelX(int pPixelXPos) const { return pPixelXPos + mMarginPixelX; }

    // Point size; the line height follows (text 79 times the character set's factor).
    void setFontSize(int pNewFontSize);
    int FontSize() const { return mFontSize; }
    void setFontStyle(bool bold, bool underline = false);
    bool Bold() const;
    // The width of a text in the current font, without any tag handling.
    int TextWidth(const QString &text) const;

    // Returns the remembered X.
    int doTextOut(const QString &pText, int pPixelX, int pPixelY, int pAlign, bool pRememberRHS);
    // Draws at the remembered position and moves it on; bold for this text only when asked.
    void textOutAtPrior(const QString &pText, bool bold);
    // Draws between the limits (both from the margin) line by line; returns the Y below the
    // last line. MarnovelException when the left limit lies right of the right one.
    int wrapLine(const QString &pText, int pLeftMarginPixelX, int pRightMarginPixelX, int pPixelY,
                 bool pDoHangig);

    // Lines are one pixel of a 96 per inch screen wide, so they stay visible on a printer page.
    int PenWidth() const;
    // Lines, outlines and text in this colour; the canvas starts with black.
    void SetPenColor(const QColor &color);
    void drawLine(int pStartPixelX, int pStartPixelY, int pEndPixelX, int pEndPixelY);
    // X from the margin: top edge left to right, right edge down, bottom edge back, left edge up.
    void drawRectangleOutline(int pLeft, int pTop, int pRight, int pBottom);

    // False for an area (absolute device coordinates) that lies wholly outside the painter's
    // clip as it was when the canvas was made: a page cut from a taller image skips what it
    // does not show.
    bool IsVisible(const QRect &area) const;

    int PriorPixelX() const { return mPriorPixelX; }
    int PriorPixelY() const { return mPriorPixelY; }
    int PriorAlign() const { return mPriorAlign; }

    // The report font: "Book Antiqua" where installed, else the free look-alikes the set-up
    // installs, in the order they are asked for a letter.
    static QStringList ReportFontFamilies();

private:
    void DrawAligned(const QString &text, int x, int y);
    int wrapParagraph(const QString &paragraph, int &left, int right, int y, bool hang);

    QPainter *mCanvas;
    QFont mFont;
    bool mClipped = false;
    QRect mVisible;
    int mFontSize = 0;
    int mPixelsPerInchX = 0;
    int mPixelsPerInchY = 0;
    int mPixelsPerMmX = 0;
    int mPixelsPerMmY = 0;
    int mTextHeight = 0;
    int mMarginX = 0;
    int mMarginPixelX = 0;
    int mPriorPixelX = 0;
    int mPriorPixelY = 0;
    int mPriorAlign = -1;
};
