#include "run/VectorState.h"

#include <gtest/gtest.h>

#if defined(__x86_64__)
namespace {

// Leaves the upper halves of YMM1 in use, as code compiled for AVX without vzeroupper does.
void DirtyUpperState()
{
    __asm__ volatile("vpcmpeqd %%ymm1, %%ymm1, %%ymm1" ::: "xmm1");
}

} // namespace

TEST(VectorState, Clear_LeavesTheUpperHalvesUnused)
{
    if (!__builtin_cpu_supports("avx2") || !UpperVectorStateInUse().has_value())
        GTEST_SKIP() << "the processor cannot show its vector state";
    DirtyUpperState();
    ASSERT_EQ(UpperVectorStateInUse(), true);
    ClearUpperVectorState();
    EXPECT_EQ(UpperVectorStateInUse(), false);
}
#endif
