#include "platform/screen/Accessibility.h"
#include "platform/screen/Form.h"
#include "platform/screen/PageText.h"
#include "platform/screen/Stage.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <climits>
#include <optional>
#include <cmath>

namespace platform {

namespace {
constexpr qint64 SameAnnouncementMs = 250;
constexpr int AnnouncementShownMs = 1500;  // long enough for a reader to ask what it says

// The screen a control stands on.
const Form* formOf(const QWidget* w) {
    while (w && !qobject_cast<const Form*>(w)) w = w->parentWidget();
    return qobject_cast<const Form*>(w);
}

// A control behind an open message box waits for the box to be answered, to a reader's "Press" as
// to a click.
bool behindMessageBox(const QWidget* w) {
    const QWidget* box = QApplication::activeModalWidget();
    return box && w && w->window() != box && !box->isAncestorOf(w);
}

// Whether a reader can see `w`: shown, and on the screen in front (or on none, as a message box).
bool isInFront(const QWidget* w) {
    if (!w->isVisible()) return false;
    const Form* form = formOf(w);
    return !form || Stage::instance()->front() == form;
}

// Qt scales the whole stage to the screen, and tells a reader where things are in the stage's own
// (logical) pixels; a reader's highlight, a magnifier or a click-by-position tool works in the
// screen's. Each place a reader is told is brought to the screen's pixels, and back for the places
// it asks about.
QPointF screenOrigin(const QWidget* w) { return w && w->screen() ? QPointF(w->screen()->geometry().topLeft()) : QPointF(); }
qreal screenScale(const QWidget* w) { return w && w->screen() ? w->screen()->devicePixelRatio() : 1.0; }

QRect toScreenPixels(const QRect& r, const QWidget* w) {
    if (r.isNull()) return r;
    const QPointF o = screenOrigin(w);
    const qreal f = screenScale(w);
    const auto at = [&](QPointF p) { return (p - o) * f + o; };
    const QPointF a = at(QPointF(r.topLeft())), b = at(QPointF(r.topLeft() + QPoint(r.width(), r.height())));
    return QRect(QPoint(int(std::lround(a.x())), int(std::lround(a.y()))),
                 QPoint(int(std::lround(b.x())) - 1, int(std::lround(b.y())) - 1));
}

QPoint fromScreenPixels(QPoint p, const QWidget* w) {
    const QPointF o = screenOrigin(w);
    return ((QPointF(p) - o) / screenScale(w) + o).toPoint();
}

// Qt's own description of a control it draws itself (a text box, a tick, a message box and its
// buttons), passed on whole but for the places, which are told in the screen's pixels.
class InScreenPixels : public QAccessibleInterface, public QAccessibleTextInterface, public QAccessibleActionInterface {
public:
    explicit InScreenPixels(QAccessibleInterface* qt) : m_qt(qt), m_id(QAccessible::uniqueId(qt)), m_object(qt->object()) {}
    // Qt's description lives in its cache beside ours, and goes with ours; once the program has
    // ended, the cache is emptying itself.
    ~InScreenPixels() override {
        if (QCoreApplication::instance()) QAccessible::deleteAccessibleInterface(m_id);
    }

