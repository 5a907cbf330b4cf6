#include "pages/PageViewer.h"
#include "platform/screen/Navigator.h"
#include "pages/PrintPage.h"
#include "core/Shared.h"
#include "platform/screen/Accessibility.h"
#include "platform/screen/PageText.h"
#include "platform/screen/PrepareForm.h"

using namespace platform;

namespace {
using Controls = PageViewer::Controls;
constexpr qint64 LogoTurnsMs = 5000;

// The page pictures first, then the caption and the buttons above them, then the logos above all.
// clang-format off
constexpr ControlRow Layout[] = {
    {.at = {120, 0, 10485, 11955}, .to = slot<&Controls::page>},
    {.at = {0, 0, 10485, 11955}, .flags = Hidden, .to = slot<&Controls::printCopy>},
    {.at = {4200, 7920, 2295, 495}, .font = theme::ButtonFont, .fore = Black,
         .back = White, .flags = Centered, .to = slot<&Controls::caption>},
    {.caption = "Print", .at = {10680, 120, 1125, 495}, .font = theme::ButtonFont,
         .fore = Yellow, .back = Black, .flags = Centered | Hover, .to = slot<&Controls::print>},
    // Teacher's Notes alone: a board's sheet and answer key are the teacher's, never on a pupil's board.
    {.caption = "Print Boards", .at = {10680, 720, 1125, 855}, .font = theme::ButtonFont,
         .fore = Yellow, .back = Black, .flags = Centered | Hidden | Hover, .to = slot<&Controls::printBoards>},
    {.caption = "Exit", .at = {10680, 7920, 1125, 495}, .font = theme::ButtonFont,
         .fore = Yellow, .back = Black, .flags = Centered | Hover, .to = slot<&Controls::exit>},
    {.caption = "Next Page", .at = {1320, 7920, 2685, 495}, .font = theme::ButtonFont,
         .fore = Yellow, .back = Black, .flags = Centered | Hover, .to = slot<&Controls::next>},
    {.caption = "Previous Page", .at = {6720, 7920, 2685, 495},
         .font = theme::ButtonFont, .fore = Yellow, .back = Black, .flags = Centered | Disabled | Hover,
         .to = slot<&Controls::previous>},
    {.at = {8520, 4320, 1800, 1800}, .flags = Hidden, .to = slot<&Controls::logo>},
    {.at = {8550, 6240, 1800, 1335}, .flags = Hidden,
         .to = slot<&Controls::publisherLogo>},
    {.to = slot<&Controls::turnLogo>, .interval = 25},
};
// clang-format on

// "Page 2 of 3", as the caption reads.
QString pageCaption(int page, int pages) {
    return QStringLiteral("Page") + numberText(page) + QStringLiteral(" of") + numberText(pages);
}
}  // namespace

QString PageViewer::Document::pageFile(const char* folder, int n) const {
    n = std::clamp(n, 1, numbered ? pages : 26);
    return QString::fromLatin1(folder) + QLatin1Char('\\') + stem +
           (numbered ? QString::number(n) : QString(QChar(u'a' + n - 1))) + QStringLiteral(".wmf");
}

PageViewer::PageViewer() {
    build<Layout>(m_ui);
    m_ui.print->onClick = [this] { printPage(); };
    m_ui.printBoards->onClick = [this] {
        if (m_printBoards) m_printBoards();
    };
    m_ui.exit->onClick = [] { screens().close<PageViewer>(); };
    m_ui.next->onClick = [this] { turnTo(m_page + 1); };
    m_ui.previous->onClick = [this] { turnTo(m_page - 1); };
    setCancelControl(m_ui.exit);
    screenName = [this] { return pageTitle(m_ui.page->picture()); };
    m_ui.turnLogo->onTimer = [this] { turnLogo(); };
    // The turning logo stops or starts again at a click, Space or Enter on it: nothing moves on a
    // page for long without a way to stop it.
    m_ui.logo->setTabStop(true);
    m_ui.logo->onClick = [this] {
        if (!m_ui.turnLogo->isEnabled()) m_logoTurning.start();
        m_ui.turnLogo->setEnabled(!m_ui.turnLogo->isEnabled());
    };
    // Whether it turns is told to a reader in its name, as it starts and as it stops (by a click or
    // after its five seconds): a listener cannot see it move.
    m_ui.logo->describe = [this] {
        const QString shows = m_ui.logo->text();
        if (shows.isEmpty()) return shows;  // no frame yet: nothing to tell
        return shows + (m_ui.turnLogo->isEnabled() ? QStringLiteral(", running") : QStringLiteral(", stopped"));
    };
    // The page itself takes the keyboard, so that a screen reader's "read all" reads it, and the
    // arrow keys move through it line by line; its first stop, it has the keyboard when the screen
    // opens by keyboard.
    m_ui.page->setTabStop(true);
    PageCaret::attach(m_ui.page);
}

