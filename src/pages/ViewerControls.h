// The controls both page viewers share: the page caption and the four buttons, in one place.
#pragma once
#include "platform/Accessibility.h"
#include "platform/Form.h"

namespace pages {


// Built after the page pictures, so they lie above the page.
// clang-format off
inline constexpr platform::ControlRow PageControls[] = {
    {.kind = platform::Kind::Label, .name = "Label1", .at = {4200, 7920, 2295, 495}, .font = platform::theme::ButtonFont,
         .fore = platform::Black, .back = platform::White, .flags = platform::Centered},
    {.kind = platform::Kind::Label, .name = "Label3", .index = 0, .caption = "Print", .at = {10680, 120, 1125, 495},
         .font = platform::theme::ButtonFont, .fore = platform::Yellow, .back = platform::Black, .flags = platform::Centered},
    {.kind = platform::Kind::Label, .name = "Label3", .index = 1, .caption = "Exit", .at = {10680, 7920, 1125, 495},
         .font = platform::theme::ButtonFont, .fore = platform::Yellow, .back = platform::Black, .flags = platform::Centered},
    {.kind = platform::Kind::Label, .name = "Label3", .index = 2, .caption = "Next Page", .at = {1320, 7920, 2685, 495},
         .font = platform::theme::ButtonFont, .fore = platform::Yellow, .back = platform::Black, .flags = platform::Centered},
    {.kind = platform::Kind::Label, .name = "Label3", .index = 3, .caption = "Previous Page",
         .at = {6720, 7920, 2685, 495}, .font = platform::theme::ButtonFont, .fore = platform::Yellow, .back = platform::Black,
         .flags = platform::Centered | platform::Disabled},
};
// clang-format on

// "Page 2 of 3", as every viewer's caption reads.
inline QString pageCaption(int page, int pages) {
    return QStringLiteral("Page") + platform::numberText(page) + QStringLiteral(" of") + platform::numberText(pages);
}

// Both viewers turn pages alike: "Previous Page" offered after the first page, "Next Page" before
// the last, and the caption saying where the reader is.
inline void showPageControls(const platform::Ctl<platform::Label>& buttons, const platform::Ctl<platform::Label>& caption,
                             int page, int pages) {
    // The keyboard stays with the page buttons: the one greyed with the keyboard on it hands it to
    // the other (on the last page a second Enter turns back, it does not print).
    const bool next = page < pages, previous = page > 1;
    if (next) buttons(2)->SetEnabled(true);
    if (previous) buttons(3)->SetEnabled(true);
    if (!next && buttons(2)->widget()->hasFocus() && previous) buttons(3)->SetFocus();
    if (!previous && buttons(3)->widget()->hasFocus() && next) buttons(2)->SetFocus();
    buttons(3)->SetEnabled(previous);
    buttons(2)->SetEnabled(next);
    caption->SetCaption(pageCaption(page, pages));
}

// A page turned is said to a screen reader: where the reader is and the page's title.
inline void announcePage(const platform::Ctl<platform::Label>& caption, const platform::Picture& page) {
    const QStringList texts = page.metafile() ? page.metafile()->texts() : QStringList();
    platform::announce(caption->Caption() + (texts.isEmpty() ? QString() : QStringLiteral(". ") + texts.front()));
}

// The pages either side of the one shown are played ahead at the box's scale, so turning to one on
// a whiteboard is a copy rather than a play. The page itself is asked for first: played ahead
// already, it is kept while its neighbours are added. `file(k)` names page k.
template <class File>
void playNeighbours(const platform::PictureBox* box, int page, int pages, File file) {
    for (int k : {page, page + 1, page - 1})
        if (k >= 1 && k <= pages) platform::playAhead(platform::LoadPictureOrEmpty(file(k)), box->widget()->devicePixelRatioF(), box->fill());
}

}  // namespace pages