    bool isValid() const override { return m_qt->isValid(); }
    QObject* object() const override { return m_object; }  // asked as the cache empties, after Qt's is gone
    QWindow* window() const override { return m_qt->window(); }
    // Qt names a list by what is chosen in it: the caption the screen gave it is its label.
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation match) const override {
        auto r = m_qt->relations(match);
        const Control* self = Control::of(m_object);
        if (const Form* form = self && (match & QAccessible::Label) ? formOf(widget()) : nullptr)
            for (const Control* c : form->controlList())
                if (c->labels == self)
                    if (QAccessibleInterface* label = QAccessible::queryAccessibleInterface(c->widget())) r.append({label, QAccessible::Label});
        return r;
    }
    QAccessibleInterface* focusChild() const override { return m_qt->focusChild(); }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint p = fromScreenPixels(QPoint(x, y), widget());
        return m_qt->childAt(p.x(), p.y());
    }
    QAccessibleInterface* parent() const override { return m_qt->parent(); }
    QAccessibleInterface* child(int index) const override { return m_qt->child(index); }
    int childCount() const override { return m_qt->childCount(); }
    int indexOfChild(const QAccessibleInterface* child) const override { return m_qt->indexOfChild(child); }
    QString text(QAccessible::Text t) const override {
        // An option says where it stands in its group ("2 of 4") after its name, role and state.
        if (auto* option = dynamic_cast<OptionButton*>(Control::of(m_object)); option && t == QAccessible::Description)
            return option->placeInGroup();
        // A closed list is named by its caption (a label), and Orca does not read what is chosen in
        // it: the choice is its description, which is read.
        if (auto* list = dynamic_cast<ChoiceBox*>(Control::of(m_object)); list && t == QAccessible::Description)
            return list->chosenText();
        return m_qt->text(t);
    }
    void setText(QAccessible::Text t, const QString& text) override { m_qt->setText(t, text); }
    QRect rect() const override { return toScreenPixels(m_qt->rect(), widget()); }
    QAccessible::Role role() const override { return m_qt->role(); }
    QAccessible::State state() const override { return m_qt->state(); }
    QColor foregroundColor() const override { return m_qt->foregroundColor(); }
    QColor backgroundColor() const override { return m_qt->backgroundColor(); }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return text() ? static_cast<QAccessibleTextInterface*>(this) : nullptr;
        if (t == QAccessible::ActionInterface) return actions() ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
        return m_qt->interface_cast(t);
    }

    // Its actions, but none for a control behind a message box.
    QStringList actionNames() const override { return actions()->actionNames(); }
    QString localizedActionName(const QString& name) const override { return actions()->localizedActionName(name); }
    QString localizedActionDescription(const QString& name) const override {
        return actions()->localizedActionDescription(name);
    }
    QStringList keyBindingsForAction(const QString& name) const override { return actions()->keyBindingsForAction(name); }
    void doAction(const QString& name) override {
        if (!behindMessageBox(widget())) actions()->doAction(name);
    }

    // A text box's text, its characters' places in the screen's pixels.
    void selection(int i, int* start, int* end) const override { text()->selection(i, start, end); }
    int selectionCount() const override { return text()->selectionCount(); }
    void addSelection(int start, int end) override { text()->addSelection(start, end); }
    void removeSelection(int i) override { text()->removeSelection(i); }
    void setSelection(int i, int start, int end) override { text()->setSelection(i, start, end); }
    int cursorPosition() const override { return text()->cursorPosition(); }
    void setCursorPosition(int position) override { text()->setCursorPosition(position); }
    QString text(int start, int end) const override { return text()->text(start, end); }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
        return text()->textBeforeOffset(offset, type, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
        return text()->textAfterOffset(offset, type, start, end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
        return text()->textAtOffset(offset, type, start, end);
    }
    int characterCount() const override { return text()->characterCount(); }
    QRect characterRect(int offset) const override { return toScreenPixels(text()->characterRect(offset), widget()); }
    int offsetAtPoint(const QPoint& point) const override { return text()->offsetAtPoint(fromScreenPixels(point, widget())); }
    void scrollToSubstring(int start, int end) override { text()->scrollToSubstring(start, end); }
    // Qt tells a text box's attributes as a run of no characters at all; a reader that reads the text
    // run by run then leaves out its last character. The whole text is one run.
    QString attributes(int offset, int* start, int* end) const override {
        const QString a = text()->attributes(offset, start, end);
        if (*start >= *end) {
            *start = 0;
            *end = text()->characterCount();
        }
        return a;
    }

private:
    QAccessibleTextInterface* text() const { return m_qt->textInterface(); }
    QAccessibleActionInterface* actions() const { return m_qt->actionInterface(); }
    const QWidget* widget() const { return qobject_cast<const QWidget*>(m_qt->object()); }
    QAccessibleInterface* m_qt;
    QAccessible::Id m_id;
    QPointer<QObject> m_object;
};

