#include "Ccommon.h"

#include <windows.h>

#include <cstring>

static char g_md5Hex[33];

const char* Md5ToHex(const unsigned char digest[16])
{
    static const char digits[] = "0123456789abcdef";
    for (int i = 0; i < 16; ++i) {
        g_md5Hex[2 * i] = digits[digest[i] >> 4];
        g_md5Hex[2 * i + 1] = digits[digest[i] & 15];
    }
    g_md5Hex[32] = '\0';
    return g_md5Hex;
}

const char* Ccommon::Md5String(const char* text)
{
    HMODULE advapi = LoadLibraryA("advapi32.dll");
    if (advapi) {
        m_md5Init = reinterpret_cast<decltype(m_md5Init)>(GetProcAddress(advapi, "MD5Init"));
        m_md5Update = reinterpret_cast<decltype(m_md5Update)>(GetProcAddress(advapi, "MD5Update"));
        m_md5Final = reinterpret_cast<decltype(m_md5Final)>(GetProcAddress(advapi, "MD5Final"));
    }
    // Without the three functions there is no digest; never call through null.
    if (!text || !m_md5Init || !m_md5Update || !m_md5Final) {
        g_md5Hex[0] = '\0';
        return g_md5Hex;
    }
    Md5Context context;
    std::memset(&context, 0, sizeof(context));
    m_md5Init(&context);
    m_md5Update(&context, reinterpret_cast<const unsigned char*>(text), static_cast<unsigned int>(std::strlen(text)));
    m_md5Final(&context);
    return Md5ToHex(context.digest);
}
