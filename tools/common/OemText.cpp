#include "OemText.h"

#include <windows.h>

#include <cstring>

char* WideToOem(const wchar_t* text)
{
    if (!text)
        return nullptr;
    int size = WideCharToMultiByte(CP_OEMCP, 0, text, -1, NULL, 0, NULL, NULL);
    if (size <= 0)
        size = 1;
    char* copy = new char[size];
    std::memset(copy, 0, size);
    WideCharToMultiByte(CP_OEMCP, 0, text, -1, copy, size, NULL, NULL);
    copy[size - 1] = '\0';
    return copy;
}

std::string WideToOemString(const std::wstring& text)
{
    char* oem = WideToOem(text.c_str());
    std::string copy(oem);
    delete[] oem;
    return copy;
}

std::string WideToAnsi(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), NULL, 0, NULL, NULL);
    if (size <= 0)
        return std::string();
    std::string narrow(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &narrow[0], size, NULL, NULL);
    return narrow;
}

namespace {

std::wstring NarrowToWide(UINT codePage, const std::string& text)
{
    int size = MultiByteToWideChar(codePage, 0, text.c_str(), -1, NULL, 0);
    if (size <= 1)
        return std::wstring();
    std::wstring wide(size - 1, L'\0');
    MultiByteToWideChar(codePage, 0, text.c_str(), -1, &wide[0], size);
    return wide;
}

} // namespace

std::wstring AnsiToWide(const std::string& text)
{
    return NarrowToWide(CP_ACP, text);
}

std::wstring OemToWide(const std::string& text)
{
    return NarrowToWide(CP_OEMCP, text);
}
