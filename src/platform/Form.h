// A screen: a child of the stage with its own border and caption bar, controls built from a table,
// and one global instance reached through a FormRef.
#pragma once
#include "core/StageScale.h"
#include "platform/Controls.h"

#include <QWidget>
#include <map>
#include <span>
#include <vector>

namespace platform {

// One row of a screen's layout table, written with designated initialisers:
//   {.kind = Kind::Image, .name = "Image1", .at = {120, 240, 4800, 3600}, .container = "Frame1"}
enum class Kind { Label, Command, Frame, Image, PictureBox, Shape, TextBox, CheckBox, Option, Timer };
enum Flag { Border = 1, Transparent = 2, Hidden = 4, Disabled = 8, Centered = 16, RightAligned = 32 };
constexpr quint32 DefaultColour = 0xFFFFFFFFu;
struct Geometry {
    float left = 0, top = 0, width = 0, height = 0;
};
struct ControlRow {
    Kind kind = Kind::Label;
    const char* name = "";
    int index = -1;            // -1: not part of an array
    const char* caption = "";  // UTF-8
    Geometry at{};
    FontDesc font{};
    quint32 fore = DefaultColour;
    quint32 back = DefaultColour;
    int flags = 0;
    const char* container = nullptr;  // a frame's name; otherwise the form itself
    int maxLength = 0;                // text boxes: the typing limit
    int interval = 0;                 // timers: milliseconds
};

// Every screen's outer size, in twips: the design's 800 x 600 pixels.
constexpr float FormWidth = float(core::DesignWidth) * TwipsPerPixel, FormHeight = float(core::DesignHeight) * TwipsPerPixel;

class Form : public QWidget {
    Q_OBJECT
public:
    // Border and caption bar around the client area, in pixels.
    static constexpr int BorderPx = 7, CaptionPx = 26;

    explicit Form(float designClientWidth = 11790, float designClientHeight = 8400);

    QString Caption() const { return m_caption; }
    void SetCaption(const QString& c);
    quint32 BackColor() const { return m_back; }
    void SetBackColor(quint32 bgr);
    const Picture& picture() const { return m_picture; }
    void SetPicture(const Picture& p);

    // Outer position and size in twips on the stage.
    float Left() const { return m_left; }
    float Top() const { return m_top; }
    float Width() const { return m_width; }
    float Height() const { return m_height; }
    // clang-format off
    void SetLeft(float v) { m_left = v; place(); }
    void SetTop(float v) { m_top = v; place(); }
    // Centred on a screen of this size in twips; a screen smaller than the form leaves it overhanging.
    void centreOn(double screenWidth, double screenHeight) {
        SetTop(float(screenHeight / 2 - double(Height()) / 2));
        SetLeft(float(screenWidth / 2 - double(Width()) / 2));
    }
    void SetWidth(float v) { m_width = v; place(); }
    void SetHeight(float v) { m_height = v; place(); }
    // clang-format on

    void Show();
    QWidget* clientArea() const { return m_client; }

    // The keyboard's way round the screen: the controls Tab stops on, top to bottom and left to right,
    // leaving out what is hidden or greyed.
    std::vector<Control*> tabOrder() const;
    // A screen whose table gives its own order: these first, in this order, then the others by place.
    void SetTabOrder(std::vector<Control*> order) { m_tabOrder = std::move(order); }
    // The control that takes the keyboard whenever the screen comes to the front (none: the screen itself,
    // until Tab, or the control Tab would reach first when the pupil is using the keyboard).
    void SetDefaultFocus(Control* c) { m_defaultFocus = c; }
    // Where a pupil using the keyboard starts, where the first stop in reading order would be wrong
    // (a button whose Enter prints, above the question's answers).
    void SetKeyboardStart(Control* c) { m_keyboardStart = c; }
    // The control Escape clicks, where it is not the screen's "Exit".
    void SetCancelControl(Control* c) { m_cancel = c; }
    // Gives the keyboard to the screen as it comes to the front.
    void takeFocus(bool keyboardUser);

    virtual void Form_Load() {}
    virtual void Form_MouseMove(int /*button*/, int /*shift*/, float /*x*/, float /*y*/) {}

    // Controls by name and index; a name that is not on the form fails like any other error.
    Control* control(const QString& name, int index = -1) const;
    // The same, or null where the screen has no such control.
    Control* find(const QString& name, int index = -1) const;
    template <class T>
    T* ctl(const QString& name, int index = -1) const {
        auto* c = dynamic_cast<T*>(control(name, index));
        if (!c) throw RuntimeError(ErrNoControl, QStringLiteral("Control %1 is of another kind").arg(name));
        return c;
    }
    std::vector<int> indices(const QString& name) const;  // ascending
    Timer* timer(const QString& name) const;