// Our own descriptions tell their places in the screen's pixels too.
template <class Base>
class ScreenPixels : public Base {
public:
    using Base::Base;
    QRect rect() const override { return toScreenPixels(Base::rect(), Base::widget()); }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint p = fromScreenPixels(QPoint(x, y), Base::widget());
        return Base::childAt(p.x(), p.y());
    }
};

// A page is named by the first thing it says, its title.
QString pageTitleOf(const Metafile& page) {
    const QStringList texts = page.texts();
    return texts.isEmpty() ? QStringLiteral("Page") : texts.front();
}

// A label that can be clicked is a push button; one that cannot, text. Pictures are graphics named
// for what they show, a page is text to be read. What shows nothing (an empty label, an empty
// picture, a square of colour) is left out of what a reader walks through.
class ControlAccessible : public ScreenPixels<QAccessibleWidget>, public QAccessibleTextInterface {
public:
    ControlAccessible(QWidget* w, Control* c, QAccessible::Role role) : ScreenPixels(w, role), m_c(c) {}

    // Asked afresh each time: a label's click may be bound after Qt first asked about it.
    QAccessible::Role role() const override {
        if (dynamic_cast<Label*>(m_c)) return m_c->onClick ? QAccessible::Button : QAccessible::StaticText;
        if (auto* box = dynamic_cast<PictureBox*>(m_c)) return box->picture().metafile() ? QAccessible::StaticText : QAccessible::Graphic;
        return QAccessibleWidget::role();
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return isPage() && m_c->accessibleName().isEmpty() ? pageTitle() : m_c->accessibleName();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (role() != QAccessible::Grouping && text(QAccessible::Name).isEmpty()) s.invisible = true;
        // A screen covered by another shows nothing of itself to a reader.
        if (const Form* form = formOf(widget()); form && Stage::instance()->front() != form) s.invisible = true;
        s.focusable = m_c->tabStop();
        return s;
    }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation match) const override {
        auto r = QAccessibleWidget::relations(match);
        if (m_c->labels && (match & QAccessible::Labelled))
            if (QAccessibleInterface* named = QAccessible::queryAccessibleInterface(m_c->labels->widget()))
                r.append({named, QAccessible::Labelled});
        return r;
    }
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (m_c->onClick && widget()->isEnabled()) names.prepend(pressAction());
        return names;
    }
    void doAction(const QString& action) override {
        if (behindMessageBox(widget())) return;
        if (action == pressAction() && m_c->onClick && widget()->isEnabled()) {
            // Answered at once: the click runs once the reader has its reply, so a message box it
            // opens does not keep the reader waiting for it.
            QTimer::singleShot(0, widget(), [c = m_c] {
                if (c->onClick && c->widget()->isEnabled() && !behindMessageBox(c->widget())) run(c->onClick);
            });
        } else {
            QAccessibleWidget::doAction(action);
        }
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface && isPage()) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // Where the control shows: cut off where its screen ends (a page's box reaches below the screen,
    // beneath the page buttons), and for a page, the page itself.
    QRect rect() const override {
        if (!widget()->isVisible()) return {};  // as Qt tells it: nowhere
        QRect shows(widget()->mapToGlobal(QPoint(0, 0)), widget()->size());
        if (isPage()) shows.setSize(shows.size().boundedTo(picture()->size()));
        for (const QWidget* w = widget()->parentWidget(); w; w = w->parentWidget())
            shows &= QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
        return toScreenPixels(shows, widget());
    }

    // A page's text, read in the order it is written; nothing can be selected or typed.
    QString text(int start, int end) const override {
        const PageText* page = pageText();
        return page ? page->text.mid(start, end - start) : QString();
    }
    int characterCount() const override {
        const PageText* page = pageText();
        return page ? int(page->text.size()) : 0;
    }
    // A line without its line break: a reader that asks where a line lies (Orca's flat review) is told
    // that line alone, not the start of the next one too (a column's foot and the next column's head).
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
        return pageLine(offset, type, 0, start, end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
        return pageLine(offset, type, -1, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
        return pageLine(offset, type, 1, start, end);
    }
    // The caret a pupil moves with the arrow keys (where the page has one), and a reader moves too.
    int cursorPosition() const override {
        const PageCaret* caret = PageCaret::of(widget());
        return caret ? caret->position() : 0;
    }
    void setCursorPosition(int position) override {
        if (PageCaret* caret = PageCaret::of(widget())) caret->setPosition(position);
    }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int offset) const override {
        const PageText* page = pageText();
        if (!page || offset < 0 || size_t(offset) >= page->boxes.size()) return {};
        const QRectF box = page->boxes[size_t(offset)];
        const QPoint at = widget()->mapToGlobal(box.topLeft().toPoint());
        return toScreenPixels(QRect(at, box.size().toSize().expandedTo(QSize(1, 1))), widget());
    }
    int offsetAtPoint(const QPoint& point) const override {
        const PageText* page = pageText();
        if (!page) return -1;
        const QPointF at = widget()->mapFromGlobal(fromScreenPixels(point, widget()));
        for (size_t k = 0; k < page->boxes.size(); ++k)
            if (page->boxes[k].contains(at)) return int(k);
        return -1;
    }
    void scrollToSubstring(int, int) override {}
    // Each line's font; a heading says so, as a reader that reports the text's attributes tells it.
    QString attributes(int offset, int* start, int* end) const override {
        const PageText* page = pageText();
        const PageText::Line* line = page ? page->lineAt(offset) : nullptr;
        if (!line) {
            *start = *end = offset;
            return {};
        }
        *start = int(line->start);
        *end = int(line->end);
        return QStringLiteral("font-size:%1pt;font-weight:%2;%3")
            .arg(std::lround(line->pixelSize * 3 / 4))
            .arg(line->weight)
            .arg(line->heading ? QStringLiteral("heading:true;") : QString());
    }

