// The listener that puts process-wide state back: every test starts from the same state,
// whatever the tests before it changed.

#include "support/ProcessState.h"
#include "support/TestSupport.h"

#include "core/Exceptions.h"
#include "core/Messages.h"
#include "core/RegionalSettings.h"
#include "core/SettingsStore.h"
#include "core/UiTextManager.h"
#include "plate/CellBlock.h"
#include "plate/MarnovelPanels.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TestSupport::RecordingPresenter gOtherPresenter;

std::vector<TCBBlockPanelList *> Lists()
{
    TStdPanel::SetBlockList(CURVE_8POINT);
    TCBBlockPanelList *eight = &TStdPanel::GetBlockList();
    TStdPanel::SetBlockList(CURVE_4POINT);
    return {eight, &TStdPanel::GetBlockList(), &TCBBlockPanelList::GetListForCriteriaType(CT_TORVIN)};
}

// Leaves the regional cache holding ";" as the decimal separator while the store holds its
// own value again.
void LeaveStaleRegionalCache()
{
    auto store = SettingsStore::Open();
    store->beginGroup(QString::fromLatin1(SettingsStore::InternationalGroup));
    const QVariant saved = store->value(u"sDecimal"_s);
    store->setValue(u"sDecimal"_s, u";"_s);
    store->sync();
    ReleaseRegionalSettings();
    EXPECT_EQ(GetRegionalDecimalSeparator(), u';');
    if (saved.isValid())
        store->setValue(u"sDecimal"_s, saved);
    else
        store->remove(u"sDecimal"_s);
    store->sync();
}

void ChangeEverything()
{
    OWCellBlockBase::SetNextSubjectId();
    OWCellBlockBase::SetNextStandardId();
    OWCellBlockBase::SetAndGetNextStandardGrey();
    OWCellBlockBase::SetAndGetNextSubjectColor();
    OWCellBlockBase::SetSubjectIdPrefix(u"P-"_s);
    OWCellBlockBase::SetIdentifierCount(1);

    const std::vector<TCBBlockPanelList *> lists = Lists();
    for (TCBBlockPanelList *list : lists) {
        TBaseSelectBlockPanel *panel = list->GetItem(0);
        panel->SetSelected(true);
        panel->SetEnabled(false);
        panel->SetColor(0x123456);
        panel->SetCaption(u"changed"_s);
        panel->SetOnClick([](TBaseSelectBlockPanel *) {});
    }
    TStdPanel::SetBlockList(CURVE_8POINT);

    LeaveStaleRegionalCache();

    TestSupport::Presenter().answers.push_back(TModalResult::mrNo);
    TestSupport::Presenter().fileNames.push_back(u"run.vdf"_s);
    ShowErrorMessage(u"left behind"_s);
    SetPresenter(&gOtherPresenter);

    // A failed load leaves the unknown name current.
    EXPECT_THROW(GetTranslationManager().LoadResource(u"LOCALE_KLINGON"_s), EResNotFound);
}

void ExpectFresh()
{
    EXPECT_EQ(OWCellBlockBase::GetCurrentSubjectIdStr(), u"ID 1"_s);
    EXPECT_EQ(OWCellBlockBase::GetCurrentStandardIdStr(), u"Std 1"_s);
    EXPECT_EQ(OWCellBlockBase::GetSubjectIdPrefix(), QString());
    EXPECT_EQ(OWCellBlockBase::GetIdentifierCount(), 0);
    EXPECT_EQ(OWCellBlockBase::GetCurrentSubjectColor(), SubjectColours[0]);
    EXPECT_EQ(OWCellBlockBase::SetAndGetNextStandardGrey(), 0x00DEDEDEu);

    EXPECT_EQ(TStdPanel::GetBlockList().CurveType(), CURVE_4POINT);
    for (TCBBlockPanelList *list : Lists()) {
        SCOPED_TRACE(int(list->CriteriaType()) * 10 + int(list->CurveType()));
        for (int i = 0; i < list->Count(); ++i) {
            const TBaseSelectBlockPanel *panel = list->GetItem(i);
            EXPECT_FALSE(panel->Selected()) << i;
            EXPECT_TRUE(panel->Enabled()) << i;
            EXPECT_EQ(panel->Color(), panel->StdColor()) << i;
            EXPECT_EQ(panel->Caption(), panel->StdText().trimmed()) << i;
            EXPECT_FALSE(panel->OnClick()) << i;
        }
    }

    EXPECT_NE(GetRegionalDecimalSeparator(), u';');

    EXPECT_EQ(&GetPresenter(), &TestSupport::Presenter());
    EXPECT_TRUE(TestSupport::Presenter().messages.empty());
    EXPECT_TRUE(TestSupport::Presenter().answers.empty());
    EXPECT_TRUE(TestSupport::Presenter().fileNames.empty());

    EXPECT_EQ(GetTranslationManager().GetResourceId(), u"LOCALE_ENGLISH"_s);
}

} // namespace

TEST(ProcessState, ResetProcessState_EverythingChanged_PutsEverythingBack)
{
    ChangeEverything();
    TestSupport::ResetProcessState();
    ExpectFresh();
}

// Whichever of the two runs second finds what the first one changed put back.
class EveryTest : public ::testing::TestWithParam<int>
{
};

TEST_P(EveryTest, StartsFromFreshState_ThenChangesEverything)
{
    ExpectFresh();
    ChangeEverything();
}

INSTANTIATE_TEST_SUITE_P(Twice, EveryTest, ::testing::Range(0, 2));
