#pragma once
#include "core/WorksheetFormat.h"
#include "platform/Form.h"

#include <optional>

// Euclid's page: over his picture, the quiz, the two activities, the pages, and Exit.
class TopicScreen : public platform::Form {
    Q_OBJECT
public:
    struct Controls {
        platform::Label *heading = nullptr, *quiz = nullptr, *primes = nullptr, *dice = nullptr, *keyFacts = nullptr,
                        *notes = nullptr, *exit = nullptr;
    };
    TopicScreen();
    void Form_Load() override;
    const Controls& ui() const { return m_ui; }

private:
    Controls m_ui;
    std::optional<worksheetfiles::Worksheet> readEuclidsWorksheet();
    void startQuiz();
    void leave();
};

namespace forms {
extern platform::FormRef<::TopicScreen> TopicScreen;  // Euclid's topic menu
}  // namespace forms
