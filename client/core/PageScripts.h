#pragma once
// Calls into the store's pages: "status_callback(%1)" and the like.

#include <QString>

// The argument as a script value: text that is a JSON value goes in as it is,
// any other text as a JSON string literal, and an empty text leaves "()" empty.
QString scriptArgument(const QString &argument);
// A call of the page's function with the argument as a script value. It does
// nothing where the page does not define the function (an error page, a page
// still without its scripts), instead of throwing in the page.
QString pageFunctionCall(const QString &function, const QString &argument);