private:
    const Picture* picture() const {
        auto* box = dynamic_cast<PictureBox*>(m_c);
        return box ? &box->picture() : nullptr;
    }
    bool isPage() const {
        const Picture* p = picture();
        return p && p->metafile();
    }
    QString pageTitle() const { return pageTitleOf(*picture()->metafile()); }
    // The line at `offset` (`step` -1: the one before it, 1: after); other boundaries as Qt finds them.
    QString pageLine(int offset, QAccessible::TextBoundaryType type, int step, int* start, int* end) const {
        const PageText* page = pageText();
        if (type != QAccessible::LineBoundary || !page) {
            if (step < 0) return QAccessibleTextInterface::textBeforeOffset(offset, type, start, end);
            if (step > 0) return QAccessibleTextInterface::textAfterOffset(offset, type, start, end);
            return QAccessibleTextInterface::textAtOffset(offset, type, start, end);
        }
        const auto& lines = page->lines;
        const auto at = std::find_if(lines.begin(), lines.end(), [offset](const PageText::Line& l) { return offset <= l.end; });
        const qsizetype n = (at - lines.begin()) + step;
        if (offset < 0 || at == lines.end() || n < 0 || n >= qsizetype(lines.size())) {
            *start = *end = -1;
            return {};
        }
        *start = int(lines[size_t(n)].start);
        *end = int(lines[size_t(n)].end);
        return page->text.mid(*start, *end - *start);
    }
    // Gathered once for each page shown (with the page's caret, where it has one).
    const PageText* pageText() const {
        if (!isPage()) return nullptr;
        if (const PageCaret* caret = PageCaret::of(widget())) return caret->text();
        if (m_page != picture()->sharedMetafile()) {
            m_page = picture()->sharedMetafile();
            m_text.emplace(*m_page);
        }
        return &*m_text;
    }

    Control* m_c;
    mutable std::shared_ptr<const Metafile> m_page;
    mutable std::optional<PageText> m_text;
};

