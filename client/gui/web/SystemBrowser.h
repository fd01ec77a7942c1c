#pragma once
// Web addresses that leave the client open in the user's default browser.

class QUrl;

// Opens an http or https address in the system browser; any other address is
// refused. Returns whether the system accepted it.
bool openInSystemBrowser(const QUrl &url);
