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
    // Work left on this screen unrecorded (the screen closed with others) is recorded as it goes.
    ~ScoreScreen() override;
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
    bool m_recorded = true;
    void present(const Result& result);
    // The finished work, in the pupil's results file: at once, or after full marks once the pupil
    // has had the chance to type a name for the certificate.
    void record(bool tell = true);
    void tellScore();
    void showPicture();
    void readyKeys();
};

