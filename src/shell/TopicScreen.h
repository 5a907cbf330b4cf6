#pragma once
#include "platform/Form.h"

// Euclid's page: over his picture, the quiz, the two activities, the pages, and Exit.
class TopicScreen : public platform::Form {
    Q_OBJECT
public:
    TopicScreen();
    void Form_Load() override;
    void Form_MouseMove(int button, int shift, float x, float y) override;
    void label3_MouseMove(int Index);
    void label3_Click(int Index);

private:
    // The screen's controls, by the names its layout table gives them; no other screen reaches them.
    platform::Ctl<platform::Label> Label1{this, "Label1"}, label3{this, "label3"};

    bool loadEuclidsWorksheet();
};

namespace forms {
extern platform::FormRef<::TopicScreen> TopicScreen;  // Euclid's topic menu
}  // namespace forms
