#include "CpuFeatures.h"

bool CpuFeatures::hasMmx()
{
#if defined(__i386__) || defined(__x86_64__)
    static const bool mmx = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("mmx") != 0;
    }();
    return mmx;
#else
    return true;
#endif
}
