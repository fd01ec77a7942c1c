#pragma once
// The store's four hosts, each "host" or "host:port": build-time defaults that
// the environment may override.

#include <QString>

QString appApiHost();     // web API, statistics, store pages
QString openApiHost();    // user and game resources, online time
QString forumHost();      // login and account pages
QString ipLookupHost();   // public-IP page
// "http://" + the app API host + path: the address of a store page.
QString appApiPageUrl(const QString &path);
// The host part of "host:port" (for name look-ups).
QString hostNameOnly(const QString &host);
