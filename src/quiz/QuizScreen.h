#pragma once
#include "platform/Form.h"

#include <array>

// The quiz: the loaded question set, one question at a time, marked when left forward.
class QuizScreen : public platform::Form {
    Q_OBJECT
public:
    struct Controls {
        platform::Label *title = nullptr, *heading = nullptr, *worksheetTitle = nullptr, *number = nullptr,
                        *question = nullptr, *previous = nullptr, *next = nullptr, *exit = nullptr, *print = nullptr;
        std::array<platform::OptionButton*, 4> answers{};  // A to D
        platform::OptionButton* noAnswer = nullptr;        // hidden: selected while no answer is ticked
        platform::PictureBox* picture = nullptr;
    };
    QuizScreen();
    // The quiz on the question set just loaded, under a picture and a heading of the opener's.
    static void start(const platform::Picture& picture, const QString& heading);

    void Form_Load() override;
    const Controls& ui() const { return m_ui; }
    void showQuestion();
    void printQuestionSheet();

private:
    Controls m_ui;
    int markOfCurrentQuestion() const;
    void nextQuestion();
    void endOfQuiz();
};

namespace forms {
extern platform::FormRef<::QuizScreen> QuizScreen;  // the quiz
}  // namespace forms
