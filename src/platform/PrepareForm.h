// The standard frame every screen is given when it loads.
#pragma once

namespace platform {
class Form;
class Control;
}  // namespace platform

namespace Module1 {

// Gives a screen the standard frame: size, colours, caption, centred on the screen; its picture box,
// if it has one, the picture's blue.
void PrepareForm(platform::Form& form, platform::Control* picture = nullptr);

}  // namespace Module1
