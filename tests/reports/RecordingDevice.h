#pragma once

#include <QImage>
#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPointF>
#include <QString>

#include <vector>

// A paint device of any resolution that draws nothing and records what reaches it: each text
// with its baseline position, boldness and point size, each line, each image.
namespace ReportTest {

struct TDrawnText
{
    QString Text;
    QPointF Baseline;
    bool Bold = false;
    bool Underline = false;
    double PointSize = 0.0;
    double Width = 0.0; // advance in device pixels
};

struct TDrawnLine
{
    QLineF Line;
    QColor Color;
};

class TRecordingEngine : public QPaintEngine
{
public:
    TRecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &state) override
    {
        if (state.state() & QPaintEngine::DirtyPen)
            mPen = state.pen();
    }
    void drawPixmap(const QRectF &r, const QPixmap &, const QRectF &) override { Images.push_back(r); }
    void drawImage(const QRectF &r, const QImage &, const QRectF &, Qt::ImageConversionFlags) override
    {
        Images.push_back(r);
    }
    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        Texts.push_back({item.text(), p, item.font().bold(), item.font().underline(),
                         item.font().pointSizeF(), item.width()});
    }
    void drawLines(const QLineF *lines, int count) override
    {
        for (int i = 0; i < count; ++i)
            Lines.push_back({lines[i], mPen.color()});
    }
    void drawLines(const QLine *lines, int count) override
    {
        for (int i = 0; i < count; ++i)
            Lines.push_back({QLineF(lines[i]), mPen.color()});
    }
    void drawPath(const QPainterPath &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    Type type() const override { return QPaintEngine::User; }

    std::vector<TDrawnText> Texts;
    std::vector<TDrawnLine> Lines;
    std::vector<QRectF> Images;

private:
    QPen mPen;
};

class TRecordingDevice : public QPaintDevice
{
public:
    explicit TRecordingDevice(int dpi, int width = 2000, int height = 20000)
        : mDpi(dpi), mWidth(width), mHeight(height)
    {
    }
    ~TRecordingDevice() override = default;

    QPaintEngine *paintEngine() const override { return &mEngine; }
    TRecordingEngine &Engine() { return mEngine; }
    const std::vector<TDrawnText> &Texts() const { return mEngine.Texts; }
    const std::vector<TDrawnLine> &Lines() const { return mEngine.Lines; }

    // The texts that equal `text`.
    std::vector<TDrawnText> Find(const QString &text) const
    {
        std::vector<TDrawnText> found;
        for (const TDrawnText &drawn : mEngine.Texts)
            if (drawn.Text == text)
                found.push_back(drawn);
        return found;
    }
    std::vector<TDrawnText> FindStarting(const QString &text) const
    {
        std::vector<TDrawnText> found;
        for (const TDrawnText &drawn : mEngine.Texts)
            if (drawn.Text.startsWith(text))
                found.push_back(drawn);
        return found;
    }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return mWidth;
        case PdmHeight:
            return mHeight;
        case PdmWidthMM:
            return static_cast<int>(mWidth * 25.4 / mDpi);
        case PdmHeightMM:
            return static_cast<int>(mHeight * 25.4 / mDpi);
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return mDpi;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return 1 << 24;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    int mDpi;
    int mWidth;
    int mHeight;
    mutable TRecordingEngine mEngine;
};

} // namespace ReportTest
