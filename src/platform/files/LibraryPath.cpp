#include "platform/files/LibraryPath.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace platform {

void startWithoutRelativeLibraryPaths(char** argv) {
    const char* paths = std::getenv("LD_LIBRARY_PATH");
    if (!paths) return;
    std::string kept, all(paths);
    bool dropped = false;
    for (size_t from = 0;;) {
        const size_t to = all.find(':', from);
        const std::string entry = all.substr(from, to == std::string::npos ? std::string::npos : to - from);
        if (entry.starts_with('/')) kept += (kept.empty() ? "" : ":") + entry;
        else dropped = true;
        if (to == std::string::npos) break;
        from = to + 1;
    }
    if (!dropped) return;
    if (kept.empty()) ::unsetenv("LD_LIBRARY_PATH");
    else ::setenv("LD_LIBRARY_PATH", kept.c_str(), 1);
    ::execv("/proc/self/exe", argv);
    // Going on would load libraries from wherever the variable pointed.
    std::fprintf(stderr, "vellacourt: cannot start again without the working folder in LD_LIBRARY_PATH: %s\n",
                 std::strerror(errno));
    std::exit(1);
}

}  // namespace platform
