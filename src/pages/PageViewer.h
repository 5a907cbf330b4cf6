#pragma once
#include "platform/screen/Form.h"

#include <QElapsedTimer>
#include <functional>

// A document of pages to read, turn and print: Key Facts, Teacher's Notes, the Teachers' Guide, and
// the Acknowledgments page with its logos.
class PageViewer : public platform::Form {
    Q_OBJECT
public:
    // A document's pages: <stem>a.wmf, <stem>b.wmf, ... or, numbered, <stem>1.wmf, <stem>2.wmf, ...;
    // and its name as a printed page's header gives it ("Pythagoras — Key Facts").
    struct Document {
        QString stem;
        int pages = 1;
        bool numbered = false;
        QString title;
        QString pageFile(const char* folder, int n) const;  // page n, from 1
    };
    static inline const Document Guide{QStringLiteral("guide"), 5, true, QStringLiteral("Teachers' Guide")};

    struct Controls {
        platform::Image *page = nullptr, *printCopy = nullptr;  // the page on screen, and as it prints
        platform::Label *caption = nullptr, *print = nullptr, *exit = nullptr, *next = nullptr, *previous = nullptr;
        platform::Label* printBoards = nullptr;  // Teacher's Notes: the topic's boards as sheets with keys
        platform::PictureBox *logo = nullptr, *publisherLogo = nullptr;  // the Acknowledgments page's
        platform::Timer* turnLogo = nullptr;
    };

    PageViewer();
    // A document from its first page; with `printBoards` (the topic's, handed by its opener, since
    // boards are not this screen's to know), a "Print Boards" button that calls it.
    static void show(const Document& document, std::function<void()> printBoards = {});
    // Key Facts or Teacher's Notes: `pages` pages, from wmf\<stem>a.wmf on, printed under `title`.
    static void showDocument(const QString& stem, int pages, const QString& title, std::function<void()> printBoards = {}) {
        show({stem, pages, false, title}, std::move(printBoards));
    }
    // The Acknowledgments page, with the publisher's logo and the animated one.
    static void showAcknowledgments();

    void prepare() override;
    const Controls& ui() const { return m_ui; }
    int page() const { return m_page; }  // the page shown, from 1

private:
    Controls m_ui;
    Document m_document;
    std::function<void()> m_printBoards;
    int m_page = 1;
    QElapsedTimer m_logoTurning;  // since the logo last started turning

    void turnTo(int page);
    void turnLogo();
    void printPage();
};

