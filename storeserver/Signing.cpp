#include "Signing.h"

#include "Md5Digest.h"

namespace signing {

const char* const kSalt = "kwintep!~#@%$&^)(*";
const char* const kClientVersion = "1.1.1.81";

std::string signOf(const std::string& signedText)
{
    return Md5Digest::ofText(signedText + kSalt);
}

bool isValidSign(const std::string& signedText, const std::string& sign)
{
    // The sign is written in lower case; anything else is a different text.
    return sign == signOf(signedText);
}

} // namespace signing
