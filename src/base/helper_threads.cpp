#include "base/helper_threads.h"

#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace quillfen {

void lowerThreadPriority() {
    // Linux keeps a nice value per thread, and raising one's own needs no privilege.
    constexpr int kLowest = 19;
    (void)setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kLowest);
}

void nameThread(const char* name) {
    // The kernel keeps 15 characters and refuses longer names outright.
    const std::string kept(name, strnlen(name, 15));
    (void)pthread_setname_np(pthread_self(), kept.c_str());
}

}  // namespace quillfen
