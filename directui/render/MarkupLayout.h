#pragma once

#include "core/UIString.h"
#include "manager/FontEntry.h"

namespace DirectUI {

class CWindowUIManager;

// Lays out and draws text with inline markup ({b}, {c #AARRGGBB}, {a id},
// {n}, ...). Every line is laid out twice from the same saved state: once to
// find its height, once to draw it on a shared bottom line.
class CMarkupLayout
{
public:
    enum { kMaxDepth = 32 };

    CMarkupLayout(HDC dc, CWindowUIManager* manager, DWORD color, RECT* links, CUIString* linkNames, int linkSlots,
                  UINT style);

    // Lays out text in rc; answers the number of links found. With
    // DT_CALCRECT, rc receives the extent and nothing is drawn.
    int Run(RECT& rc, LPCWSTR text);

private:
    struct State
    {
        LPCWSTR p;
        FontEntry* font;
        DWORD color;
        int spacing;
        bool raw;
        bool selected;
        bool inLink;
        LPCWSTR linkName;
        int linkNameLength;
        int linkStartX;
        int fontDepth;
        FontEntry* fonts[kMaxDepth];
        int colorDepth;
        DWORD colors[kMaxDepth];
        int paraDepth;
        int paras[kMaxDepth];
    };

    enum TagOutcome { kTagGoOn, kTagBreakAfter, kTagBreakBefore };

    // Lays out one line from st.p; answers false when no text is left.
    bool Line(State& st, bool draw, int top, int& height, int& width);
    TagOutcome Tag(State& st, bool draw, bool closer, WCHAR letter, LPCWSTR args, int argsLength, int top,
                   int& height, int& x, bool lineEmpty);
    int FontLineHeight(const FontEntry* font) const;
    FontEntry* StyledFont(FontEntry* base, bool bold, bool underline, bool italic);
    FontEntry* FontFromArgs(FontEntry* base, const CUIString& args);
    void PushFont(State& st, FontEntry* font);
    void PopFont(State& st, int& x);
    void PushColor(State& st, DWORD color);
    void PopColor(State& st);
    void RecordLink(State& st, int top, int height, int x);
    void Select(const State& st);
    bool InlineImage(State& st, bool draw, const CUIString& args, int top, int& height, int& x, bool lineEmpty,
                     bool& breakBefore);

    HDC m_dc;
    CWindowUIManager* m_manager;
    DWORD m_color;
    RECT* m_links;
    CUIString* m_linkNames;
    int m_linkSlots;
    int m_linkCount;
    UINT m_style;
    RECT m_rc;
    CUIString m_hoverLink;
    bool m_hoverFound;
};

} // namespace DirectUI
