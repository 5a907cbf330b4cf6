#include "platform/Form.h"
#include "platform/Stage.h"
#include "core/Module1.h"
#include "platform/PrepareForm.h"

namespace Module1 {

using namespace platform;

void PrepareForm(Form& form) {
    form.SetBackColor(theme::ScreenBlue);
    form.SetCaption(ProgramTitle);
    // From here on a step that fails is passed over, so the pointer always comes back.
    Stage* screen = Stage::instance();
    float screenWidth = 0, screenHeight = 0;
    skipOnFailure([&] { form.control(QStringLiteral("Picture1"))->SetBackColor(theme::PictureBlue); });
    skipOnFailure([&] {
        form.SetWidth(12000);
        form.SetHeight(9000);
    });
    skipOnFailure([&] { form.SetScaleMode(1); });
    skipOnFailure([&] {
        screenWidth = screen->screenWidth();
        screenHeight = screen->screenHeight();
    });
    skipOnFailure([&] { screen->setMousePointer(11); });
    skipOnFailure([&] { form.SetTop(float(double(screenHeight) / 2 - double(form.Height()) / 2)); });
    skipOnFailure([&] { form.SetLeft(float(double(screenWidth) / 2 - double(form.Width()) / 2)); });
    skipOnFailure([&] { screen->setMousePointer(0); });
}

}  // namespace Module1
