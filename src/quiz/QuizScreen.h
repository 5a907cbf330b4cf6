#pragma once
#include "platform/Form.h"

// The quiz: the loaded question set, one question at a time, marked when left forward.
class QuizScreen : public platform::Form {
    Q_OBJECT
public:
    QuizScreen();
    // The quiz on the question set just loaded, under a picture and a heading of the opener's.
    static void start(const platform::Picture& picture, const QString& heading);

    void Form_Load() override;
    void Form_MouseMove(int button, int shift, float x, float y) override;
    void Label3_MouseMove(int Index);
    void Label3_Click(int Index);
    void showQuestion();
    void Printpage();

private:
    // The screen's controls, by the names its layout table gives them; no other screen reaches them.
    platform::Ctl<platform::Label> Label1{this, "Label1"}, Label2{this, "Label2"}, Label3{this, "Label3"},
        Label4{this, "Label4"}, Label5{this, "Label5"}, Label6{this, "Label6"};
    platform::Ctl<platform::PictureBox> Picture1{this, "Picture1"};
    platform::Ctl<platform::OptionButton> Option1{this, "Option1"};

    int markOfCurrentQuestion() const;
    void endOfQuiz();
};

namespace forms {
extern platform::FormRef<::QuizScreen> QuizScreen;  // the quiz
}  // namespace forms
