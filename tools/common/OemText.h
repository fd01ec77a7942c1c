#pragma once

// A new copy of the wide text in the OEM code page, to be freed with delete[];
// null for null.
char* WideToOem(const wchar_t* text);
