// The stage's scale: how many pixels a design pixel becomes, so that the 800 x 600 design fills the
// largest area of a screen that keeps its shape (letterboxed on the backdrop).
#pragma once

namespace core {

constexpr double DesignWidth = 800, DesignHeight = 600;

// The scale for a screen of this many pixels, to two decimals and never past the screen's edge;
// between 0.5 (a screen far smaller than the design) and 8.
double stageScale(double screenWidth, double screenHeight);

// A scale a school has written in a setting ("1.5"), or 0 when it is not a usable scale.
double scaleSetting(const char* text);

}  // namespace core
