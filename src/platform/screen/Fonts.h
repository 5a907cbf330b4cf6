// Fonts by name and points, laid out at 96 dpi so screens look the same on every display.
#pragma once
#include <QFont>

namespace platform {

struct FontDesc {
    const char* family = "Tahoma";
    double points = 8.25;
    bool bold = false;
};
QFont makeFont(const FontDesc& f);
// Before the application starts: fontconfig reads its configuration and the system's font lists on
// a worker (some ten milliseconds) while Qt connects to the screen, instead of at initFonts.
void startFontconfig();
// Waits for that start. The environment is changed only after it: fontconfig reads the environment
// on its worker, and a variable set meanwhile can move the list it is reading (a crash at start).
void waitForFontconfig();
void initFonts();  // registers Tahoma from the system's Wine fonts when there is none

}  // namespace platform
