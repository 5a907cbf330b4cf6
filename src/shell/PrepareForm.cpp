#include "platform/Form.h"
#include "platform/Stage.h"
#include "shell/Module1.h"

namespace Module1 {

using namespace platform;

void PrepareForm(Form& form) {
    form.SetBackColor(RGB(39, 63, 137));
    form.SetCaption(ProgramTitle);
    // From here on a step that fails is passed over, so the pointer always comes back.
    const auto step = [](auto&& f) { skipOnFailure(f); };
    Stage* screen = Stage::instance();
    float screenWidth = 0, screenHeight = 0;
    step([&] { form.control(QStringLiteral("Picture1"))->SetBackColor(RGB(49, 135, 214)); });
    step([&] {
        form.SetWidth(12000);
        form.SetHeight(9000);
    });
    step([&] { form.SetScaleMode(1); });
    step([&] {
        screenWidth = screen->screenWidth();
        screenHeight = screen->screenHeight();
    });
    step([&] { screen->setMousePointer(11); });
    step([&] { form.SetTop(float(double(screenHeight) / 2 - double(form.Height()) / 2)); });
    step([&] { form.SetLeft(float(double(screenWidth) / 2 - double(form.Width()) / 2)); });
    step([&] { screen->setMousePointer(0); });
}

}  // namespace Module1
