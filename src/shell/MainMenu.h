#pragma once
#include "platform/Form.h"

// The main menu: twelve mathematicians, the teacher tools, the web link and Exit.
class MainMenu : public platform::Form {
    Q_OBJECT
public:
    // The entries besides the twelve mathematicians (0 to 11, of whom only Euclid is ready).
    enum Entry { EuclidEntry = 1, ExitEntry = 16, WizardEntry = 17, CatalogueEntry = 18, AcknowledgmentsEntry = 19,
                 GuideEntry = 20 };

    MainMenu();
    // The menu's picture and heading, which a worksheet from the catalogue runs under (loads the menu).
    static platform::Picture picture();
    static QString heading();
    void Form_Load() override;
    void Form_MouseMove(int button, int shift, float x, float y) override;
    void Label2_MouseMove(int Index);
    void Label2_Click(int Index);
    void Label4_Click();
    void Timer1_Timer();

    static inline const QString WebAddress = QStringLiteral("https://www.vellacourt.example/");

private:
    // The screen's controls, by the names its layout table gives them; no other screen reaches them.
    platform::Ctl<platform::Label> Label1{this, "Label1"}, Label2{this, "Label2"}, Label3{this, "Label3"},
        Label4{this, "Label4"};
    platform::Ctl<platform::Frame> Frame1{this, "Frame1"};
    platform::Ctl<platform::PictureBox> Image1{this, "Image1"}, Image2{this, "Image2"};
    platform::Ctl<platform::Timer> Timer1{this, "Timer1"};
};

namespace forms {
extern platform::FormRef<::MainMenu> MainMenu;  // the main menu
}  // namespace forms
