// Conversions between the records' UTF-16 text fields and the UTF-8 the rest
// of the engine uses, with the checks that keep a field from being read or
// written past its end.
#pragma once

#include "xldl.h"

#include <cstddef>
#include <string>

namespace xldl {

// Reads a NUL-terminated field of at most width characters. False when no NUL
// lies inside the field or the text is not valid UTF-16.
bool readField(const XlChar *field, size_t width, std::string &utf8);

// Reads a NUL-terminated text of unknown width, at most limit characters.
bool readText(const XlChar *text, size_t limit, std::string &utf8);

// Writes utf8 into a field of width characters, cut on a character boundary
// so that the NUL fits. False when it had to be cut or is not valid UTF-8.
bool writeField(XlChar *field, size_t width, const std::string &utf8);

// A file name that stays inside its folder and fits on one line of a resume
// record: not empty, no "/" or control character, not "." or "..".
bool isSafeFileName(const std::string &name);

// A URL that can go into a request line: not empty, no space or control
// character.
bool isUsableUrl(const std::string &url);

// "thunder://" + Base64("AA" + url + "ZZ") -> url. False when it is not one.
bool decodeThunderUrl(const std::string &thunderUrl, std::string &url);

} // namespace xldl
