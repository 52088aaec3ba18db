#pragma once

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

// One QApplication for a window test process, created before the first test and destroyed
// after the last, while Qt's own globals still exist. Include from one file per test program.
namespace TestSupport {

class GuiApplicationEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "velomyra-window-test";
        static char *argv[] = {name, nullptr};
        mApp = std::make_unique<QApplication>(argc, argv);
        // As the program names itself (no display name, which captions would carry).
        QApplication::setApplicationName(QStringLiteral("Velomyra"));
    }
    void TearDown() override { mApp.reset(); }

private:
    std::unique_ptr<QApplication> mApp;
};

inline ::testing::Environment *const gGuiApplicationEnvironment =
    ::testing::AddGlobalTestEnvironment(new GuiApplicationEnvironment);

} // namespace TestSupport