// A screen: a window named by its caption, showing only while it stands in front, so a reader
// never wanders into the screens beneath.
class FormAccessible : public ScreenPixels<QAccessibleWidget> {
public:
    explicit FormAccessible(Form* f) : ScreenPixels(f, QAccessible::Pane), m_form(f) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return screenName();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (Stage::instance()->front() != m_form) s.invisible = true;
        return s;
    }

private:
    // As the screen names itself (its heading, a page's title, an activity's name), else the program's.
    QString screenName() const {
        const QString name = m_form->screenName ? m_form->screenName().trimmed() : QString();
        return name.isEmpty() ? ProgramTitle : name;
    }
    Form* m_form;
};

// Where announcements are said: a notice of the stage's own, named by what it says last.
class Announcer : public QWidget {
public:
    explicit Announcer(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(0, 0, 1, 1);
        lower();
        // Said once, then gone from what a reader's review of the window reads.
        spoken.setSingleShot(true);
        spoken.setInterval(AnnouncementShownMs);
        connect(&spoken, &QTimer::timeout, this, &QWidget::hide);
    }
    QTimer spoken;
};

class AnnouncerAccessible : public ScreenPixels<QAccessibleWidget> {
public:
    explicit AnnouncerAccessible(QWidget* w) : ScreenPixels(w, QAccessible::Notification) {}
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? widget()->accessibleName() : QAccessibleWidget::text(t);
    }
};

Announcer* announcer() {
    static QPointer<Announcer> a;
    if (!a) {
        a = new Announcer(Stage::instance());
        a->hide();  // shown by each announcement: shown empty first, a reader would say the first one twice
    }
    return a;
}

// Qt's own description of a widget, asked of Qt once (the first time, for the widget's own class),
// and wrapped so that its places are told in the screen's pixels.
QAccessibleInterface* qtsOwn(const QString& className, QObject* object) {
    static bool askingQt = false;
    if (askingQt || !object->isWidgetType() || className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    askingQt = true;
    QAccessibleInterface* qt = QAccessible::queryAccessibleInterface(object);
    askingQt = false;
    return qt ? new InScreenPixels(qt) : nullptr;
}

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (auto* a = dynamic_cast<Announcer*>(object)) return new AnnouncerAccessible(a);
    // A screen, whatever class it is made as (asked first for its own class).
    if (auto* form = qobject_cast<Form*>(object)) return new FormAccessible(form);
    Control* c = Control::of(object);
    // An option kept from the keyboard (the quiz's hidden "no answer") is kept from a reader too.
    if (c && className == QLatin1String("QRadioButton") && !c->tabStop())
        return new ControlAccessible(c->widget(), c, QAccessible::RadioButton);
    // Controls Qt draws itself (text boxes, ticks, options, message boxes) keep Qt's own description,
    // told in the screen's pixels.
    if (!c || className != QLatin1String("QWidget")) return qtsOwn(className, object);
    // Labels and pictures say their role when asked; a frame groups, a square of colour is a graphic.
    return new ControlAccessible(c->widget(), c, dynamic_cast<Frame*>(c) ? QAccessible::Grouping : QAccessible::Graphic);
}



// Every event on its way to a reader passes here first, to be told in the order a reader needs.
void toReader(QAccessibleEvent* e);
void passOn(QAccessibleEvent* e) {
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(e);
    QAccessible::installUpdateHandler(toReader);
}

