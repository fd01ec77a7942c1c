#pragma once

#include "control/ListInfo.h"

namespace DirectUI {

// What setting one item attribute changed, so that a list and a combo each
// repaint or lay out as they should.
enum ListInfoChange {
    kListInfoNone,         // not an item attribute
    kListInfoSet,          // colours, images, font, alignment
    kListInfoTextColor,    // "itemtextcolor"
    kListInfoTextPadding,  // "itemtextpadding"
    kListInfoShowHtml,     // "itemshowhtml", changed
    kListInfoShowHtmlSame, // "itemshowhtml", as it was
};

// Applies one item setting of the skin ("itemfont", "itemalign",
// "itemtextcolor", ...) to info; "itemendellipsis" only where accepted.
ListInfoChange SetListInfoAttribute(ListInfo& info, LPCWSTR name, LPCWSTR value, bool acceptEndEllipsis);

// An alignment text containing "left", "center" or "right", applied to a
// text style as the list items and header items read it.
void ApplyAlignValue(UINT& style, LPCWSTR value);

} // namespace DirectUI
