#pragma once

#include <string>

// A new copy of the wide text in the OEM code page, to be freed with delete[];
// null for null.
char* WideToOem(const wchar_t* text);

// The wide text in the ANSI code page (CP_ACP); empty in, empty out.
std::string WideToAnsi(const std::wstring& text);
