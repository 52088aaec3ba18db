#include "run/VectorState.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <cpuid.h>

namespace {

bool HasAvx()
{
    static const bool avx = __builtin_cpu_supports("avx");
    return avx;
}

} // namespace

void ClearUpperVectorState()
{
    if (HasAvx())
        __asm__ volatile("vzeroupper");
}

std::optional<bool> UpperVectorStateInUse()
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    // XGETBV needs OSXSAVE; ECX = 1 (the in-use bitmap) is announced in leaf 0Dh, subleaf 1.
    if (!HasAvx() || !__get_cpuid(1, &a, &b, &c, &d) || (c & (1u << 27)) == 0)
        return std::nullopt;
    if (!__get_cpuid_count(0xD, 1, &a, &b, &c, &d) || (a & (1u << 2)) == 0)
        return std::nullopt;
    unsigned low = 0, high = 0;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(1u));
    return (low & (1u << 2)) != 0; // bit 2: the upper halves of the YMM registers
}

#else

void ClearUpperVectorState() {}

std::optional<bool> UpperVectorStateInUse()
{
    return std::nullopt;
}

#endif
