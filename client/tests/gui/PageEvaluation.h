#pragma once
// Scripts run in a page, answered while the test's own events run.

#include "tests/WaitUntil.h"

#include <QVariant>
#include <QWebEnginePage>

#include <memory>
#include <utility>

// Runs a script in a page and waits for its value; a page still loading may
// drop the script, so *answered tells whether a value came.
inline QVariant evaluateInPage(QWebEnginePage *page, const QString &script, int timeoutMs = 10000,
                               bool *answered = nullptr)
{
    // Shared, so an answer that comes after the wait gave up has somewhere to go.
    auto answer = std::make_shared<std::pair<bool, QVariant>>(false, QVariant());
    page->runJavaScript(script, [answer](const QVariant &value) {
        answer->second = value;
        answer->first = true;
    });
    const bool came = waitUntil([answer]() { return answer->first; }, timeoutMs);
    if (answered)
        *answered = came;
    else if (!came)
        qWarning("no answer from the page to: %s", qPrintable(script));
    return answer->second;
}
