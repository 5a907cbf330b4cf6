#pragma once
#include "platform/Form.h"

#include <functional>

namespace core { struct TitlePage; }
namespace worksheetfiles { struct Worksheet; }

// The Worksheets Catalogue: the teacher's worksheets, 24 a page, to run, edit or delete.
class CatalogueScreen : public platform::Form {
    Q_OBJECT
public:
    CatalogueScreen();
    // The main menu the catalogue returns to, and whose picture and heading a worksheet runs under:
    // given by the shell, which the catalogue does not reach itself.
    struct Menu {
        std::function<void()> show;
        std::function<platform::Picture()> picture;
        std::function<QString()> heading;
    };
    static inline Menu menu;

    void Form_Load() override;
    void Form_MouseMove(int button, int shift, float x, float y) override;
    void Check1_Click();
    void Check2_Click();
    void Label2_Click(int Index);
    void Label2_MouseMove(int Index);
    void Label3_Click(int Index);
    void showCataloguePage();
    void showTitles(const core::TitlePage& page);
    void editworksheet(const worksheetfiles::Worksheet& w);
    void deleteTitle(const QString& title);

private:
    // The screen's controls, by the names its layout table gives them; no other screen reaches them.
    platform::Ctl<platform::Label> Label1{this, "Label1"}, Label2{this, "Label2"}, Label3{this, "Label3"},
        Label4{this, "Label4"};
    platform::Ctl<platform::CheckBox> Check1{this, "Check1"}, Check2{this, "Check2"};
};

namespace forms {
extern platform::FormRef<::CatalogueScreen> CatalogueScreen;  // Worksheets Catalogue
}  // namespace forms
