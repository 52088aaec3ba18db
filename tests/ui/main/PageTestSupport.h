#pragma once

#include "files/RunSession.h"
#include "support/GuiApplication.h"
#include "support/TestSupport.h"
#include "ui/main/RunSessionNotifier.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <string>

// One page alone against a run session and its notifier, as the window builds it, with the
// recording presenter emptied. Controls are found by their names; Widget is what a name
// finds when the test names no type.
template <typename TPage, typename TDefaultWidget = QWidget> class PageTest : public ::testing::Test
{
protected:
    void SetUp() override { TestSupport::Presenter().Clear(); }

    template <typename Widget = TDefaultWidget>
    Widget *Child(const QString &name, const QObject *in = nullptr) const
    {
        auto *widget = (in ? in : &page)->template findChild<Widget *>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }

    static QString ExampleRun() { return QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/run-8point.vdf"); }
    // The example run loaded and calculated through the notifier, as the window's commands do.
    void LoadAndCalculate()
    {
        ASSERT_TRUE(notifier.LoadRun(ExampleRun()).Ok());
        ASSERT_TRUE(notifier.Calculate().Ok());
    }

    static std::string Messages() { return TestSupport::Presenter().Texts().join(u'|').toStdString(); }

    TRunSession session;
    TRunSessionNotifier notifier{session};
    TPage page{session, notifier};
};
