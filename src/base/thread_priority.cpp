#include "base/thread_priority.h"

#include <sys/resource.h>
#include <unistd.h>

namespace quillfen {

void lowerThreadPriority() {
    // Linux keeps a nice value per thread, and raising one's own needs no privilege.
    constexpr int kLowest = 19;
    (void)setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kLowest);
}

}  // namespace quillfen
