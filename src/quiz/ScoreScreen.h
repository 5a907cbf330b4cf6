#pragma once
#include "platform/screen/Form.h"
#include "core/TopicFile.h"

// The score screen after a quiz or an activity: a message by how close the score came to full marks.
class ScoreScreen : public platform::Form {
    Q_OBJECT
public:
    struct Controls {
        platform::Label *title = nullptr, *score = nullptr, *reviewHint = nullptr, *tryAgain = nullptr,
                        *nameHint = nullptr, *exit = nullptr;
        platform::Label* action = nullptr;  // "Print Certificate" after full marks, else "Check Wrong Answers"
        platform::PictureBox* picture = nullptr;
        platform::TextBox* name = nullptr;  // the pupil's name, for the certificate
        platform::Timer *showPicture = nullptr, *readyKeys = nullptr, *reseed = nullptr;
    };
    // What the pupil scored, the work's name the certificate carries (the quiz's, or the activity's),
    // the portrait of the mathematician the work was on (the menu's own after a teacher's worksheet)
    // and his name (none after a teacher's worksheet).
    struct Result {
        int score = 0, outOf = 0;
        QString heading;
        core::PictureFile portrait;
        QString topic;
    };

    ScoreScreen();
    // After a quiz: the score, with the review of wrong answers (or the certificate) offered.
    static void afterQuiz(const Result& result);
    // After an activity: the score under the activity's name.
    static void afterActivity(const Result& result);

    void prepare() override;
    const Controls& ui() const { return m_ui; }
    const Result& result() const { return m_result; }
    void printCertificate();

private:
    Controls m_ui;
    Result m_result;
    void present(const Result& result);
    void tellScore();
    void showPicture();
    void readyKeys();
};

