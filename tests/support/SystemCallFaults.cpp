#include "SystemCallFaults.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

extern "C" {
int __real_fsync(int fd);
int __real_rename(const char *from, const char *to);
int __wrap_fsync(int fd);
int __wrap_rename(const char *from, const char *to);
}

TSystemCallFaults &SystemCallFaults()
{
    static TSystemCallFaults faults = [] {
        TSystemCallFaults fromEnvironment;
        if (const char *fsync = std::getenv("VELOMYRA_FAIL_FSYNC"); fsync && *fsync)
            fromEnvironment.fsyncError = EIO;
        if (const char *rename = std::getenv("VELOMYRA_FAIL_RENAME"); rename && *rename) {
            fromEnvironment.renameError = EPERM;
            fromEnvironment.renameTarget = rename;
        }
        return fromEnvironment;
    }();
    return faults;
}

int __wrap_fsync(int fd)
{
    TSystemCallFaults &faults = SystemCallFaults();
    ++faults.fsyncCalls;
    if (faults.fsyncError != 0) {
        errno = faults.fsyncError;
        return -1;
    }
    return __real_fsync(fd);
}

int __wrap_rename(const char *from, const char *to)
{
    TSystemCallFaults &faults = SystemCallFaults();
    ++faults.renameCalls;
    if (faults.renameError != 0) {
        const char *slash = std::strrchr(to, '/');
        const char *name = slash ? slash + 1 : to;
        if (faults.renameTarget.empty() || faults.renameTarget == name) {
            errno = faults.renameError;
            return -1;
        }
    }
    return __real_rename(from, to);
}