void PageViewer::prepare() { prepareScreen(*this); }

void PageViewer::show(const Document& document, std::function<void()> printBoards) {
    PageViewer& v = screens().open<PageViewer>();
    v.m_document = document;
    v.m_printBoards = std::move(printBoards);
    v.m_ui.printBoards->setShown(bool(v.m_printBoards));
    v.m_page = 1;
    v.m_ui.caption->setText(pageCaption(1, document.pages));
    v.m_ui.page->setPicture(LoadPictureOrEmpty(document.pageFile("wmf", 1)));
    v.m_ui.printCopy->setPicture(LoadPictureOrEmpty(document.pageFile("wmf2", 1)));
    v.showInFront();
    v.turnTo(1);
}

void PageViewer::showAcknowledgments() {
    PageViewer& v = screens().open<PageViewer>();
    v.m_document = {QString(), 1, false, QStringLiteral("Acknowledgments")};
    v.m_printBoards = {};
    v.m_ui.printBoards->setShown(false);
    v.m_ui.caption->setShown(false);
    v.m_ui.next->setShown(false);
    v.m_ui.previous->setShown(false);
    v.m_ui.page->setPicture(LoadPictureOrEmpty(QStringLiteral("wmf\\acknowledgments.wmf")));
    v.m_ui.publisherLogo->setPicture(LoadPictureOrEmpty(QStringLiteral("logo\\halvern2.bmp")));
    v.m_ui.printCopy->setPicture(LoadPictureOrEmpty(QStringLiteral("wmf2\\acknowledgments.wmf")));
    v.setBackColor(theme::AcknowledgmentsBlue);
    v.m_logoTurning.start();
    v.m_ui.turnLogo->setEnabled(true);
    v.showInFront();
}

// Page n shown, its neighbours played ahead, and the buttons and caption made to fit it. A page file
// that is missing or damaged shows an empty page; the buttons go on working.
void PageViewer::turnTo(int page) {
    const int pages = m_document.pages;
    const bool turned = page != m_page;
    if (turned) {
        m_page = page;
        m_ui.page->setPicture(LoadPictureOrEmpty(m_document.pageFile("wmf", page)));
        m_ui.printCopy->setPicture(LoadPictureOrEmpty(m_document.pageFile("wmf2", page)));
    }
    // A page turned has the keyboard, its caret at the top, so that the arrow keys and a screen
    // reader's "read all" read it, not the button; Tab reaches the buttons again.
    const bool next = page<pages, previous = page> 1;
    const bool pageHadKeyboard = m_ui.page->widget()->hasFocus();
    if (turned) m_ui.page->setFocus();
    m_ui.previous->setEnabled(previous);
    m_ui.next->setEnabled(next);
    m_ui.caption->setText(pageCaption(page, pages));
    // A page turned is said to a screen reader: where the reader is, and the page's title unless the
    // keyboard coming to the page says it already.
    if (turned) {
        const Picture& shown = m_ui.page->picture();
        const QStringList texts = shown.metafile() ? shown.metafile()->texts() : QStringList();
        announce(m_ui.caption->text() + (texts.isEmpty() || !pageHadKeyboard ? QString() : QStringLiteral(". ") + texts.front()));
    }
    // The pages either side are played ahead at the page's scale, so turning to one on a whiteboard
    // is a copy rather than a play. The page itself is asked for first: played ahead already, it is
    // kept while its neighbours are added.
    for (int k : {page, page + 1, page - 1})
        if (k >= 1 && k <= pages)
            playAhead(LoadPictureOrEmpty(m_document.pageFile("wmf", k)), m_ui.page->widget()->devicePixelRatioF(),
                      m_ui.page->fill());
}

// The animated logo: frames 1, 2, ... 19, 0, 1 ..., carrying on from where the last showing stopped.
// Each frame file is decoded once and kept, so a frame every 25 ms costs no decoding.
void PageViewer::turnLogo() {
    // Five seconds of turning, then it rests (a click turns it again).
    if (m_logoTurning.isValid() && m_logoTurning.elapsed() >= LogoTurnsMs) return m_ui.turnLogo->setEnabled(false);
    int& frame = core::shared().logoFrame;
    frame = (frame + 1) % 20;
    m_ui.logo->setPicture(LoadPictureOrEmpty(QStringLiteral("logo\\hvrn%1.gif").arg(frame, 4, 10, QLatin1Char('0'))));
    m_ui.logo->setShown(true);
    m_ui.publisherLogo->setShown(true);
}

// The page as printed, said when it is on its way, as every printout is: a click that seemed to do
// nothing would be clicked again, and each click is a copy.
void PageViewer::printPage() {
    const QString place = pageCaption(m_page, m_document.pages);
    if (pages::printPage(m_ui.printCopy->picture(), m_document.title, place))
        showMessage(QStringLiteral("This page is now printing."));
}
