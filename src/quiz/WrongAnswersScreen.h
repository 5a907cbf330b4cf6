#pragma once
#include "platform/Form.h"

// The questions of the last quiz answered wrongly, filled by the quiz at its end.
class WrongAnswersScreen : public platform::Form {
    Q_OBJECT
public:
    WrongAnswersScreen();
    // The review, filled (unseen) with the lines of the questions answered wrongly, under the worksheet's title.
    static void list(const QStringList& lines, const QString& title);

    void Form_Load() override;
    void Label3_Click(int Index);

private:
    // The screen's controls, by the names its layout table gives them; no other screen reaches them.
    platform::Ctl<platform::Label> Label2{this, "Label2"}, Label3{this, "Label3"}, Label4{this, "Label4"},
        Label5{this, "Label5"}, Label6{this, "Label6"};
};

namespace forms {
extern platform::FormRef<::WrongAnswersScreen> WrongAnswersScreen;  // the wrong-answers review
}  // namespace forms
