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
// Before the application starts: Qt keeps letters up to 64 pixels tall as pictures and draws taller
// ones from their outlines every time. On a whiteboard's scaled stage headings and page titles are
// taller, and a page took four times as long to draw; keep letters up to 256 pixels as pictures too.
void keepLargeGlyphs();

}  // namespace platform
