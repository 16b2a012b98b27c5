#include "imaging/cpu_features.h"

namespace quillfen {

bool cpuHasAvx2() {
#if defined(__x86_64__) && defined(__GNUC__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
#else
    return false;
#endif
}

}  // namespace quillfen
