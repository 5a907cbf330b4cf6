#pragma once
#include "platform/Form.h"
#include "worksheets/WorksheetFiles.h"

#include <array>

// The Multiple Choice Wizard: a title and ten questions, four answers each, one ticked as correct.
class WizardScreen : public platform::Form {
    Q_OBJECT
public:
    struct Controls {
        platform::Label* heading = nullptr;
        platform::TextBox* title = nullptr;
        std::array<platform::TextBox*, 10> questions{};
        std::array<platform::TextBox*, 40> answers{};  // question q's answers A to D at 4q to 4q + 3
        std::array<platform::CheckBox*, 40> ticks{};   // beside each answer: the right one ticked
        platform::Label *save = nullptr, *print = nullptr, *exit = nullptr;
    };
    WizardScreen();
    // The wizard filled with a worksheet to change; an answer field that is not 1 to 4 ticks nothing,
    // so the wizard asks for a tick before saving.
    static void edit(const worksheetfiles::Worksheet& w);

    void prepare() override;
    const Controls& ui() const { return m_ui; }
    void checkAndSave();
    void printAnswers();
    void writeWorksheet();
    void addToCatalogue();

private:
    Controls m_ui;
    void answerKeyPress(int index, int& keyAscii);

    bool complete() const;
    QString unsavableText() const;
    worksheetfiles::Worksheet typedWorksheet() const;
    // Leaving with work typed or ticked since the sheet was opened or saved asks first; true to leave.
    bool mayLeave() const;
    worksheetfiles::Worksheet m_kept;  // the sheet as opened or last saved
};

