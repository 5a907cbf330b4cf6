// A screen: a child of the stage with its own border and caption bar, controls built from a table.
// The stage's navigator opens and closes it.
#pragma once
#include "core/StageScale.h"
#include "platform/screen/Controls.h"

#include <QWidget>
#include <span>
#include <vector>

namespace platform {

// One row of a screen's layout table, written with designated initialisers:
//   {.at = {120, 240, 4800, 3600}, .to = slot<&Controls::portrait>, .container = container<&Controls::panel>}
//   {.kind = Kind::Label, .caption = "Mathematics through history", .at = {360, 5040, 4695, 375}}
// `.to` names the member of the screen's struct of handles that build() fills with the control, and
// the control is of that member's type; a row nobody refers to names its kind instead. A table given
// to build<Table>() is checked as the program compiles: a row with a handle that also names a kind
// does not build.
enum class Kind { OfHandle, Label, Command, Frame, Image, PictureBox, Shape, TextBox, CheckBox, Option, Choice, Table, Timer };
// Hover: a menu entry lit (opaque) while the pointer is on it, and put out as it moves over the bare screen.
// Stretch: an image scaled to fit its box whole, keeping its proportions (a portrait shown small).
enum Flag { Border = 1, Transparent = 2, Hidden = 4, Disabled = 8, Centered = 16, RightAligned = 32, Hover = 64, Stretch = 128 };
constexpr quint32 DefaultColour = 0xFFFFFFFFu;
struct Geometry {
    float left = 0, top = 0, width = 0, height = 0;
};
// The handle structs a build fills (a screen's own, and a base screen's), each known by its type.
struct HandleSet {
    const void* const* tags;
    void* const* objects;
    size_t count;
    void* find(const void* tag) const {
        for (size_t i = 0; i < count; ++i)
            if (tags[i] == tag) return objects[i];
        return nullptr;
    }
};
template <class H> inline constexpr char handleTag = 0;
// Where build() puts a control, and so the control's kind (never OfHandle where a handle is named:
// the table check reads the kind, as a function's address is not a constant under the sanitizers).
struct Slot {
    Kind kind = Kind::OfHandle;
    void (*fill)(const HandleSet& handles, Control* control, Timer* timer, int index) = nullptr;
};
using Container = QWidget* (*)(const HandleSet& handles);
struct ControlRow {
    Kind kind = Kind::OfHandle;  // only for a row without a handle
    int index = -1;              // an element of an array of handles; -1: a single control
    const char* caption = "";  // UTF-8
    Geometry at{};
    FontDesc font{};
    quint32 fore = DefaultColour;
    quint32 back = DefaultColour;
    int flags = 0;
    Slot to{};                      // where build() puts the control
    Container container = nullptr;  // the frame it lies in; otherwise the form itself
    int maxLength = 0;              // text boxes: the typing limit
    int interval = 0;               // timers: milliseconds
};

namespace detail {
template <class H, class F> H handlesOf(F H::*);
// The kind of control a handle of this type holds; a handle of any other type does not build.
template <class T> consteval Kind kindOf() {
    if constexpr (std::is_same_v<T, Label>) return Kind::Label;
    else if constexpr (std::is_same_v<T, CommandButton>) return Kind::Command;
    else if constexpr (std::is_same_v<T, Frame>) return Kind::Frame;
    else if constexpr (std::is_same_v<T, Image>) return Kind::Image;
    else if constexpr (std::is_same_v<T, PictureBox>) return Kind::PictureBox;
    else if constexpr (std::is_same_v<T, Shape>) return Kind::Shape;
    else if constexpr (std::is_same_v<T, TextBox>) return Kind::TextBox;
    else if constexpr (std::is_same_v<T, CheckBox>) return Kind::CheckBox;
    else if constexpr (std::is_same_v<T, OptionButton>) return Kind::Option;
    else if constexpr (std::is_same_v<T, ChoiceBox>) return Kind::Choice;
    else if constexpr (std::is_same_v<T, TableBox>) return Kind::Table;
    else if constexpr (std::is_same_v<T, Timer>) return Kind::Timer;
    else static_assert(sizeof(T) == 0, "a handle must be a pointer to one of the controls");
}
template <class F> struct HandleType { using type = std::remove_pointer_t<F>; };
template <class E, size_t N> struct HandleType<std::array<E, N>> { using type = std::remove_pointer_t<E>; };
template <auto Member> using ControlOf =
    typename HandleType<std::remove_cvref_t<decltype(std::declval<decltype(handlesOf(Member))&>().*Member)>>::type;
template <class T> T* as(Control* c, Timer* t) {
    if constexpr (std::is_same_v<T, Timer>)
        return t;
    else
        return static_cast<T*>(c);
}
[[noreturn]] void badSlot(const char* why);
template <class H> H& handlesIn(const HandleSet& set) {
    void* h = set.find(&handleTag<H>);
    if (!h) badSlot("a control into handles it was not given");
    return *static_cast<H*>(h);
}
template <auto Member> void fill(const HandleSet& handles, Control* c, Timer* t, int index) {
    auto& field = handlesIn<decltype(handlesOf(Member))>(handles).*Member;
    using F = std::remove_reference_t<decltype(field)>;
    if constexpr (std::is_pointer_v<F>) {
        field = as<std::remove_pointer_t<F>>(c, t);
    } else {
        if (index < 0 || size_t(index) >= field.size()) badSlot("an index outside its array");
        field[size_t(index)] = as<std::remove_pointer_t<typename F::value_type>>(c, t);
    }
}
// Each row names its kind once: by its handle, or (without one) by `.kind`.
consteval bool kindsNamedOnce(std::span<const ControlRow> table) {
    for (const ControlRow& row : table)
        if ((row.to.kind != Kind::OfHandle) == (row.kind != Kind::OfHandle)) return false;
    return true;
}
template <auto Member> QWidget* frameOf(const HandleSet& handles) {
    return (handlesIn<decltype(handlesOf(Member))>(handles).*Member)->widget();
}
}  // namespace detail
template <auto Member> constexpr Slot slot{detail::kindOf<detail::ControlOf<Member>>(), &detail::fill<Member>};
template <auto Member> constexpr Container container = &detail::frameOf<Member>;

// Every screen's outer size, in twips: the design's 800 x 600 pixels.
constexpr float FormWidth = float(core::DesignWidth) * TwipsPerPixel, FormHeight = float(core::DesignHeight) * TwipsPerPixel;

class Form : public QWidget {
    Q_OBJECT
public:
    // Border and caption bar around the client area, in pixels.
    static constexpr int BorderPx = 7, CaptionPx = 26;

