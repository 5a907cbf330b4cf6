#include "platform/screen/ScreenProbe.h"

#include <xcb/randr.h>
#include <xcb/xcb.h>
#include <cstdlib>
#include <memory>

namespace platform {

namespace {
template <class T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;
template <class T>
Reply<T> reply(T* r) {
    return Reply<T>(r, &std::free);
}
}  // namespace

std::vector<ProbedScreen> probeXScreens() {
    std::vector<ProbedScreen> out;
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) return out;
    int number = 0;
    xcb_connection_t* c = xcb_connect(display, &number);
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> closer(c, &xcb_disconnect);
    if (xcb_connection_has_error(c)) return out;
    xcb_screen_iterator_t roots = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < number && roots.rem; ++i) xcb_screen_next(&roots);
    if (!roots.rem) return out;
    const xcb_screen_t* root = roots.data;

    // Monitors (RandR 1.5), which Qt takes as its screens; a server without them is one screen.
    const auto version = reply(xcb_randr_query_version_reply(c, xcb_randr_query_version(c, 1, 5), nullptr));
    if (version && (version->major_version > 1 || version->minor_version >= 5)) {
        const auto monitors = reply(xcb_randr_get_monitors_reply(c, xcb_randr_get_monitors(c, root->root, 1), nullptr));
        if (monitors) {
            for (auto it = xcb_randr_get_monitors_monitors_iterator(monitors.get()); it.rem; xcb_randr_monitor_info_next(&it)) {
                ProbedScreen s;
                s.width = it.data->width;
                s.height = it.data->height;
                if (const auto name = reply(xcb_get_atom_name_reply(c, xcb_get_atom_name(c, it.data->name), nullptr)))
                    s.name.assign(xcb_get_atom_name_name(name.get()), size_t(xcb_get_atom_name_name_length(name.get())));
                out.push_back(std::move(s));
            }
            if (!out.empty()) return out;
        }
    }
    out.push_back({{}, root->width_in_pixels, root->height_in_pixels});
    return out;
}

}  // namespace platform
