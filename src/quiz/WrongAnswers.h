#pragma once
#include "platform/Form.h"

// The questions of the last quiz answered wrongly, filled by the quiz at its end.
class Wrong : public platform::Form {
    Q_OBJECT
public:
    Wrong();
    void Form_Load() override;
    void Label3_Click(int Index);

    platform::Ctl<platform::Label> Label2{this, "Label2"}, Label3{this, "Label3"}, Label4{this, "Label4"},
        Label5{this, "Label5"}, Label6{this, "Label6"};
};
