#pragma once
// A small disk for tests of what happens when the disk fills: a tmpfs mounted in a private
// mount namespace, so nothing outside the calling process sees it. Call it in a forked child.

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace quillfen::testing {

/// Exit status of a child that could not mount its disk; the parent then skips the test.
inline constexpr int kNoPrivateDisk = 77;

namespace detail {

inline bool writeProcFile(const std::string& path, const std::string& text) {
    std::ofstream out(path);
    out << text;
    return static_cast<bool>(out);
}

inline bool enterPrivateMounts() {
    if (::unshare(CLONE_NEWNS) != 0) {
        uid_t uid = ::getuid();
        gid_t gid = ::getgid();
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
        writeProcFile("/proc/self/setgroups", "deny");
        if (!writeProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
            !writeProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")) {
            return false;
        }
    }
    return ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

}  // namespace detail

/// Makes `mountPoint` a tmpfs of `size` ("1m", "64k") seen by this process only. False when
/// the system allows no private mounts.
inline bool mountPrivateDisk(const std::string& mountPoint, const std::string& size) {
    std::error_code ignored;
    std::filesystem::create_directories(mountPoint, ignored);
    return detail::enterPrivateMounts() &&
           ::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0;
}

}  // namespace quillfen::testing
