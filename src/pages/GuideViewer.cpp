#include "pages/GuideViewer.h"
#include "pages/PrintPage.h"
#include "pages/ViewerControls.h"
#include "core/Module1.h"
#include "platform/PrepareForm.h"

platform::FormRef<::GuideViewer> forms::GuideViewer;

using namespace platform;
using namespace Module1;

namespace {
// The page pictures first, so the caption and the buttons lie above them.
// clang-format off
constexpr ControlRow Pictures[] = {
    {.kind = Kind::Image, .name = "Image1", .at = {120, 0, 10485, 11955}},
    {.kind = Kind::Image, .name = "Image2", .at = {120, -240, 10485, 11955}, .flags = Hidden},
    // Always empty; transparent, so it never hides the top of the page.
    {.kind = Kind::Label, .name = "Label2", .at = {0, 120, 11775, 615}, .font = {"Tahoma", 14.25}, .fore = Yellow,
         .flags = Transparent},
};
// clang-format on

QString pageFile(const char* folder, int n) {
    return QString::fromLatin1(folder) + QStringLiteral("\\guide") + QString::number(n) + QStringLiteral(".wmf");
}
}  // namespace

GuideViewer::GuideViewer() {
    build(Pictures);
    build(pages::PageControls);
    Label1->SetCaption(pages::pageCaption(1, Pages));
    Label3.onClick([this](int i) { Label3_Click(i); });
    // The page itself takes the keyboard, so that a screen reader's "read all" reads it.
    Image1->SetTabStop(true);
}

void GuideViewer::showFirstPage() {
    GuideViewer& g = *forms::GuideViewer;
    g.Image1->SetPicture(LoadPictureOrEmpty(QStringLiteral("wmf\\guide1.wmf")));
    g.Image2->SetPicture(LoadPictureOrEmpty(QStringLiteral("wmf2\\guide1.wmf")));
    g.m_page = 1;
    g.Show();
    pages::playNeighbours(g.Image1(), 1, Pages, [](int k) { return pageFile("wmf", k); });
}

void GuideViewer::Form_Load() { PrepareForm(*this); }

// Over the bare form the buttons lose their black backs, and nothing gives them back.
void GuideViewer::Form_MouseMove(int, int, float, float) {
    Label3.unhover();
}

void GuideViewer::Label3_Click(int Index) {
    switch (Index) {
    case 0: Printpage(); break;
    case 1: forms::GuideViewer.unload(); break;
    case 2:
        ++m_page;
        showPage();
        break;
    case 3:
        --m_page;
        showPage();
        break;
    default: break;
    }
}

// A page file that is missing or damaged shows an empty page; the buttons go on working.
void GuideViewer::showPage() {
    const int n = m_page;
    Label2->SetCaption(QString());
    Image2->SetPicture({});
    Image1->SetPicture({});
    Image2->SetPicture(LoadPictureOrEmpty(pageFile("wmf2", n)));
    Image1->SetPicture(LoadPictureOrEmpty(pageFile("wmf", n)));
    pages::showPageControls(Label3, Label1, n, Pages);
    pages::announcePage(Label1, Image1->picture());
    pages::playNeighbours(Image1(), n, Pages, [](int k) { return pageFile("wmf", k); });
}

void GuideViewer::Printpage() { pages::printPicture(Image2->picture()); }
