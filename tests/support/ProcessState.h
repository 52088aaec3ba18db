#pragma once

#include <functional>

// The model keeps some state for the whole process: block counters and the identifier
// count, the panel lists, the current catalogue, the default locale, the regional settings
// cache, the message presenter. One listener puts it back before every test of every test
// program, so no test cleans up after itself and none depends on the tests before it.
namespace TestSupport {

// Before every test, in this order: the English catalogue, English (United States) as the
// default locale, the regional settings read from the store again, the settings-save warning
// not yet shown, the recording presenter installed with an empty log; then every reset added
// here, in the order added.
void ResetProcessState();

// Adds the reset of one more piece of process-wide state. Each layer's test support adds its
// own from a namespace-scope initialiser, in a file of an object library linked by the test
// programs of that layer and above (see PlateState.cpp); window tests add their windows'
// globals the same way:
//     [[maybe_unused]] const bool gAdded = TestSupport::AddStateReset(&ResetMyState);
// Returns true.
bool AddStateReset(std::function<void()> reset);

} // namespace TestSupport
