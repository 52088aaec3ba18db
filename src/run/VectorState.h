#pragma once

#include <optional>

// On x86-64 processors with AVX, code that leaves the upper halves of the vector registers
// in use (without vzeroupper) makes every later SSE instruction pay a transition penalty:
// libm's log and exp then run several times slower. The calculation clears that state
// before its batches of log and exp; the arithmetic itself does not change.
void ClearUpperVectorState();

// Whether the upper halves are marked in use, where the processor can tell (XGETBV with
// ECX = 1); nullopt elsewhere. For tests.
std::optional<bool> UpperVectorStateInUse();
