#pragma once
// The one browser profile that every store page of the client shares, and the
// "mivo" scheme through which the pages ask the client to act.

class QObject;
class QUrl;
class QWebEngineProfile;

// Registers the "mivo" scheme and the context sharing that the web engine
// needs; call before the application object exists.
void prepareWebPages();
// True for a link of the pages' "mivo" scheme.
bool isMivoUrl(const QUrl &url);
// The shared off-the-record profile (the pages' cookies stay in memory), made
// on first use; a handler for "mivo" on it serves nothing.
QWebEngineProfile *clientWebProfile();
// Counts a constructed page as a user of the profile until it is destroyed.
void holdClientWebProfile(QObject *page);
// Deletes the profile once no page uses it any more (now or when the last
// page goes). Call after the windows are gone, before the application object.
void releaseClientWebProfile();