void toReader(QAccessibleEvent* e) {
    static QPointer<QObject> focusTold;
    QAccessibleInterface* i = e->accessibleInterface();
    QObject* o = i ? i->object() : e->object();
    if (e->type() == QAccessible::Focus) focusTold = o;
    // A text box taking the keyboard moves its caret (and selects its text) before Qt says it has the keyboard; a reader
    // told of the caret first goes there without a word. The focus, when it comes, says it all.
    const bool caret = e->type() == QAccessible::TextCaretMoved || e->type() == QAccessible::TextSelectionChanged;
    if (caret && o && o != focusTold && o == QApplication::focusWidget()) return;
    // A text box losing the keyboard drops its selection: nothing for the reader to say ("unselected").
    if (e->type() == QAccessible::TextSelectionChanged && o && o->isWidgetType() && o != QApplication::focusWidget()) return;
    // What changes on a screen being made ready, or one covered, is not the reader's business: a
    // reader that hears of it late takes a text box's caret for the keyboard's place.
    switch (e->type()) {
    case QAccessible::TextCaretMoved:
    case QAccessible::TextSelectionChanged:
    case QAccessible::TextInserted:
    case QAccessible::TextRemoved:
    case QAccessible::TextUpdated:
    case QAccessible::NameChanged:
    case QAccessible::DescriptionChanged:
    case QAccessible::ValueChanged:
        if (auto* w = qobject_cast<QWidget*>(o); w && !isInFront(w)) return;
        break;
    default:
        break;
    }
    passOn(e);
}
}  // namespace

void installAccessibility() {
    QAccessible::installFactory(factory);
    QAccessible::installUpdateHandler(toReader);
}

void announce(const QString& text) {
    Announcer* a = announcer();
    // The same words twice in one moment (a screen that says them as it loads and as it shows) once.
    static QElapsedTimer lastTime;
    if (a->accessibleName() == text && lastTime.isValid() && lastTime.elapsed() < SameAnnouncementMs) return;
    lastTime.start();
    // A notice that comes into view is read out by a screen reader (Orca reads a notification as it
    // shows; a renamed one, or an alert, it passes over): hidden, renamed and shown again, each time.
    a->hide();
    a->setAccessibleName(text);
    a->show();
    a->spoken.start();
}

QString lastAnnouncement() { return announcer()->accessibleName(); }

void reportShowing(QWidget* screen, bool showing) {
    if (!screen || !QAccessible::isActive()) return;
    QList<QWidget*> widgets = screen->findChildren<QWidget*>();
    widgets.prepend(screen);
    for (QWidget* w : widgets) {
        if (w != screen && !w->isVisibleTo(screen)) continue;  // never shown: nothing to take back
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
        if (!i || (showing && i->state().invisible)) continue;
        QAccessibleEvent e(w, showing ? QAccessible::ObjectShow : QAccessible::ObjectHide);
        QAccessible::updateAccessibility(&e);
    }
}

void reportNameChangesSoon() {
    static bool pending = false;
    if (pending || !(QAccessible::isActive() || nameChangeHook)) return;
    pending = true;
    QTimer::singleShot(0, Stage::instance(), [] {
        pending = false;
        reportNameChanges();
    });
}

std::function<void(QWidget*)> nameChangeHook;

void reportNameChanges() {
    if (!(QAccessible::isActive() || nameChangeHook)) return;
    static QPointer<QWidget> lastFront;
    static QHash<const QWidget*, QString> told;
    auto* form = qobject_cast<Form*>(Stage::instance()->front());
    if (form != lastFront) told.clear();  // a screen brought to the front is read afresh anyway
    lastFront = form;
    if (!form) return;
    QList<QWidget*> widgets = form->findChildren<QWidget*>();
    widgets.prepend(form);
    for (QWidget* w : widgets) {
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
        if (!i) continue;
        const QString name = i->text(QAccessible::Name);
        const auto was = told.constFind(w);
        const bool changed = was != told.cend() && *was != name;
        told.insert(w, name);
        if (!changed) continue;
        QAccessibleEvent e(w, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&e);
        if (nameChangeHook) nameChangeHook(w);
    }
}

QString pageTitle(const Picture& page) { return page.metafile() ? pageTitleOf(*page.metafile()) : QString(); }

}  // namespace platform
