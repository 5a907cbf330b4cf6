// The one owner of the screens: which are open, the order they were brought forward in, who opened
// whom, and which close together. Screens ask it to open, return and close; nothing else creates or
// destroys a screen, and touching a screen never opens it.
#pragma once
#include "platform/screen/Form.h"

#include <functional>
#include <typeindex>
#include <utility>
#include <vector>

namespace platform {

class Navigator {
public:
    Navigator() = default;
    Navigator(const Navigator&) = delete;
    Navigator& operator=(const Navigator&) = delete;
    ~Navigator();

    // The screen of this kind, created and prepared (unseen) if it is not open. A screen made for what
    // it shows (one screen for several boards) is given that as it is made.
    template <class T, class... Args> T& open(Args&&... made) {
        if (T* s = find<T>()) return *s;
        T* s = new T(std::forward<Args>(made)...);
        std::function<Form*()> again;  // what a return to it makes anew: only a screen made from nothing
        if constexpr (sizeof...(Args) == 0) again = [] { return static_cast<Form*>(new T()); };
        add(typeid(T), s, std::move(again));
        s->prepare();
        return *s;
    }
    // Opened if need be, then brought to the front; the screen in front until now is its opener.
    template <class T> T& show() {
        T& s = open<T>();
        bringForward(&s);
        return s;
    }
    // The open screen of this kind. Reaching one that is not open is a fault in the program, stopped
    // at once with the screen's name, never a silent open.
    template <class T> T& get() const {
        if (T* s = find<T>()) return *s;
        notOpen(typeid(T));
    }
    template <class T> T* find() const { return static_cast<T*>(screenOf(typeid(T))); }
    template <class T> bool isOpen() const { return find<T>() != nullptr; }
    // How many times a screen of this kind was opened since the program started.
    template <class T> int opens() const { return opensOf(typeid(T)); }

    // Closes a screen and every screen that closes with it.
    template <class T> void close() { close(find<T>()); }
    void close(Form* screen);
    // Closes `screen` and brings back the screen that opened it (opening it again if it was closed).
    void returnFrom(Form* screen);
    // `member` closes whenever `screen` does, and `screen` whenever `member` does (the score screen
    // and its review of wrong answers).
    void closeTogether(Form* screen, Form* member);
    // Closes every screen (tests start each case from none; the program as it ends).
    void closeAll();

    // The open screens, in the order they were brought forward (the front one last).
    const std::vector<Form*>& order() const { return m_order; }

private:
    struct Entry {
        std::type_index kind;
        Form* screen;
        std::type_index openedFrom = typeid(void);
        std::vector<Form*> together;
    };
    // What is known of a kind of screen for the whole run, open or not.
    struct KindSeen {
        std::type_index kind;
        int opens = 0;
        std::function<Form*()> make;  // a new one of its kind, for a return to a closed opener
    };
    void add(std::type_index kind, Form* screen, std::function<Form*()> make);
    void bringForward(Form* screen);
    Form* screenOf(std::type_index kind) const;
    int opensOf(std::type_index kind) const;
    Entry* entryOf(const Form* screen);
    KindSeen* seen(std::type_index kind);
    [[noreturn]] static void notOpen(std::type_index kind);
    std::vector<Entry> m_open;
    std::vector<Form*> m_order;
    std::vector<KindSeen> m_kinds;
};

// The stage's navigator.
Navigator& screens();

}  // namespace platform
