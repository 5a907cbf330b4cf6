#pragma once
#include "core/TopicFile.h"
#include "core/WorksheetFormat.h"
#include "platform/Form.h"

#include <optional>

// A mathematician's page, made from the topic's file: over the topic's picture, the quiz, the two
// activities, Key Facts and Teacher's Notes, and Exit.
class TopicScreen : public platform::Form {
    Q_OBJECT
public:
    struct Controls {
        platform::Label *heading = nullptr, *quiz = nullptr, *firstActivity = nullptr, *secondActivity = nullptr,
                        *keyFacts = nullptr, *notes = nullptr, *exit = nullptr;
    };
    TopicScreen();
    // The topic's screen, in front.
    static void show(const core::Topic& topic);
    void prepare() override;
    const Controls& ui() const { return m_ui; }
    const core::Topic& topic() const { return m_topic; }

private:
    Controls m_ui;
    core::Topic m_topic;
    std::optional<worksheetfiles::Worksheet> readQuiz();
    void startQuiz();
    void openActivity(const core::TopicActivity& activity);
    void leave();
};