    // Unloading: stops the timers, takes the screen away, and deletes it once its own handler is done.
    void destroyForm();

    // Every handle the screen's code names (Ctl<>) notes its name here; once the screen is built,
    // a name that no control answers to stops the program at once, so a misspelling never ships.
    void noteHandle(const QString& name) const { m_handles.push_back(name); }
    void checkHandles() const;

protected:
    void build(std::span<const ControlRow> table);
    void build(std::initializer_list<ControlRow> table) { build(std::span(table.begin(), table.size())); }
    void paintEvent(QPaintEvent*) override;
    bool focusNextPrevChild(bool next) override;
    // Escape does what the screen's "Exit" does.
    void keyPressEvent(QKeyEvent* e) override;

private:
    void place();
    QWidget* m_client;
    QString m_caption;
    quint32 m_back = theme::ButtonFace;
    Picture m_picture;
    Control* m_defaultFocus = nullptr;
    Control* m_keyboardStart = nullptr;
    Control* m_cancel = nullptr;
    std::vector<Control*> m_tabOrder;
    float m_left = 0, m_top = 0, m_width, m_height;
    std::map<std::pair<QString, int>, Control*> m_controls;
    std::map<QString, Timer*> m_timers;
    mutable std::vector<QString> m_handles;
};

// A control, control array or timer of a form, named as the screen's code names it.
template <class T>
class Ctl {
public:
    Ctl(const Form* f, const char* name) : m_form(f), m_name(QString::fromLatin1(name)) { f->noteHandle(m_name); }
    T* operator->() const {
        if constexpr (std::is_same_v<T, Timer>)
            return m_form->timer(m_name);
        else
            return m_form->ctl<T>(m_name);
    }
    T* operator()(int index) const { return m_form->ctl<T>(m_name, index); }
    T* operator()() const { return m_form->ctl<T>(m_name); }
    std::vector<int> indices() const { return m_form->indices(m_name); }
    // The hover highlight taken off every element, as the pointer moves over the bare screen.
    void unhover() const {
        for (int i : indices()) (*this)(i)->SetBackStyle(0);
    }
    // Binds an event of every element of the array to a procedure that takes the index.
    void onClick(const std::function<void(int)>& f) const {
        for (int i : indices()) (*this)(i)->onClick = [f, i] { f(i); };
    }
    void onMouseMove(const std::function<void(int)>& f) const {
        for (int i : indices()) (*this)(i)->onMouseMove = [f, i](int, int, float, float) { f(i); };
    }
    using MouseEvent = std::function<void(int index, int button, int shift, float x, float y)>;
    void onMouseDown(const MouseEvent& f) const { bind(&Control::onMouseDown, f); }
    void onMouseMove(const MouseEvent& f) const { bind(&Control::onMouseMove, f); }
    void onMouseUp(const MouseEvent& f) const { bind(&Control::onMouseUp, f); }

private:
    void bind(std::function<void(int, int, float, float)> Control::*event, const MouseEvent& f) const {
        for (int i : indices())
            (*this)(i)->*event = [f, i](int button, int shift, float x, float y) { f(i, button, shift, x, y); };
    }
    const Form* m_form;
    QString m_name;
};

// The one global instance of a form, created with its load event on first reference.
class FormRefBase {
public:
    FormRefBase();
    virtual ~FormRefBase() = default;
    virtual void unload() = 0;
    virtual bool loaded() const = 0;
    static void unloadAll();  // tests start each case from no screens
};

template <class T>
class FormRef final : public FormRefBase {
public:
    T* operator->() { return get(); }
    T& operator*() { return *get(); }
    T* get() {
        if (!m_p) {
            m_p = new T();
            if constexpr (std::is_base_of_v<Form, T>) m_p->checkHandles();
            ++m_loads;
            m_p->Form_Load();
        }
        return m_p;
    }
    bool loaded() const override { return m_p != nullptr; }
    T* instance() const { return m_p; }  // without loading
    void unload() override {
        if (!m_p) return;
        T* p = m_p;
        m_p = nullptr;
        p->destroyForm();
    }
    int loads() const { return m_loads; }  // how many times the load event ran
private:
    T* m_p = nullptr;
    int m_loads = 0;
};

}  // namespace platform
