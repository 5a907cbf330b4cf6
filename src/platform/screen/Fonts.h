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
void initFonts();  // registers Tahoma from the system's Wine fonts when there is none

}  // namespace platform
