#pragma once
#include "platform/Form.h"

// The backdrop: the stage itself, coloured when first shown.
class Backdrop {
public:
    void Form_Load();
    void Show();
    void destroyForm() { delete this; }  // the stage itself stays for the whole run; this handle goes
};

// The title screen, and later the exit confirmation.
class TitleScreen : public platform::Form {
    Q_OBJECT
public:
    TitleScreen();
    // The title screen again, as the question whether to leave: its OK leaves, Cancel goes back.
    static void askToExit();
    // Starts decoding the screen's picture on a worker, for a start that has other work to do first.
    static void readPictureAhead();

    void Form_Load() override;
    void Command1_Click();
    void Command2_Click();

private:
    // The screen's controls, by the names its layout table gives them; no other screen reaches them.
    platform::Ctl<platform::Frame> Frame1{this, "Frame1"};
    platform::Ctl<platform::PictureBox> Picture1{this, "Picture1"};
    platform::Ctl<platform::Label> Label1{this, "Label1"}, Label2{this, "Label2"}, Label3{this, "Label3"},
        Label4{this, "Label4"};
    platform::Ctl<platform::CommandButton> Command1{this, "Command1"}, Command2{this, "Command2"};
};

namespace forms {
extern platform::FormRef<::Backdrop> Backdrop;  // the backdrop
extern platform::FormRef<::TitleScreen> TitleScreen;  // title screen and exit confirmation
}  // namespace forms
