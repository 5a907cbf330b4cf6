// The program's colours, named once. Colours are written as the program stores them: &H00BBGGRR.
#pragma once
#include <QColor>

namespace platform {

constexpr quint32 RGB(int r, int g, int b) { return quint32(r) | quint32(g) << 8 | quint32(b) << 16; }
inline QColor toQColor(quint32 bgr) { return QColor(bgr & 0xff, (bgr >> 8) & 0xff, (bgr >> 16) & 0xff); }

constexpr quint32 Yellow = 0x0000FFFF, Black = 0x00000000, Navy = 0x00800000, White = 0x00FFFFFF;

namespace theme {
constexpr quint32 ScreenBlue = RGB(39, 63, 137);     // the screens' client area
constexpr quint32 BackdropBlue = RGB(48, 133, 214);  // the backdrop behind every screen
constexpr quint32 ButtonFace = RGB(212, 208, 200);   // a control's face before it is given a colour
}  // namespace theme

}  // namespace platform
