// The program's colours, named once. Colours are written as the program stores them: &H00BBGGRR.
#pragma once
#include "platform/screen/Fonts.h"

#include <QColor>

namespace platform {

constexpr quint32 RGB(int r, int g, int b) { return quint32(r) | quint32(g) << 8 | quint32(b) << 16; }
inline QColor toQColor(quint32 bgr) { return QColor(bgr & 0xff, (bgr >> 8) & 0xff, (bgr >> 16) & 0xff); }
inline quint32 fromQColor(const QColor& c) { return quint32(c.red()) | quint32(c.green()) << 8 | quint32(c.blue()) << 16; }

// Colours by name, as the screens' tables give them.
constexpr quint32 Yellow = 0x0000FFFF, Black = 0x00000000, Navy = 0x00800000, White = 0x00FFFFFF, Blue = 0x00FF0000,
                  Red = 0x000000FF, Magenta = 0x00FF00FF, Orange = 0x000080FF, Teal = 0x00C0C000, Silver = 0x00C0C0C0,
                  BrightGreen = 0x0000FF00,  // the quiz's highlight
                  DarkGreen = 0x00008000,    // the title screen's text
                  DiceGreen = 0x0000C000,    // a square of Nets of Dice
                  LightBlue = RGB(128, 128, 255), DeepBlue = RGB(0, 0, 0xC0);

// The colours of the program's parts.
namespace theme {
constexpr quint32 ScreenBlue = RGB(39, 63, 137);           // the screens' client area and their tick boxes
constexpr quint32 BackdropBlue = RGB(48, 133, 214);        // the backdrop behind every screen
constexpr quint32 PictureBlue = RGB(49, 135, 214);         // behind a screen's picture
constexpr quint32 AcknowledgmentsBlue = RGB(30, 110, 190);  // the Acknowledgments page, matching its logos;
                                                            // dark enough for its white text (5:1)
constexpr quint32 ButtonFace = RGB(212, 208, 200);         // a control's face before it is given a colour
// The frame every screen draws round itself: caption bar gradient, face, outline and shadow.
inline QColor captionDark() { return {10, 36, 106}; }
inline QColor captionLight() { return {166, 202, 240}; }
inline QColor frameFace() { return toQColor(ButtonFace); }
inline QColor frameOutline() { return {64, 64, 64}; }
inline QColor shadow() { return {128, 128, 128}; }  // sunken edges and greyed text too
// The font of every button and menu entry that is a screen's own command.
constexpr FontDesc ButtonFont{"Tahoma", 15.75, true};
}  // namespace theme

}  // namespace platform