    explicit Form(float designClientWidth = 11790, float designClientHeight = 8400);

    QString text() const { return m_caption; }
    void setText(const QString& c);
    quint32 backColor() const { return m_back; }
    void setBackColor(quint32 bgr);
    const Picture& picture() const { return m_picture; }
    void setPicture(const Picture& p);

    // Outer position and size in twips on the stage.
    float leftTwips() const { return m_left; }
    float topTwips() const { return m_top; }
    float widthTwips() const { return m_width; }
    float heightTwips() const { return m_height; }
    // clang-format off
    void setLeftTwips(float v) { m_left = v; place(); }
    void setTopTwips(float v) { m_top = v; place(); }
    // Centred on a screen of this size in twips; a screen smaller than the form leaves it overhanging.
    void centreOn(double screenWidth, double screenHeight) {
        setTopTwips(float(screenHeight / 2 - double(heightTwips()) / 2));
        setLeftTwips(float(screenWidth / 2 - double(widthTwips()) / 2));
    }
    void setWidthTwips(float v) { m_width = v; place(); }
    void setHeightTwips(float v) { m_height = v; place(); }
    // clang-format on

    void showInFront();
    QWidget* clientArea() const { return m_client; }

    // The keyboard's way round the screen: the controls Tab stops on, top to bottom and left to right,
    // leaving out what is hidden or greyed.
    std::vector<Control*> tabOrder() const;
    // A screen whose table gives its own order: these first, in this order, then the others by place.
    void setKeyboardOrder(std::vector<Control*> order) { m_tabOrder = std::move(order); }
    // The control that takes the keyboard whenever the screen comes to the front (none: the screen itself,
    // until Tab, or the control Tab would reach first when the pupil is using the keyboard).
    void setDefaultFocus(Control* c) { m_defaultFocus = c; }
    // Where a pupil using the keyboard starts, where the first stop in reading order would be wrong
    // (a button whose Enter prints, above the question's answers).
    void setKeyboardStart(Control* c) { m_keyboardStart = c; }
    // The control Escape clicks (none: Escape does nothing on this screen).
    void setCancelControl(Control* c) { m_cancel = c; }
    // Escape, as the stage hands it to the screen in front: clicks the cancel control if it can be clicked.
    void cancel();
    // Gives the keyboard to the screen as it comes to the front.
    void takeFocus(bool keyboardUser);

    // Run once as the navigator opens the screen, before it is first shown: prepares the frame.
    virtual void prepare() {}
    virtual void clientMouseMove(int /*button*/, int /*shift*/, float /*x*/, float /*y*/) {}

    // Unloading: stops the timers, takes the screen away, and deletes it once its own handler is done.
    void destroyForm();

    // Every control of the screen, in the order it was built (later ones lie above earlier ones).
    const std::vector<Control*>& controlList() const { return m_controls; }
    // Puts out the hover highlight of every menu entry, as the pointer moves over the bare screen.
    void unhover();
    // What a screen reader calls the screen (its heading, say); none: the program's name.
    std::function<QString()> screenName;

protected:
    // Builds the table's controls onto the screen, each into the handle its row names, in whichever
    // of the given handle structs holds it.
    template <class... Handles> void build(std::span<const ControlRow> table, Handles&... handles) {
        const void* const tags[] = {&handleTag<Handles>..., nullptr};
        void* const objects[] = {&handles..., nullptr};
        buildRows(table, HandleSet{tags, objects, sizeof...(Handles)});
    }
    template <class... Handles> void build(std::initializer_list<ControlRow> table, Handles&... handles) {
        build(std::span(table.begin(), table.size()), handles...);
    }
    // A screen's constant table, checked as it compiles.
    template <const auto& Table, class... Handles> void build(Handles&... handles) {
        static_assert(detail::kindsNamedOnce(Table), "a layout row names its kind twice (by .kind and by its handle) or not at all");
        build(std::span<const ControlRow>(Table), handles...);
    }
    void paintEvent(QPaintEvent*) override;
    bool focusNextPrevChild(bool next) override;

private:
    void buildRows(std::span<const ControlRow> table, const HandleSet& handles);
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
    std::vector<Control*> m_controls;
    std::vector<Timer*> m_timers;
};

}  // namespace platform
