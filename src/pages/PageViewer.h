#pragma once
#include "platform/Form.h"

#include <QElapsedTimer>

// The topic page viewer: Key Facts, Teacher's Notes, and the Acknowledgments page with its logos.
class PageViewer : public platform::Form {
    Q_OBJECT
public:
    PageViewer();
    // Key Facts or Teacher's Notes: `pages` pages, from wmf\<stem>a.wmf on.
    static void showDocument(const QString& stem, int pages);
    // The Acknowledgments page, with the publisher's logo and the animated one.
    static void showAcknowledgments();

    void Form_Load() override;
    void Label3_Click(int Index);
    void pageUpdate();
    void Timer1_Timer();
    void Printpage();
    int page() const { return m_page; }  // the page shown, from 1

private:
    // The screen's controls, by the names its layout table gives them; no other screen reaches them.
    platform::Ctl<platform::PictureBox> Image1{this, "Image1"}, Image2{this, "Image2"}, Picture1{this, "Picture1"},
        Picture2{this, "Picture2"};
    platform::Ctl<platform::Label> Label1{this, "Label1"}, Label3{this, "Label3"};
    platform::Ctl<platform::Timer> Timer1{this, "Timer1"};
    QElapsedTimer m_logoTurning;  // since the logo last started turning
    QString pageFile(const char* folder, int n) const;
    QString m_stem;  // the document's pages are <stem>a.wmf, <stem>b.wmf, ...
    int m_pages = 0, m_page = 1;
};

namespace forms {
extern platform::FormRef<::PageViewer> PageViewer;  // Key Facts, Teacher's Notes, Acknowledgments
}  // namespace forms
