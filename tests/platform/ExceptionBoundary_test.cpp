#include "platform/ExceptionBoundary.h"

#include "core/Exceptions.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>

using namespace Qt::StringLiterals;
using TestSupport::Presenter;

namespace {

class ExceptionBoundaryTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "ExceptionBoundary_test";
        static char *argv[] = {name, nullptr};
        sApp = std::make_unique<QApplication>(argc, argv);
    }
    static void TearDownTestSuite() { sApp.reset(); }

    static inline std::unique_ptr<QApplication> sApp;
};

TEST_F(ExceptionBoundaryTest, RunGuarded_EveryKindOfException_ShowsItsTextOnceInTheProgramsErrorBox)
{
    const struct
    {
        const char *name;
        std::function<void()> raise;
        QString expected;
    } cases[] = {
        {"model", [] { throw MarnovelException(u"Exception occured in: X\r\nReason: y"_s); },
         u"Exception occured in: X\r\nReason: y"_s},
        // Its text lives in fMessage; the base message is empty.
        {"fMessage", [] { throw TMBCharException(u"Only one standard per cell."_s); },
         u"Only one standard per cell."_s},
        {"subclass", [] { throw EConvertError(u"'x' is not a valid floating point value"_s); },
         u"'x' is not a valid floating point value"_s},
        {"standard", [] { throw std::runtime_error("disk full"); }, u"disk full"_s},
        {"other", [] { throw 42; }, u"Unknown exception."_s},
    };
    for (const auto &c : cases) {
        Presenter().Clear();
        EXPECT_FALSE(RunGuarded(c.raise)) << c.name;
        ASSERT_EQ(Presenter().messages.size(), 1u) << c.name;
        EXPECT_EQ(Presenter().messages[0].text, c.expected) << c.name;
        EXPECT_EQ(Presenter().messages[0].kind, TMsgDlgType::mtError) << c.name;
        EXPECT_EQ(Presenter().messages[0].buttons, TMsgDlgButtons(TMsgDlgBtn::mbOK)) << c.name;
        // The program's own error box, captioned with its name (text 131).
        EXPECT_EQ(Presenter().messages[0].caption, u"Velomyra"_s) << c.name;
    }
}

TEST_F(ExceptionBoundaryTest, RunGuarded_HandlerWithoutException_ShowsNothing)
{
    bool ran = false;
    EXPECT_TRUE(RunGuarded([&] { ran = true; }));
    EXPECT_TRUE(ran);
    EXPECT_TRUE(Presenter().messages.empty());
}

// A handler that fails while the error box is open (its event loop runs other handlers)
// must not open a second box on top of it.
class ReenteringPresenter : public TestSupport::RecordingPresenter
{
public:
    TModalResult ShowMessage(const QString &text, TMsgDlgType kind, TMsgDlgButtons buttons,
                             const QString &caption) override
    {
        RunGuarded([] { throw MarnovelException(u"second"_s); });
        return RecordingPresenter::ShowMessage(text, kind, buttons, caption);
    }
};

TEST_F(ExceptionBoundaryTest, RunGuarded_FailureWhileBoxIsOpen_ShowsOnlyTheFirst)
{
    ReenteringPresenter presenter;
    SetPresenter(&presenter);
    RunGuarded([] { throw MarnovelException(u"first"_s); });
    SetPresenter(&Presenter());
    EXPECT_EQ(presenter.Texts(), QStringList{u"first"_s});
    // The box is closed again: the next failure is shown.
    RunGuarded([] { throw MarnovelException(u"third"_s); });
    EXPECT_EQ(Presenter().Texts(), QStringList{u"third"_s});
}

class Handlers : public QObject
{
public:
    void Fail() { throw MarnovelException(u"handler failed"_s); }
    void Take(int value) { taken = value; }
    int taken = 0;
};

TEST_F(ExceptionBoundaryTest, Guarded_ClickedButtonThatRaises_ShowsOneMessageAndStaysUsable)
{
    QPushButton button;
    QSpinBox spin;
    Handlers handlers;
    QObject::connect(&button, &QPushButton::clicked, &handlers, Guarded(&handlers, &Handlers::Fail));
    QObject::connect(&spin, &QSpinBox::valueChanged, &handlers, Guarded(&handlers, &Handlers::Take));

    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(Presenter().Texts(), QStringList{u"handler failed"_s});
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(Presenter().messages.size(), 2u);

    spin.setValue(7); // signal arguments reach the method
    EXPECT_EQ(handlers.taken, 7);
}

} // namespace
