// The tab sheets of the main window: plain button face up to the tab control's edges.

#include "MainWindowTestSupport.h"

#include "support/GuiApplication.h"

#include <QImage>

using namespace Qt::StringLiterals;

namespace {

TEST_F(MainWindowTest, TabSheets_ButtonFaceWithoutTheStylesFrame)
{
    TPageControl *pages = Child<TPageControl>(u"PageControl1"_s);
    const QColor face = pages->palette().color(QPalette::Button);
    for (int page = 0; page < pages->count(); ++page) {
        QWidget *sheet = pages->widget(page);
        EXPECT_TRUE(sheet->autoFillBackground()) << page;
        EXPECT_EQ(sheet->palette().color(QPalette::Window), face) << page;
    }
    // Where the style draws the frame around the pages, the face colour is drawn instead.
    const QImage picture = pages->grab().toImage();
    const qreal scale = picture.devicePixelRatio();
    const QRect pane = pages->PaneRect();
    QWidget *current = pages->currentWidget();
    const QRect sheet(current->mapTo(pages, QPoint(0, 0)), current->size());
    ASSERT_TRUE(pane.contains(sheet));
    for (const QPoint &edge :
         {QPoint(pane.left(), pane.center().y()), QPoint(pane.right(), pane.center().y()),
          QPoint(pane.center().x(), pane.bottom())}) {
        const QPoint pixel = (QPointF(edge) * scale).toPoint();
        EXPECT_EQ(picture.pixelColor(pixel), face) << edge.x() << ',' << edge.y();
    }
}

} // namespace
