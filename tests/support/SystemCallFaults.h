#pragma once

// fsync and rename that fail on request, for test programs linked with
// -Wl,--wrap=fsync -Wl,--wrap=rename (velomyra_add_fault_injection): the calls of the
// program's own code then go through these, and fail with the chosen error.
//
// A test sets the faults directly; a program started by a test takes them from its
// environment: VELOMYRA_FAIL_FSYNC=1 fails every fsync with EIO, VELOMYRA_FAIL_RENAME=NAME
// every rename onto a file named NAME with EPERM.

#include <string>

struct TSystemCallFaults
{
    int fsyncError = 0;       // 0: fsync works
    int renameError = 0;      // 0: rename works
    std::string renameTarget; // fails only renames onto a file of this name; empty: every rename
    int fsyncCalls = 0;
    int renameCalls = 0;
};

TSystemCallFaults &SystemCallFaults();
