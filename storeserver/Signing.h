#pragma once

#include <string>

// The signing rule shared by the client and the wizards: "sign" is the MD5 of a
// message's signed text followed by a fixed salt.
namespace signing {

extern const char* const kSalt;
// The client's version text; the version requests sign it instead of a timestamp.
extern const char* const kClientVersion;

std::string signOf(const std::string& signedText);
bool isValidSign(const std::string& signedText, const std::string& sign);

} // namespace signing
