#pragma once
// The signing rule shared by every signed message of the client and the
// wizards, and the encoding of values put into URLs and form bodies.

#include <QByteArray>
#include <QString>

extern const char kClientVersion[];   // "1.1.1.81"
extern const char kSigningSalt[];     // 18 characters

// Lower-case hex MD5 of the text followed by the salt, in the local 8-bit encoding.
QString signWithSalt(const QString &text);
// Unix seconds as decimal text.
QString timestampText();
// A value ready for a URL query or a form body: characters that would change
// the structure ("&", "=", "#", "+", "%", blanks, quotes, non-ASCII...) are
// percent-encoded; plain values come out unchanged.
QByteArray encodeValue(const QString &value);
