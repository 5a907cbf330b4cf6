#pragma once
#include "platform/Form.h"

#include <array>

// The questions of the last quiz answered wrongly, filled by the quiz at its end.
class WrongAnswersScreen : public platform::Form {
    Q_OBJECT
public:
    struct Controls {
        platform::Label *title = nullptr, *exit = nullptr;
        std::array<platform::Label*, 10> lines{};  // one for each question answered wrongly, the rest hidden
    };
    WrongAnswersScreen();
    // The review, filled (unseen) with the lines of the questions answered wrongly, under the worksheet's title.
    static void list(const QStringList& lines, const QString& title);

    void prepare() override;
    const Controls& ui() const { return m_ui; }

private:
    Controls m_ui;
};

