// The bare Qt program the benchmarks hold the program against: the same pages (pictures and captions
// in the screens' fonts) built plainly from Qt widgets, a page of a QStackedWidget each.
#pragma once
#include "platform/screen/Fonts.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QWidget>
#include <functional>

namespace {

class ClickLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> clicked;
protected:
    void mouseReleaseEvent(QMouseEvent*) override {
        if (clicked) clicked();
    }
};

class BarePages {
public:
    QWidget window;
    QStackedWidget* stack;
    QWidget* next = nullptr;          // the entry or button that leads to the next page of the tour
    std::function<void()> onNext;     // what a click on it does
    void setNext(ClickLabel* entry) {
        entry->clicked = [this] { onNext(); };
        next = entry;
    }
    void setNext(QPushButton* button) {
        QObject::connect(button, &QPushButton::clicked, [this] { onNext(); });
        next = button;
    }

    BarePages() : stack(new QStackedWidget(&window)) {
        window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        colour(&window, QColor(48, 133, 214));
    }
    // The window covers its screen, the stack of pages centred in it at the design's size.
    void coverScreen() {
        const QRect screen = window.screen()->geometry();
        window.setGeometry(screen);
        stack->setGeometry((screen.width() - 800) / 2, (screen.height() - 600) / 2, 800, 600);
    }
    static void colour(QWidget* w, QColor c) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, c);
        w->setPalette(p);
        w->setAutoFillBackground(true);
    }
    // A caption in the same font as the program's own screen shows it.
    static ClickLabel* text(QWidget* page, const QString& caption, QRect at, platform::FontDesc font,
                            bool framed = false) {
        auto* l = new ClickLabel(caption, page);
        l->setFont(platform::makeFont(font));
        l->setGeometry(at);
        l->setWordWrap(true);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, Qt::yellow);
        l->setPalette(p);
        if (framed) {
            colour(l, Qt::black);
            l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            l->setAlignment(Qt::AlignCenter);
        }
        return l;
    }
    static QLabel* picture(QWidget* page, const QString& file, QPoint at) {
        auto* l = new QLabel(page);
        l->setPixmap(QPixmap(file));
        l->move(at);
        l->adjustSize();
        return l;
    }
    QWidget* newPage() {
        auto* page = new QWidget;
        colour(page, QColor(39, 63, 137));
        return page;
    }
    // The screens' caption bar: the program's name in white, in the screens' caption font.
    static void captionBar(QWidget* page) {
        QLabel* bar = text(page, QStringLiteral("Vellacourt Numerists"), {4, 4, 792, 18}, {"Tahoma", 9.75, true});
        colour(bar, QColor(10, 36, 106));
        QPalette p = bar->palette();
        p.setColor(QPalette::WindowText, Qt::white);
        bar->setPalette(p);
    }
    QWidget* front = nullptr;  // the page in front: a page of the stack, or the whole-window title page

    // The title page fills the whole window, the backdrop round its box, as the program's title screen
    // stands in front of the backdrop; the other pages are pages of the stack.
    void show(QWidget* page) {
        if (page->parentWidget() == &window) {
            page->setGeometry(window.rect());
            page->show();
            page->raise();
        } else {
            QWidget* old = stack->currentWidget();
            stack->addWidget(page);
            stack->setCurrentWidget(page);
            if (old) old->deleteLater();
        }
        if (front && front != page && front->parentWidget() == &window) {
            front->hide();
            front->deleteLater();
        }
        front = page;
    }
    // The pages hold the captions of the program's screens, in the fonts the screens use.
    // At start-up the first button reads "OK"; as the exit confirmation it reads "Cancel".
    QWidget* title(const QString& first = QStringLiteral("OK")) {
        auto* backdrop = new QWidget(&window);
        colour(backdrop, QColor(48, 133, 214));
        QWidget* page = newPage();
        page->setParent(backdrop);
        page->setGeometry((window.width() - 378) / 2, (window.height() - 478) / 2, 378, 478);
        colour(page, QColor(192, 192, 192));
        picture(page, QStringLiteral("Images/euclidsm.jpg"), {20, 80});
        text(page, QStringLiteral("Vellacourt Numerists"), {4, 24, 357, 71}, {"Times New Roman", 20.25, true});
        text(page, QStringLiteral("Mathematics through history"), {24, 336, 313, 25}, {"Times New Roman", 15.75});
        text(page, QStringLiteral("For pupils and their teachers"), {32, 374, 297, 25}, {"Times New Roman", 12});
        text(page, QStringLiteral("Published by Vellacourt Numerists for classroom use"), {0, 428, 361, 17},
             {"Arial", 8.25});
        auto* ok = new QPushButton(first, page);
        ok->setGeometry(88, 400, 89, 25);
        ok->setFont(platform::makeFont({"Tahoma", 8.25}));
        (new QPushButton(QStringLiteral("Exit"), page))->setGeometry(184, 400, 89, 25);
        setNext(ok);  // a push button, pressed and released as the program's is
        return backdrop;
    }
    QWidget* menu() {
        QWidget* page = newPage();
        captionBar(page);
        text(page, QStringLiteral("Vellacourt Numerists"), {0, 0, 800, 60}, {"Tahoma", 32.25, true});
        auto* frame = new QFrame(page);
        frame->setGeometry(448, 72, 337, 265);
        frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
        picture(frame, QStringLiteral("Images/euclidsm.jpg"), {8, 16});
        picture(page, QStringLiteral("Images/logo2.jpg"), {280, 420});
        const char* names[] = {"Pythagoras", "Euclid",      "Eratosthenes",  "Archimedes",     "Al-Khwarizmi",
                               "Omar Khayyam", "Fibonacci", "John Napier",   "Ren\u00e9 Descartes", "Blaise Pascal",
                               "Leonhard Euler", "Ada Lovelace"};
        for (int i = 0; i < 12; ++i)
            text(page, QString::fromUtf8(names[i]), {8 + 224 * (i / 6), 144 + 48 * (i % 6), 205, 25},
                 {"Tahoma", 12, true}, true);
        text(page, QStringLiteral("Multiple Choice Wizard"), {464, 384, 309, 33}, {"Tahoma", 18, true}, true);
        text(page, QStringLiteral("Worksheet Catalogue"), {464, 440, 309, 33}, {"Tahoma", 18, true}, true);
        text(page, QStringLiteral("Exit"), {704, 528, 83, 33}, {"Tahoma", 18, true}, true);
        text(page, QStringLiteral("Acknowledgments"), {8, 528, 205, 33}, {"Tahoma", 14.25, true}, true);
        text(page, QStringLiteral("Teachers' Guide"), {8, 72, 205, 33}, {"Tahoma", 14.25, true}, true);
        text(page, QStringLiteral("www.vellacourt.example"), {464, 512, 221, 25}, {"Arial", 12, true}, true);
        text(page, QStringLiteral("\u00a9 Vellacourt Numerists 2026"), {464, 544, 232, 25}, {"Tahoma", 9.75});
        setNext(text(page, QStringLiteral("Euclid"), {8, 192, 205, 25}, {"Tahoma", 12, true}, true));
        return page;
    }
    QWidget* topic() {
        QWidget* page = newPage();
        captionBar(page);
        picture(page, QStringLiteral("Images/euclid.jpg"), {0, 0});
        text(page, QStringLiteral("Euclid"), {16, 0, 400, 60}, {"Times New Roman", 27.75, true});
        const char* entries[] = {"Multiple Choice", "Products of Primes", "Nets of Dice", "Key Facts", "Teacher's Notes"};
        for (int i = 0; i < 5; ++i)
            text(page, QString::fromUtf8(entries[i]), {8 + 150 * i, 528, 213, 33}, {"Tahoma", 15.75, true}, true);
        setNext(text(page, QStringLiteral("Exit"), {704, 528, 83, 33}, {"Tahoma", 15.75, true}, true));
        return page;
    }
    QWidget* catalogue() {
        QWidget* page = newPage();
        captionBar(page);
        text(page, QStringLiteral("Worksheets Catalogue"), {0, 0, 800, 52}, {"Tahoma", 24, true});
        for (const char* box : {"Edit Worksheet", "Delete Worksheet"}) {
            auto* c = new QCheckBox(QString::fromUtf8(box), page);
            c->setFont(platform::makeFont({"Tahoma", 12, true}));
        }
        for (int i = 0; i < 24; ++i)
            text(page, QString(), {8 + 400 * (i / 12), 48 + 40 * (i % 12), 381, 25}, {"Tahoma", 12, true}, true)->hide();
        text(page, QStringLiteral("<< Previous Page"), {176, 528, 213, 33}, {"Tahoma", 15.75, true}, true)->hide();
        text(page, QStringLiteral("Next Page >>"), {400, 528, 213, 33}, {"Tahoma", 15.75, true}, true)->hide();
        text(page, QStringLiteral("Page 1"), {8, 528, 133, 33}, {"Tahoma", 15.75, true}, true);
        setNext(text(page, QStringLiteral("Exit"), {704, 528, 83, 33}, {"Tahoma", 18, true}, true));
        return page;
    }
};

}  // namespace
