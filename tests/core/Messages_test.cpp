#include "core/Messages.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using namespace Qt::StringLiterals;

namespace {

class ThrowingPresenter : public IPresenter
{
public:
    TModalResult ShowMessage(const QString &, TMsgDlgType, TMsgDlgButtons, const QString &) override
    {
        throw std::runtime_error("no display");
    }
    bool AskFileName(TFileDialogKind, const QString &, const QString &, const QString &, QString &) override
    {
        throw std::runtime_error("no display");
    }
};

TEST(MessagesTest, ConsolePresenter_ButtonSets_AnswersFirstInFixedOrder)
{
    struct Case
    {
        TMsgDlgButtons buttons;
        TModalResult expected;
    };
    const Case cases[] = {
        {TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo | TMsgDlgBtn::mbOK, TModalResult::mrOk},
        {TMsgDlgBtn::mbNo | TMsgDlgBtn::mbYes, TModalResult::mrYes},
        {TMsgDlgBtn::mbCancel | TMsgDlgBtn::mbNo, TModalResult::mrNo},
        {TMsgDlgBtn::mbIgnore | TMsgDlgBtn::mbRetry | TMsgDlgBtn::mbAbort, TModalResult::mrAbort},
        {TMsgDlgBtn::mbClose, TModalResult::mrClose},
        {TMsgDlgButtons(), TModalResult::mrNone},
    };
    SetPresenter(nullptr);
    for (const Case &c : cases) {
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(ShowCaptionedMessage(u"Text"_s, TMsgDlgType::mtWarning, c.buttons, u"Caption"_s),
                  c.expected)
            << c.buttons.toInt();
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Caption: Text\n");
    }
}

TEST(MessagesTest, ConsolePresenter_EmptyCaption_UsesKindCaption)
{
    SetPresenter(nullptr);
    ::testing::internal::CaptureStderr();
    ShowMessageDialog(u"Disk full"_s, TMsgDlgType::mtError, TMsgDlgBtn::mbOK, 0);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Error: Disk full\n");
}

TEST(MessagesTest, ConsolePresenter_FileDialog_IsCancelledWithProposedName)
{
    SetPresenter(nullptr);
    QString fileName = u"stale"_s;
    EXPECT_FALSE(GetPresenter().AskFileName(TFileDialogKind::Save, u"Text File|*.txt"_s, u"/tmp"_s,
                                            u"run.txt"_s, fileName));
    EXPECT_EQ(fileName, u"run.txt"_s);
}

TEST(MessagesTest, ShowErrorMessage_AnyText_ShowsCustomOkBoxCaptionedVelomyra)
{
    ShowErrorMessage(u"Could not create /x"_s);
    ASSERT_EQ(TestSupport::Presenter().messages.size(), 1u);
    const TestSupport::RecordedMessage &shown = TestSupport::Presenter().messages.front();
    EXPECT_EQ(shown.text, u"Could not create /x"_s);
    EXPECT_EQ(shown.kind, TMsgDlgType::mtCustom);
    EXPECT_EQ(shown.buttons, TMsgDlgButtons(TMsgDlgBtn::mbOK));
    EXPECT_EQ(shown.caption, u"Velomyra"_s);
}

TEST(MessagesTest, ShowErrorMessage_PresenterThrows_DoesNotRaiseAndWritesToConsole)
{
    ThrowingPresenter throwing;
    SetPresenter(&throwing);
    ::testing::internal::CaptureStderr();
    EXPECT_NO_THROW(ShowErrorMessage(u"Fatal"_s));
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("Fatal"), std::string::npos);
}

TEST(MessagesTest, ShowMessageDialog_PassesEmptyCaptionAndReturnsAnswer)
{
    TestSupport::Presenter().answers.push_back(TModalResult::mrNo);
    const TModalResult answer = ShowMessageDialog(u"Save changes?"_s, TMsgDlgType::mtConfirmation,
                                                  TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo, 0);
    EXPECT_EQ(answer, TModalResult::mrNo);
    ASSERT_EQ(TestSupport::Presenter().messages.size(), 1u);
    EXPECT_TRUE(TestSupport::Presenter().messages.front().caption.isEmpty());
    EXPECT_EQ(TestSupport::Presenter().messages.front().kind, TMsgDlgType::mtConfirmation);
}

} // namespace
