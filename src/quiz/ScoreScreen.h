#pragma once
#include "platform/Form.h"

// The score screen after a quiz or an activity: a message by how close Score came to OutOf.
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
    ScoreScreen();
    // After a quiz: the score, with the review of wrong answers (or the certificate) offered.
    static void afterQuiz();
    // After an activity: the score under the activity's name, which the certificate carries.
    static void afterActivity(const QString& heading);

    void Form_Load() override;
    const Controls& ui() const { return m_ui; }
    void printCertificate();

private:
    Controls m_ui;
    void showPicture();
    void readyKeys();
};

namespace forms {
extern platform::FormRef<::ScoreScreen> ScoreScreen;  // the score screen
}  // namespace forms
