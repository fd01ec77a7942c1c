#include "control/ListInfoAttributes.h"

#include "core/SkinValues.h"

#include <string.h>

namespace DirectUI {

void ApplyAlignValue(UINT& style, LPCWSTR value)
{
    if (wcsstr(value, L"left") != NULL) style &= ~(DT_CENTER | DT_RIGHT);
    if (wcsstr(value, L"center") != NULL) {
        style &= ~DT_RIGHT;
        style |= DT_CENTER;
    }
    if (wcsstr(value, L"right") != NULL) {
        style &= ~DT_CENTER;
        style |= DT_RIGHT;
    }
}

ListInfoChange SetListInfoAttribute(ListInfo& info, LPCWSTR name, LPCWSTR value, bool acceptEndEllipsis)
{
    if (wcscmp(name, L"itemfont") == 0) {
        info.nFont = ParseIntValue(value);
    } else if (wcscmp(name, L"itemalign") == 0) {
        ApplyAlignValue(info.uTextStyle, value);
    } else if (acceptEndEllipsis && wcscmp(name, L"itemendellipsis") == 0) {
        if (ParseBoolValue(value)) info.uTextStyle |= DT_END_ELLIPSIS;
        else info.uTextStyle &= ~DT_END_ELLIPSIS;
    } else if (wcscmp(name, L"itemtextpadding") == 0) {
        RECT rc = { 0, 0, 0, 0 };
        ParseRectValue(value, rc);
        info.rcTextPadding = rc;
        return kListInfoTextPadding;
    } else if (wcscmp(name, L"itemtextcolor") == 0) {
        info.dwTextColor = ParseColorValue(value);
        return kListInfoTextColor;
    } else if (wcscmp(name, L"itemshowhtml") == 0) {
        bool show = ParseBoolValue(value);
        if (info.bShowHtml == show) return kListInfoShowHtmlSame;
        info.bShowHtml = show;
        return kListInfoShowHtml;
    } else if (wcscmp(name, L"itemaltbk") == 0) {
        info.bAlternateBk = ParseBoolValue(value);
    } else {
        const struct
        {
            const wchar_t* name;
            DWORD* color;
        } colors[] = {
            { L"itembkcolor", &info.dwBkColor },
            { L"itemselectedtextcolor", &info.dwSelectedTextColor },
            { L"itemselectedbkcolor", &info.dwSelectedBkColor },
            { L"itemhottextcolor", &info.dwHotTextColor },
            { L"itemhotbkcolor", &info.dwHotBkColor },
            { L"itemdisabledtextcolor", &info.dwDisabledTextColor },
            { L"itemdisabledbkcolor", &info.dwDisabledBkColor },
            { L"itemlinecolor", &info.dwLineColor },
        };
        const struct
        {
            const wchar_t* name;
            CUIString* image;
        } images[] = {
            { L"itembkimage", &info.sBkImage },
            { L"itemselectedimage", &info.sSelectedImage },
            { L"itemhotimage", &info.sHotImage },
            { L"itemdisabledimage", &info.sDisabledImage },
        };
        for (const auto& c : colors) {
            if (wcscmp(name, c.name) != 0) continue;
            *c.color = ParseColorValue(value);
            return kListInfoSet;
        }
        for (const auto& i : images) {
            if (wcscmp(name, i.name) != 0) continue;
            *i.image = value;
            return kListInfoSet;
        }
        return kListInfoNone;
    }
    return kListInfoSet;
}

} // namespace DirectUI
