#pragma once
#include "platform/Form.h"

// The score screen after a quiz or an activity: a message by how close Score came to OutOf.
class ScoreScreen : public platform::Form {
    Q_OBJECT
public:
    ScoreScreen();
    // After a quiz: the score, with the review of wrong answers (or the certificate) offered.
    static void afterQuiz();
    // After an activity: the score under the activity's name, which the certificate carries.
    static void afterActivity(const QString& heading);

    void Form_Load() override;
    void Form_MouseMove(int button, int shift, float x, float y) override;
    void Label3_MouseMove(int Index);
    void Label3_Click(int Index);
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void Printpage();

private:
    // The screen's controls, by the names its layout table gives them; no other screen reaches them.
    platform::Ctl<platform::Label> Label1{this, "Label1"}, Label2{this, "Label2"}, Label3{this, "Label3"},
        Label4{this, "Label4"}, Label5{this, "Label5"}, Label6{this, "Label6"};
    platform::Ctl<platform::PictureBox> Picture1{this, "Picture1"};
    platform::Ctl<platform::TextBox> Text1{this, "Text1"};
    platform::Ctl<platform::Timer> Timer1{this, "Timer1"}, Timer2{this, "Timer2"}, Timer3{this, "Timer3"};
};

namespace forms {
extern platform::FormRef<::ScoreScreen> ScoreScreen;  // the score screen
}  // namespace forms
