#pragma once

// The wizards' MD5 helper. The system's MD5 functions of advapi32 are bound
// by name at every call; the digest text lives in one static buffer that the
// next call overwrites.
class Ccommon
{
public:
    // The system's MD5 context: bit counts, state, input buffer, then the digest.
    struct Md5Context {
        unsigned long count[2];
        unsigned long state[4];
        unsigned char buffer[64];
        unsigned char digest[16];
    };

    virtual ~Ccommon() {}

    // The 32 lower-case hexadecimal characters of the text's MD5 digest, or an
    // empty text when the system functions cannot be bound.
    const char* Md5String(const char* text);

    void(__stdcall* m_md5Init)(Md5Context*) = nullptr;
    void(__stdcall* m_md5Update)(Md5Context*, const unsigned char*, unsigned int) = nullptr;
    void(__stdcall* m_md5Final)(Md5Context*) = nullptr;
};

// Writes the 16 digest bytes as hexadecimal text into the static buffer and returns it.
const char* Md5ToHex(const unsigned char digest[16]);
