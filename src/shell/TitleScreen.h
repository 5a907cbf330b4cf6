#pragma once
#include "platform/Form.h"

// The backdrop: the stage itself, coloured when first shown.
class Backdrop {
public:
    void prepare();
    void showInFront();
    void destroyForm() { delete this; }  // the stage itself stays for the whole run; this handle goes
};

// The title screen, and later the exit confirmation.
class TitleScreen : public platform::Form {
    Q_OBJECT
public:
    struct Controls {
        platform::Frame* panel = nullptr;
        platform::PictureBox* picture = nullptr;
        platform::CommandButton *ok = nullptr, *exit = nullptr;  // OK turns Cancel when the screen asks to leave
    };
    TitleScreen();
    // The title screen again, as the question whether to leave: its OK leaves, Cancel goes back.
    static void askToExit();
    // Starts decoding the screen's picture on a worker, for a start that has other work to do first.
    static void readPictureAhead();

    void prepare() override;
    const Controls& ui() const { return m_ui; }

private:
    Controls m_ui;
};

