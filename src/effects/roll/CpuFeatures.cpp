// SPDX-License-Identifier: GPL-3.0-or-later
#include "CpuFeatures.h"

namespace {

#if defined(__i386__) || defined(__x86_64__)
// The first use asks the processor; GCC and Clang fill the feature words once.
bool supports(bool (*ask)())
{
    __builtin_cpu_init();
    return ask();
}
#endif

} // namespace

bool CpuFeatures::hasMmx()
{
#if defined(__i386__) || defined(__x86_64__)
    static const bool mmx = supports([] { return __builtin_cpu_supports("mmx") != 0; });
    return mmx;
#else
    return true;
#endif
}

bool CpuFeatures::hasSse2()
{
#if defined(__i386__) || defined(__x86_64__)
    static const bool sse2 = supports([] { return __builtin_cpu_supports("sse2") != 0; });
    return sse2;
#else
    return false;
#endif
}

bool CpuFeatures::hasAvx2()
{
#if defined(__i386__) || defined(__x86_64__)
    static const bool avx2 = supports([] { return __builtin_cpu_supports("avx2") != 0; });
    return avx2;
#else
    return false;
#endif
}
