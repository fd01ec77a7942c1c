#include "ProductPage.h"

#include <windows.h>

#ifndef ORBELA_PRODUCT_PAGE
#error "the build defines ORBELA_PRODUCT_PAGE"
#endif

std::wstring GetProductPage()
{
    wchar_t value[1024];
    DWORD length = GetEnvironmentVariableW(L"ORBELA_PRODUCT_PAGE", value, 1024);
    if (length > 0 && length < 1024)
        return std::wstring(value, length);
    const char* built = ORBELA_PRODUCT_PAGE;
    return std::wstring(built, built + strlen(built));
}

bool IsWebAddress(const std::wstring& address)
{
    return _wcsnicmp(address.c_str(), L"http://", 7) == 0 || _wcsnicmp(address.c_str(), L"https://", 8) == 0;
}
