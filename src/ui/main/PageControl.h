#pragma once

#include <QTabBar>
#include <QTabWidget>

#include <functional>

// The tab bar of the main window: every tab has the width the window sets, the tabs are
// drawn by the bar itself (the active caption bold), and a change asked for by the
// operator (click, keys, wheel) first asks the guard, which may refuse it.
class TPageTabBar : public QTabBar
{
public:
    explicit TPageTabBar(QWidget *parent = nullptr);

    // Width of every tab; the bar lays its tabs out again.
    void SetTabWidth(int width);
    int TabWidth() const { return mTabWidth; }

    // Asked before the operator's change to `index`; false keeps the current tab.
    std::function<bool(int index)> ChangeGuard;
    // Whether a change to `index` may happen (no guard: always).
    bool MayChangeTo(int index) const;

    // Left edge of the caption of tab `index`: centred in the tab by whole pixels.
    static int CaptionLeft(const QRect &tab, int textWidth);
    static constexpr int CaptionTop = 3;

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    int mTabWidth = 100;
};

// The tab control: pages switched by the operator go through the tab bar's guard; pages
// set from code (setCurrentIndex) do not. The pages and the pane around them are plain
// button face, without the style's frame.
class TPageControl : public QTabWidget
{
public:
    explicit TPageControl(QWidget *parent = nullptr);

    TPageTabBar *PageTabBar() const { return mTabBar; }
    // The area the pages lie in, their frame included.
    QRect PaneRect() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void tabInserted(int index) override;

private:
    TPageTabBar *mTabBar;
};
