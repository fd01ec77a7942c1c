#pragma once

#include <windows.h>

namespace DirectUI {

// Readers of skin attribute values. Every reader stops at the value's
// terminator; a number that is missing leaves the caller's default in place.

// Reads up to count decimal numbers separated by one character each (a
// comma in the skins) into numbers; answers how many were read.
int ParseNumberList(LPCWSTR value, int* numbers, int count);

// Reads a rectangle (left, top, right, bottom) or a size (cx, cy); fields
// without a number keep what they held.
int ParseRectValue(LPCWSTR value, RECT& rc);
int ParseSizeValue(LPCWSTR value, SIZE& size);

// Hexadecimal ARGB after optional whitespace and an optional "#".
DWORD ParseColorValue(LPCWSTR value);

// The GDI colour of a skin's ARGB value (GDI draws without alpha).
inline COLORREF ArgbToColorRef(DWORD argb)
{
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

// True only for the text "true".
bool ParseBoolValue(LPCWSTR value);

// A decimal number; 0 when there is none.
int ParseIntValue(LPCWSTR value);

} // namespace DirectUI
