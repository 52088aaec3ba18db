#pragma once

#include <QWidget>

class TBaseSelectBlockPanel;

// One block panel as a window shows it: the panel's colour and caption, raised while the
// panel is not selected and pressed while it is. The panel is a shared model object that
// the widget only refers to: destroying the widget never touches it.
class TBlockPanelWidget : public QWidget
{
    Q_OBJECT

public:
    TBlockPanelWidget(TBaseSelectBlockPanel *panel, QWidget *parent);

    TBaseSelectBlockPanel *Panel() const { return mPanel; }
    static constexpr int BevelWidth = 2;

Q_SIGNALS:
    // A click reached the panel (its handler, then its toggle).
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    TBaseSelectBlockPanel *mPanel;
};
