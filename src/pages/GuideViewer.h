#pragma once
#include "platform/Form.h"

// The Teachers' Guide: three pages to read, page by page, and print.
class GuideViewer : public platform::Form {
    Q_OBJECT
public:
    GuideViewer();
    // The guide at its first page.
    static void showFirstPage();

    void Form_Load() override;
    void Form_MouseMove(int button, int shift, float x, float y) override;
    void Label3_Click(int Index);
    void showPage();
    void Printpage();
    int page() const { return m_page; }  // the page shown, from 1

    static constexpr int Pages = 4;

private:
    int m_page = 1;
    // The screen's controls, by the names its layout table gives them; no other screen reaches them.
    platform::Ctl<platform::PictureBox> Image1{this, "Image1"}, Image2{this, "Image2"};
    platform::Ctl<platform::Label> Label1{this, "Label1"}, Label2{this, "Label2"}, Label3{this, "Label3"};
};

namespace forms {
extern platform::FormRef<::GuideViewer> GuideViewer;  // the Teachers' Guide
}  // namespace forms
