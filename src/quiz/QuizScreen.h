#pragma once
#include "core/TopicFile.h"
#include "core/WorksheetFormat.h"
#include "platform/screen/Form.h"

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
        platform::Frame* answerGroup = nullptr;            // the four, one group named by the question
        platform::PictureBox* picture = nullptr;
    };
    QuizScreen();
    // A worksheet's quiz from its first question, under a portrait (shown again on the score screen)
    // and a heading of the opener's; a topic's quiz names its mathematician, for the certificate.
    static void start(const worksheetfiles::Worksheet& sheet, const core::PictureFile& portrait, const QString& heading,
                      const QString& topic = {});

    void prepare() override;
    const Controls& ui() const { return m_ui; }
    const worksheetfiles::Worksheet& worksheet() const { return m_sheet; }
    int questionNumber() const { return m_question; }  // the question shown, from 1
    const std::array<int, core::QuestionCount + 1>& marks() const { return m_marks; }
    void printQuestionSheet();

private:
    Controls m_ui;
    worksheetfiles::Worksheet m_sheet;
    core::PictureFile m_portrait;
    QString m_topic;  // the mathematician whose quiz this is; none for a teacher's worksheet
    int m_question = 1;
    std::array<int, core::QuestionCount + 1> m_marks{};  // question q's mark at q, once it is left forward
    const worksheetfiles::Question& question() const { return m_sheet.questions[size_t(m_question - 1)]; }
    void showQuestion();
    int markOfCurrentQuestion() const;
    void nextQuestion();
    void endOfQuiz();
};

