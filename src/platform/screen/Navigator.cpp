#include "platform/screen/Navigator.h"
#include "platform/screen/Stage.h"

#include <QByteArray>
#include <algorithm>
#include <cxxabi.h>
#include <memory>

namespace platform {

Navigator& screens() { return Stage::instance()->navigator(); }

Navigator::~Navigator() { closeAll(); }

Navigator::KindSeen* Navigator::seen(std::type_index kind) {
    const auto k = std::find_if(m_kinds.begin(), m_kinds.end(), [&](const KindSeen& x) { return x.kind == kind; });
    return k == m_kinds.end() ? nullptr : &*k;
}

void Navigator::add(std::type_index kind, Form* screen, std::function<Form*()> make) {
    m_open.push_back({kind, screen, typeid(void), {}});
    KindSeen* k = seen(kind);
    if (!k) k = &m_kinds.emplace_back(KindSeen{kind, 0, {}});
    ++k->opens;
    if (!k->make) k->make = std::move(make);
}

Form* Navigator::screenOf(std::type_index kind) const {
    const auto e = std::find_if(m_open.begin(), m_open.end(), [&](const Entry& x) { return x.kind == kind; });
    return e == m_open.end() ? nullptr : e->screen;
}

int Navigator::opensOf(std::type_index kind) const {
    for (const KindSeen& k : m_kinds)
        if (k.kind == kind) return k.opens;
    return 0;
}

Navigator::Entry* Navigator::entryOf(const Form* screen) {
    const auto e = std::find_if(m_open.begin(), m_open.end(), [&](const Entry& x) { return x.screen == screen; });
    return e == m_open.end() ? nullptr : &*e;
}

void Navigator::bringForward(Form* screen) {
    Entry* e = entryOf(screen);
    // The screen in front as this one first comes forward is the one it returns to.
    if (e && e->openedFrom == typeid(void) && !m_order.empty() && m_order.back() != screen)
        if (const Entry* from = entryOf(m_order.back())) e->openedFrom = from->kind;
    m_order.erase(std::remove(m_order.begin(), m_order.end(), screen), m_order.end());
    m_order.push_back(screen);
    screen->showInFront();
}

void Navigator::close(Form* screen) {
    Entry* e = entryOf(screen);
    if (!e) return;
    const std::vector<Form*> together = e->together;
    m_open.erase(m_open.begin() + (e - m_open.data()));
    m_order.erase(std::remove(m_order.begin(), m_order.end(), screen), m_order.end());
    screen->destroyForm();
    for (Form* member : together) close(member);
}

void Navigator::returnFrom(Form* screen) {
    const Entry* e = entryOf(screen);
    const std::type_index back = e ? e->openedFrom : std::type_index(typeid(void));
    if (Form* open = screenOf(back)) {
        bringForward(open);
    } else if (const KindSeen* k = seen(back); k && k->make) {
        const std::function<Form*()> make = k->make;
        Form* s = make();
        add(back, s, make);
        s->prepare();
        bringForward(s);
    }
    close(screen);
}

void Navigator::closeTogether(Form* screen, Form* member) {
    Entry *a = entryOf(screen), *b = entryOf(member);
    if (!a || !b || a == b) return;
    if (std::find(a->together.begin(), a->together.end(), member) == a->together.end()) a->together.push_back(member);
    if (std::find(b->together.begin(), b->together.end(), screen) == b->together.end()) b->together.push_back(screen);
}

void Navigator::closeAll() {
    while (!m_open.empty()) close(m_open.back().screen);
}

void Navigator::notOpen(std::type_index kind) {
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> name(abi::__cxa_demangle(kind.name(), nullptr, nullptr, &status),
                                                           &std::free);
    qFatal("A screen was reached before it was opened: %s", status == 0 ? name.get() : kind.name());
}

}  // namespace platform
