// The X server's screens, asked before Qt starts, so the program can give Qt each screen's scale in
// its first start instead of starting twice.
#pragma once
#include <string>
#include <vector>

namespace platform {

struct ProbedScreen {
    std::string name;  // the monitor's name, as Qt's X platform names the screen ("HDMI-1")
    int width = 0, height = 0;  // in the screen's own pixels
};

// The monitors of the X display named by DISPLAY, in the server's order; empty when there is no X
// display to ask or it does not answer as expected (the caller then leaves the scale to Qt's start).
std::vector<ProbedScreen> probeXScreens();

}  // namespace platform
