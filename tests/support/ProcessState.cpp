#include "ProcessState.h"

#include "TestSupport.h"

#include "core/Messages.h"
#include "core/RegionalSettings.h"
#include "core/Registry.h"
#include "core/UiTextManager.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <vector>

namespace TestSupport {

namespace {

std::vector<std::function<void()>> &AddedResets()
{
    static std::vector<std::function<void()>> resets;
    return resets;
}

// Runs before the test's fixture is created, so a fixture's members see the fresh state.
class ProcessStateListener : public ::testing::EmptyTestEventListener
{
public:
    void OnTestStart(const ::testing::TestInfo &) override { ResetProcessState(); }
};

// Appended before main: the listener list exists as soon as the unit test does.
[[maybe_unused]] const bool gListenerAppended = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new ProcessStateListener);
    return true;
}();

} // namespace

void ResetProcessState()
{
    // Panels take their captions from the catalogue, so it comes before the added resets.
    GetTranslationManager().LoadResource(QStringLiteral("LOCALE_ENGLISH"));
    // Month and day names follow the default locale: English, whatever the machine's.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ReleaseRegionalSettings();
    ResetSettingsSaveWarning();
    SetPresenter(&Presenter());
    Presenter().Clear();
    for (const auto &reset : AddedResets())
        reset();
}

bool AddStateReset(std::function<void()> reset)
{
    AddedResets().push_back(std::move(reset));
    return true;
}

} // namespace TestSupport
