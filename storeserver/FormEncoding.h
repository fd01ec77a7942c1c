#pragma once

#include <string>
#include <utility>
#include <vector>

// Reading form bodies and query texts the way the store's scripts read them.
using FormFields = std::vector<std::pair<std::string, std::string>>;

// Decodes "%XX"; a "%" not followed by two hexadecimal digits stays as it is,
// because the wizards send values such as "80%" unescaped.
std::string percentDecode(const std::string& text, bool plusIsSpace);
// Percent-encodes every byte but the unreserved characters (letters, digits, "-._~").
std::string percentEncode(const std::string& text);
// Splits at "&" and the first "=" of each field, decoding names and values.
FormFields parseFormFields(const std::string& body);
// The value of the first field with this name; empty when missing.
std::string formValue(const FormFields& fields, const std::string& name);
bool hasFormField(const FormFields& fields, const std::string& name);
