#include "pages/PageViewer.h"
#include "pages/PrintPage.h"
#include "pages/ViewerControls.h"
#include "core/Module1.h"
#include "platform/PrepareForm.h"

platform::FormRef<::PageViewer> forms::PageViewer;

using namespace platform;
using namespace Module1;

namespace {
// clang-format off
constexpr ControlRow Pictures[] = {
    {.kind = Kind::Image, .name = "Image1", .at = {120, 0, 10485, 11955}},
    {.kind = Kind::Image, .name = "Image2", .at = {0, 0, 10485, 11955}, .flags = Hidden},
};
// The logos lie above the page and its buttons.
constexpr ControlRow Logos[] = {
    {.kind = Kind::PictureBox, .name = "Picture1", .at = {8520, 4320, 1800, 1800}, .flags = Hidden},
    {.kind = Kind::PictureBox, .name = "Picture2", .at = {8550, 6240, 1800, 1335}, .flags = Hidden},
    {.kind = Kind::Timer, .name = "Timer1", .interval = 25},
};
// clang-format on

constexpr qint64 LogoTurnsMs = 5000;
}  // namespace

PageViewer::PageViewer() {
    build(Pictures);
    build(pages::PageControls);
    build(Logos);
    Label3.onClick([this](int i) { Label3_Click(i); });
    Timer1->onTimer = [this] { Timer1_Timer(); };
    // The turning logo stops or starts again at a click, Space or Enter on it: nothing moves on a
    // page for long without a way to stop it.
    Picture1->SetTabStop(true);
    // The page itself takes the keyboard, so that a screen reader's "read all" reads it.
    Image1->SetTabStop(true);
    Picture1->onClick = [this] {
        if (!Timer1->Enabled()) m_logoTurning.start();
        Timer1->SetEnabled(!Timer1->Enabled());
    };
}

// Page n of the document: "a", "b", "c"...
QString PageViewer::pageFile(const char* folder, int n) const {
    return QString::fromLatin1(folder) + QLatin1Char('\\') + m_stem + QChar(u'a' + std::clamp(n, 1, 26) - 1) +
           QStringLiteral(".wmf");
}

void PageViewer::showDocument(const QString& stem, int pages) {
    PageViewer& t = *forms::PageViewer;
    t.m_stem = stem;
    t.m_pages = pages;
    t.m_page = 1;
    t.Label1->SetCaption(pages::pageCaption(1, pages));
    t.Image1->SetPicture(LoadPictureOrEmpty(t.pageFile("wmf", 1)));
    t.Image2->SetPicture(LoadPictureOrEmpty(t.pageFile("wmf2", 1)));
    t.Show();
    pages::playNeighbours(t.Image1(), 1, pages, [&t](int k) { return t.pageFile("wmf", k); });
}

void PageViewer::showAcknowledgments() {
    PageViewer& t = *forms::PageViewer;
    t.Label1->SetVisible(false);
    t.Label3(2)->SetVisible(false);
    t.Label3(3)->SetVisible(false);
    t.Image1->SetPicture(LoadPictureOrEmpty(QStringLiteral("wmf\\acknowledgments.wmf")));
    t.Picture2->SetPicture(LoadPictureOrEmpty(QStringLiteral("logo\\halvern2.bmp")));
    t.Image2->SetPicture(LoadPictureOrEmpty(QStringLiteral("wmf2\\acknowledgments.wmf")));
    t.SetBackColor(theme::AcknowledgmentsBlue);
    t.m_logoTurning.start();
    t.Timer1->SetEnabled(true);
    t.Show();
}

void PageViewer::Form_Load() { PrepareForm(*this); }

void PageViewer::Label3_Click(int Index) {
    switch (Index) {
    case 0: Printpage(); break;
    case 1: forms::PageViewer.unload(); break;
    case 2:
        ++m_page;
        pageUpdate();
        break;
    case 3:
        --m_page;
        pageUpdate();
        break;
    default: break;
    }
}

// A page file that is missing or damaged shows an empty page; the buttons go on working.
void PageViewer::pageUpdate() {
    const int n = m_page;
    Image1->SetPicture(LoadPictureOrEmpty(pageFile("wmf", n)));
    Image2->SetPicture(LoadPictureOrEmpty(pageFile("wmf2", n)));
    pages::showPageControls(Label3, Label1, n, m_pages);
    pages::announcePage(Label1, Image1->picture());
    pages::playNeighbours(Image1(), n, m_pages, [this](int k) { return pageFile("wmf", k); });
}

// The animated logo: frames 1, 2, ... 19, 0, 1 ..., carrying on from where the last showing stopped.
// Each frame file is decoded once and kept, so a frame every 25 ms costs no decoding.
void PageViewer::Timer1_Timer() {
    // Five seconds of turning, then it rests (a click turns it again).
    if (m_logoTurning.isValid() && m_logoTurning.elapsed() >= LogoTurnsMs) return Timer1->SetEnabled(false);
    LogoFrame = LogoFrame + 1;
    if (LogoFrame == 20) LogoFrame = 0;
    const QString number = QString::number(LogoFrame);
    const QString file = (LogoFrame < 10 ? QStringLiteral("logo\\hvrn000") : QStringLiteral("logo\\hvrn00")) + number +
                         QStringLiteral(".gif");
    Picture1->SetPicture(LoadPictureOrEmpty(file));
    Picture1->SetVisible(true);
    Picture2->SetVisible(true);
}

void PageViewer::Printpage() { pages::printPicture(Image2->picture()); }
