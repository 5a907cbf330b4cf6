#include "platform/screen/Form.h"
#include "platform/screen/Stage.h"
#include "core/Shared.h"
#include "platform/screen/PrepareForm.h"

namespace platform {

void prepareScreen(Form& form, Control* picture) {
    form.setBackColor(theme::ScreenBlue);
    form.setText(ProgramTitle);
    // A screen with a picture gives it the picture's blue; a screen without one has nothing to colour.
    if (picture) picture->setBackColor(theme::PictureBlue);
    form.setWidthTwips(FormWidth);
    form.setHeightTwips(FormHeight);
    Stage* screen = Stage::instance();
    screen->setMousePointer(11);
    form.centreOn(screen->screenWidth(), screen->screenHeight());
    screen->setMousePointer(0);
}

}  // namespace platform
