// The processor time the calling thread has used. Pictures and pages are given their time on this
// clock, not the wall's: a machine busy with other work does not cut a picture short.
#pragma once
#include <chrono>
#include <ctime>

namespace platform {

inline std::chrono::nanoseconds threadTime() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
}

}  // namespace platform
