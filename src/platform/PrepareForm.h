// The standard frame every screen is given when it loads.
#pragma once

namespace platform { class Form; }

namespace Module1 {

// Gives a screen the standard frame: size, colours, caption, centred on the screen.
void PrepareForm(platform::Form& form);

}  // namespace Module1
