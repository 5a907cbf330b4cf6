#pragma once
#include "platform/Form.h"
#include "worksheets/WorksheetFiles.h"

// The Multiple Choice Wizard: a title and ten questions, four answers each, one ticked as correct.
class WizardScreen : public platform::Form {
    Q_OBJECT
public:
    WizardScreen();
    // The wizard filled with a worksheet to change; an answer field that is not 1 to 4 ticks nothing,
    // so the wizard asks for a tick before saving.
    static void edit(const worksheetfiles::Worksheet& w);

    void Form_Load() override;
    void Form_MouseMove(int button, int shift, float x, float y) override;
    void Label3_Click(int Index);
    void Label3_MouseMove(int Index);
    void Text1_KeyPress(int& KeyAscii);
    void Text2_KeyPress(int Index, int& KeyAscii);
    void Text3_KeyPress(int Index, int& KeyAscii);
    void checkAndSave();
    void printAnswers();
    void writeWorksheet();
    void addToCatalogue();

private:
    // The screen's controls, by the names its layout table gives them; no other screen reaches them.
    platform::Ctl<platform::Label> Label1{this, "Label1"}, Label3{this, "Label3"};
    platform::Ctl<platform::TextBox> Text1{this, "Text1"}, Text2{this, "Text2"}, Text3{this, "Text3"};
    platform::Ctl<platform::CheckBox> Check1{this, "Check1"};

    bool complete() const;
    QString unsavableText() const;
    worksheetfiles::Worksheet typedWorksheet() const;
    // Leaving with work typed or ticked since the sheet was opened or saved asks first; true to leave.
    bool mayLeave() const;
    worksheetfiles::Worksheet m_kept;  // the sheet as opened or last saved
};

namespace forms {
extern platform::FormRef<::WizardScreen> WizardScreen;  // Multiple Choice Wizard
}  // namespace forms
