#pragma once

#include <string>

// A new copy of the wide text in the OEM code page, to be freed with delete[];
// null for null.
char* WideToOem(const wchar_t* text);
// The same, up to the text's first NUL, as a string.
std::string WideToOemString(const std::wstring& text);

// The wide text in the ANSI code page (CP_ACP); empty in, empty out.
std::string WideToAnsi(const std::wstring& text);

// Narrow text in the ANSI (CP_ACP) or OEM (CP_OEMCP) code page, up to its
// first NUL, as wide text; empty in, empty out.
std::wstring AnsiToWide(const std::string& text);
std::wstring OemToWide(const std::string& text);
