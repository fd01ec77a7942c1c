#pragma once
// Calls into the store's pages: "status_callback(%1)" and the like.

#include <QString>

// The argument as a script value: text that is a JSON value goes in as it is,
// any other text as a JSON string literal, and an empty text leaves "()" empty.
QString scriptArgument(const QString &argument);
// format with "%1" replaced by the argument as a script value.
QString scriptCall(const QString &format, const QString &argument);
