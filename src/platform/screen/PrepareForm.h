// The standard frame every screen is given when it loads.
#pragma once

namespace platform {

class Form;
class Control;

// Gives a screen the standard frame: size, colours, caption, centred on the screen; its picture box,
// if it has one, the picture's blue.
void prepareScreen(Form& form, Control* picture = nullptr);

}  // namespace platform
