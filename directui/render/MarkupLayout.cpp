#include "render/MarkupLayout.h"

#include "core/SkinValues.h"
#include "manager/WindowUIManager.h"
#include "render/ClipScope.h"
#include "render/GdiPainter.h"

#include <string.h>
#include <wctype.h>

namespace DirectUI {

namespace {

const UINT kAlignFlags = DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM;

bool IsTagEnd(WCHAR ch)
{
    return ch == L'>' || ch == L'}';
}

// Splits "key='value'" pairs and bare words of tag arguments.
CUIString TakeWord(LPCWSTR& p)
{
    while (*p != L'\0' && *p <= L' ') ++p;
    LPCWSTR start = p;
    while (*p != L'\0' && *p > L' ') ++p;
    return CUIString(start, static_cast<int>(p - start));
}

bool QuotedValue(const CUIString& args, LPCWSTR key, CUIString& value)
{
    int at = args.Find(key);
    if (at < 0) return false;
    LPCWSTR p = args.GetData() + at + wcslen(key);
    if (*p != L'=' || p[1] != L'\'') return false;
    p += 2;
    LPCWSTR start = p;
    while (*p != L'\0' && *p != L'\'') ++p;
    value = CUIString(start, static_cast<int>(p - start));
    return true;
}

} // namespace

CMarkupLayout::CMarkupLayout(HDC dc, CWindowUIManager* manager, DWORD color, RECT* links, CUIString* linkNames,
                             int linkSlots, UINT style)
    : m_dc(dc), m_manager(manager), m_color(color), m_links(links), m_linkNames(linkNames),
      m_linkSlots(links != NULL && linkSlots > 0 ? linkSlots : 0), m_linkCount(0), m_style(style),
      m_hoverFound(false)
{
    SetRectEmpty(&m_rc);
}

int CMarkupLayout::FontLineHeight(const FontEntry* font) const
{
    return font != NULL ? font->tm.tmHeight + font->tm.tmExternalLeading : 0;
}

FontEntry* CMarkupLayout::StyledFont(FontEntry* base, bool bold, bool underline, bool italic)
{
    if (base == NULL) return base;
    HFONT font = m_manager->FindFont(base->sFontName, base->iSize, bold, underline, italic);
    if (font == NULL) font = m_manager->AddFont(base->sFontName, base->iSize, bold, underline, italic);
    return font != NULL ? m_manager->GetFontEntry(font) : base;
}

FontEntry* CMarkupLayout::FontFromArgs(FontEntry* base, const CUIString& args)
{
    LPCWSTR p = args.GetData();
    CUIString first = TakeWord(p);
    if (first.IsEmpty()) return base;
    if (first.GetAt(0) >= L'0' && first.GetAt(0) <= L'9') return m_manager->GetFontEntry(ParseIntValue(first));
    int size = 10;
    CUIString second = TakeWord(p);
    if (!second.IsEmpty()) size = ParseIntValue(second);
    CUIString words(p);
    words.MakeLower();
    bool bold = words.Find(L"bold") >= 0;
    bool underline = words.Find(L"underline") >= 0;
    bool italic = words.Find(L"italic") >= 0;
    HFONT font = m_manager->FindFont(first, size, bold, underline, italic);
    if (font == NULL) font = m_manager->AddFont(first, size, bold, underline, italic);
    return font != NULL ? m_manager->GetFontEntry(font) : base;
}

void CMarkupLayout::PushFont(State& st, FontEntry* font)
{
    if (st.fontDepth < kMaxDepth) st.fonts[st.fontDepth] = st.font;
    ++st.fontDepth;
    st.font = font;
}

void CMarkupLayout::PopFont(State& st, int& x)
{
    // An unmatched closer has nothing to restore.
    if (st.fontDepth == 0) return;
    --st.fontDepth;
    if (st.fontDepth >= kMaxDepth) return;
    FontEntry* closed = st.font;
    st.font = st.fonts[st.fontDepth];
    if (closed != NULL && closed->bItalic && st.font != NULL && !st.font->bItalic) {
        ABC abc;
        HGDIOBJ old = SelectObject(m_dc, closed->hFont);
        if (GetCharABCWidthsW(m_dc, L' ', L' ', &abc)) x += abc.abcC / 2;
        SelectObject(m_dc, old);
    }
}

void CMarkupLayout::PushColor(State& st, DWORD color)
{
    if (st.colorDepth < kMaxDepth) st.colors[st.colorDepth] = st.color;
    ++st.colorDepth;
    st.color = color;
}

void CMarkupLayout::PopColor(State& st)
{
    if (st.colorDepth == 0) return;
    --st.colorDepth;
    if (st.colorDepth < kMaxDepth) st.color = st.colors[st.colorDepth];
}

void CMarkupLayout::RecordLink(State& st, int top, int height, int x)
{
    // Only as many links as the caller has slots for.
    if (m_linkCount >= m_linkSlots) return;
    SetRect(&m_links[m_linkCount], st.linkStartX, top, x, top + height);
    if (m_linkNames != NULL) m_linkNames[m_linkCount] = CUIString(st.linkName, st.linkNameLength);
    ++m_linkCount;
}

void CMarkupLayout::Select(const State& st)
{
    if (st.font != NULL) SelectObject(m_dc, st.font->hFont);
    SetTextColor(m_dc, ArgbToColorRef(st.color));
    SetBkMode(m_dc, st.selected ? OPAQUE : TRANSPARENT);
}

bool CMarkupLayout::InlineImage(State& st, bool draw, const CUIString& args, int top, int& height, int& x,
                                bool lineEmpty, bool& breakBefore)
{
    breakBefore = false;
    CUIString name, type;
    LPCWSTR rest = NULL;
    int count = 1, index = 0;
    if (QuotedValue(args, L"file", name)) {
        CUIString res;
        if (QuotedValue(args, L"res", res)) name = res;
        QuotedValue(args, L"restype", type);
        // Counts follow the last quoted value.
        int lastQuote = args.ReverseFind(L'\'');
        rest = args.GetData() + (lastQuote >= 0 ? lastQuote + 1 : args.GetLength());
    } else {
        LPCWSTR p = args.GetData();
        name = TakeWord(p);
        rest = p;
    }
    CUIString countText = TakeWord(rest);
    if (!countText.IsEmpty()) count = ParseIntValue(countText);
    CUIString indexText = TakeWord(rest);
    if (!indexText.IsEmpty()) index = ParseIntValue(indexText);
    if (count < 1) count = 1;
    if (index < 0 || index >= count) index = 0;

    ImageEntry* image = m_manager->GetImageOrLoad(name, type.IsEmpty() ? NULL : type.GetData());
    if (image == NULL) return false;
    int sliceWidth = image->nWidth / count;
    int imageHeight = image->nHeight;
    if (x + sliceWidth > m_rc.right && !lineEmpty) {
        breakBefore = true;
        return false;
    }
    if (!draw) {
        if (imageHeight > height) height = imageHeight;
    } else {
        RECT dest = { x, top + height - imageHeight, x + sliceWidth, top + height };
        RECT source = { index * sliceWidth, 0, (index + 1) * sliceWidth, imageHeight };
        RECT corners = { 0, 0, 0, 0 };
        CGdiPainter::DrawImage(m_dc, image->hBitmap, dest, m_rc, source, corners, image->bAlpha);
    }
    x += sliceWidth;
    return true;
}

CMarkupLayout::TagOutcome CMarkupLayout::Tag(State& st, bool draw, bool closer, WCHAR letter, LPCWSTR args,
                                             int argsLength, int top, int& height, int& x, bool lineEmpty)
{
    CUIString text(args, argsLength);
    bool singleLine = (m_style & DT_SINGLELINE) != 0;
    if (closer) {
        switch (letter) {
        case L'a':
            if (st.inLink) {
                if (draw) RecordLink(st, top, height, x);
                st.inLink = false;
            }
            PopColor(st);
            PopFont(st, x);
            break;
        case L'b':
        case L'f':
        case L'i':
        case L'u':
            PopFont(st, x);
            break;
        case L'c':
            PopColor(st);
            break;
        case L'p':
            if (st.paraDepth > 0) {
                --st.paraDepth;
                st.spacing = st.paraDepth > 0 && st.paraDepth <= kMaxDepth ? st.paras[st.paraDepth - 1] : 0;
            }
            return singleLine ? kTagGoOn : kTagBreakAfter;
        case L's':
            st.selected = false;
            break;
        default:
            break;
        }
        return kTagGoOn;
    }

    switch (letter) {
    case L'a': {
        LPCWSTR p = text.GetData();
        while (*p != L'\0' && *p <= L' ') ++p;
        LPCWSTR end = p;
        while (*end != L'\0' && *end > L' ') ++end;
        // The name points into the caller's text, which outlives the layout.
        st.linkName = args + (p - text.GetData());
        st.linkNameLength = static_cast<int>(end - p);
        bool hover = m_hoverFound && m_hoverLink == CUIString(st.linkName, st.linkNameLength).GetData();
        PushColor(st, hover ? m_manager->GetDefaultLinkHoverFontColor() : m_manager->GetDefaultLinkFontColor());
        FontEntry* font = st.font;
        PushFont(st, font != NULL ? StyledFont(font, font->bBold, true, font->bItalic) : font);
        st.inLink = true;
        st.linkStartX = x;
        break;
    }
    case L'b': {
        FontEntry* font = st.font;
        PushFont(st, font != NULL ? StyledFont(font, true, font->bUnderline, font->bItalic) : font);
        break;
    }
    case L'c':
        PushColor(st, ParseColorValue(text));
        break;
    case L'f':
        PushFont(st, FontFromArgs(st.font, text));
        break;
    case L'i': {
        LPCWSTR p = text.GetData();
        if (TakeWord(p).IsEmpty()) {
            FontEntry* font = st.font;
            PushFont(st, font != NULL ? StyledFont(font, font->bBold, font->bUnderline, true) : font);
        } else {
            bool breakBefore = false;
            InlineImage(st, draw, text, top, height, x, lineEmpty, breakBefore);
            if (breakBefore) return kTagBreakBefore;
            return kTagGoOn;
        }
        break;
    }
    case L'n':
        return singleLine ? kTagGoOn : kTagBreakAfter;
    case L'p': {
        int spacing = ParseIntValue(text);
        if (st.paraDepth < kMaxDepth) st.paras[st.paraDepth] = spacing;
        ++st.paraDepth;
        st.spacing = spacing;
        if (!lineEmpty && !singleLine) return kTagBreakAfter;
        break;
    }
    case L'r':
        st.raw = true;
        break;
    case L's':
        st.selected = true;
        break;
    case L'u': {
        FontEntry* font = st.font;
        PushFont(st, font != NULL ? StyledFont(font, font->bBold, true, font->bItalic) : font);
        break;
    }
    case L'x':
        x += ParseIntValue(text);
        break;
    case L'y':
        if (!draw) height = ParseIntValue(text);
        break;
    default:
        break;
    }
    if (!draw && st.font != NULL && (letter == L'a' || letter == L'b' || letter == L'f' || letter == L'i' || letter == L'u')) {
        int fontHeight = FontLineHeight(st.font) + st.spacing;
        if (fontHeight > height) height = fontHeight;
    }
    return kTagGoOn;
}

bool CMarkupLayout::Line(State& st, bool draw, int top, int& height, int& width)
{
    bool singleLine = (m_style & DT_SINGLELINE) != 0;
    bool wordBreak = (m_style & DT_WORDBREAK) != 0;
    bool ellipsis = (m_style & DT_END_ELLIPSIS) != 0;
    if (!draw) height = FontLineHeight(st.font) + st.spacing;
    int x = m_rc.left;
    bool lineEmpty = true;
    if (st.inLink) st.linkStartX = x;

    for (;;) {
        WCHAR ch = *st.p;
        if (ch == L'\0') break;
        if (ch == L'\r') {
            ++st.p;
            continue;
        }
        if (ch == L'\n') {
            ++st.p;
            if (singleLine) continue;
            break;
        }
        if (st.raw) {
            if ((ch == L'<' || ch == L'{') && st.p[1] == L'/' && st.p[2] == L'r' && IsTagEnd(st.p[3])) {
                st.raw = false;
                st.p += 4;
                continue;
            }
        } else if (ch == L'<' || ch == L'{') {
            WCHAR a = st.p[1];
            if (a != L'\0' && st.p[2] != L'\0') {
                // <{> and <}> draw a brace, {<} and {>} an angle bracket.
                bool escape = ch == L'<' ? ((a == L'{' || a == L'}') && st.p[2] == L'>')
                                         : ((a == L'<' || a == L'>') && st.p[2] == L'}');
                if (escape) {
                    if (draw) {
                        Select(st);
                        TextOutW(m_dc, x, top + height - FontLineHeight(st.font), &a, 1);
                    }
                    SIZE size = { 0, 0 };
                    SelectObject(m_dc, st.font != NULL ? st.font->hFont : NULL);
                    GetTextExtentPoint32W(m_dc, &a, 1, &size);
                    x += size.cx;
                    st.p += 3;
                    lineEmpty = false;
                    continue;
                }
            }
            bool closer = a == L'/';
            WCHAR letter = closer ? st.p[2] : a;
            WCHAR after = closer ? (letter != L'\0' ? st.p[3] : L'\0') : (a != L'\0' ? st.p[2] : L'\0');
            if (letter >= L'a' && letter <= L'z' && (after == L' ' || after == L'\0' || IsTagEnd(after))) {
                LPCWSTR tagStart = st.p;
                LPCWSTR args = st.p + (closer ? 3 : 2);
                LPCWSTR end = args;
                while (*end != L'\0' && !IsTagEnd(*end)) ++end;
                int argsLength = static_cast<int>(end - args);
                st.p = *end != L'\0' ? end + 1 : end;
                TagOutcome outcome = Tag(st, draw, closer, letter, args, argsLength, top, height, x, lineEmpty);
                if (outcome == kTagBreakBefore) {
                    st.p = tagStart;
                    break;
                }
                if (letter == L'i' || letter == L'x') lineEmpty = lineEmpty && x == m_rc.left;
                if (outcome == kTagBreakAfter) break;
                continue;
            }
        }

        // A text run: up to the next line end, tag candidate or the end.
        LPCWSTR runEnd = st.p;
        while (*runEnd != L'\0' && *runEnd != L'\n' && *runEnd != L'\r') {
            if (*runEnd == L'<' || *runEnd == L'{') {
                if (runEnd != st.p) break;
                if (!st.raw) {
                    ++runEnd; // a bracket that starts no tag is text
                    continue;
                }
                if (runEnd[1] == L'/' && runEnd[2] == L'r') break;
            }
            ++runEnd;
        }
        int length = static_cast<int>(runEnd - st.p);
        if (length <= 0) length = 1;
        if (st.font != NULL) SelectObject(m_dc, st.font->hFont);
        int available = m_rc.right - x;
        if (available < 0) available = 0;
        int fit = 0;
        SIZE size = { 0, 0 };
        GetTextExtentExPointW(m_dc, st.p, length, available, &fit, NULL, &size);
        int take = length;
        bool ends = false;
        if (fit < length) {
            take = fit;
            if (wordBreak && !singleLine) {
                int cut = -1;
                for (int i = fit - 1; i >= 0; --i) {
                    if (st.p[i] == L' ' || !iswalpha(st.p[i])) {
                        cut = i + 1;
                        break;
                    }
                }
                if (cut > 0) take = cut;
                else if (!lineEmpty) take = 0;
            }
            // Even a rectangle too narrow for one glyph takes one per line.
            if (take == 0 && lineEmpty) take = 1;
            ends = true;
        }
        int drawn = take;
        if (ends && ellipsis && take > 0) drawn = take >= 2 ? take - 2 : take - 1;
        SIZE drawnSize = { 0, 0 };
        if (drawn > 0) GetTextExtentPoint32W(m_dc, st.p, drawn, &drawnSize);
        int runX = x;
        if (!singleLine && drawn > 0) {
            if ((m_style & DT_CENTER) != 0) runX = x + (m_rc.right - x - drawnSize.cx) / 2;
            else if ((m_style & DT_RIGHT) != 0) runX = m_rc.right - drawnSize.cx;
            if (runX < x) runX = x;
        }
        if (draw && drawn > 0) {
            Select(st);
            TextOutW(m_dc, runX, top + height - FontLineHeight(st.font), st.p, drawn);
        }
        x = runX + drawnSize.cx;
        if (ends && ellipsis && take > 0) {
            SIZE dots = { 0, 0 };
            GetTextExtentPoint32W(m_dc, L"...", 3, &dots);
            if (draw) {
                Select(st);
                TextOutW(m_dc, x, top, L"...", 3);
            }
            x += dots.cx;
        }
        st.p += take;
        if (take > 0) lineEmpty = false;
        if (ends) {
            if (singleLine) {
                // The rest does not show on a single line.
                st.p += wcslen(st.p);
            }
            break;
        }
    }

    if (draw && st.inLink) RecordLink(st, top, height, x);
    width = x - m_rc.left;
    return *st.p != L'\0';
}

int CMarkupLayout::Run(RECT& rc, LPCWSTR text)
{
    m_linkCount = 0;
    if (text == NULL || m_manager == NULL || m_dc == NULL || IsRectEmpty(&rc)) return 0;
    bool measuring = (m_style & DT_CALCRECT) != 0;
    CClipScope clip;
    if (!measuring) CClipScope::ClipToRect(m_dc, rc, clip);

    FontEntry* font = m_manager->GetDefaultFontEntry();
    HGDIOBJ oldFont = SelectObject(m_dc, font->hFont);
    int oldMode = SetBkMode(m_dc, TRANSPARENT);
    COLORREF oldText = SetTextColor(m_dc, ArgbToColorRef(m_color));
    COLORREF oldBack = SetBkColor(m_dc, ArgbToColorRef(m_manager->GetDefaultSelectedBkColor()));

    m_rc = rc;
    if (!measuring && (m_style & kAlignFlags) != 0) {
        RECT extent = { 0, 0, 9999, 100 };
        CMarkupLayout measure(m_dc, m_manager, m_color, NULL, NULL, 0, (m_style & ~kAlignFlags) | DT_CALCRECT);
        measure.Run(extent, text);
        int width = extent.right - extent.left, height = extent.bottom - extent.top;
        if ((m_style & DT_SINGLELINE) != 0) {
            if ((m_style & DT_CENTER) != 0 && width < rc.right - rc.left) m_rc.left += (rc.right - rc.left - width) / 2;
            else if ((m_style & DT_RIGHT) != 0 && width < rc.right - rc.left) m_rc.left = rc.right - width;
        }
        if ((m_style & DT_VCENTER) != 0 && height < rc.bottom - rc.top) m_rc.top += (rc.bottom - rc.top - height) / 2;
        else if ((m_style & DT_BOTTOM) != 0 && height < rc.bottom - rc.top) m_rc.top = rc.bottom - height;
    }

    m_hoverFound = false;
    POINT mouse = m_manager->GetMousePos();
    for (int i = 0; i < m_linkSlots; ++i) {
        if (PtInRect(&m_links[i], mouse)) {
            m_hoverLink = m_linkNames != NULL ? m_linkNames[i] : CUIString();
            m_hoverFound = m_linkNames != NULL;
            break;
        }
    }

    State st;
    memset(&st, 0, sizeof(st));
    st.p = text;
    st.font = font;
    st.color = m_color;
    int y = m_rc.top;
    int widest = 0;
    // Every line takes at least one character, so this bounds the loop too.
    size_t guard = wcslen(text) + 1;
    while (guard-- > 0) {
        State saved = st;
        int height = 0, width = 0;
        bool more = Line(st, false, y, height, width);
        if (!measuring) {
            st = saved;
            more = Line(st, true, y, height, width);
        }
        if (width > widest) widest = width;
        y += height;
        if (!more || (m_style & DT_SINGLELINE) != 0 || y >= m_rc.bottom) break;
    }

    if (measuring) {
        rc.bottom = y;
        rc.right = rc.left + widest < rc.right ? rc.left + widest : rc.right;
    }
    SetBkColor(m_dc, oldBack);
    SetTextColor(m_dc, oldText);
    SetBkMode(m_dc, oldMode);
    SelectObject(m_dc, oldFont);
    return m_linkCount;
}

} // namespace DirectUI
