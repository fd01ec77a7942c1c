#pragma once
// The pages' "mivo" links: "mivo://" + command + "#" + argument. Parsing, the
// checks on what a link carries before it reaches a path, a process or a
// script, and the dispatch of each command to the form that received it.

#include <QJsonObject>
#include <QString>
#include <QUrl>

class VRAppInfo;

struct PageLink
{
    bool isMivo = false;
    // Lower case: Qt reports host names so.
    QString command;
    // The fragment as Qt's default (pretty-decoded) text.
    QString argument;
};

PageLink parsePageLink(const QUrl &url);

// The argument as the page wrote it: each "%" followed by two hexadecimal
// digits decoded once (the browser's escapes and the page's own), every
// other "%" kept.
QString linkJsonText(const QUrl &url);
// The JSON object a link carries (linkJsonText); false when it is no JSON
// object or the argument is oversized.
bool linkJsonObject(const QUrl &url, QJsonObject *object);

// Limits on what a page may hand over.
const int kMaxLinkArgumentBytes = 64 * 1024;
const int kMaxGameIdDigits = 18;
const int kMaxNameLength = 200;

// Why a "download" or "launch" record is refused, or empty when it may go on.
QString gameRecordRefusal(const VRAppInfo &record);
// Why a "loginsuccess" user is refused, or empty when it may go on.
QString loginUserRefusal(const QString &uid, const QString &nickname, const QString &avatar);
// Web addresses: http or https with a host. Only these go to the system
// browser, and only these are downloaded.
bool isBrowserAddress(const QUrl &url);

// The six forms that receive links.
enum class LinkHandler { Game, Activity, Exchange, Push, UserCentral, Popup };

// What the commands do; the forms implement it with the main window's operations.
class PageLinkActions
{
public:
    // The pages whose "jump_callback" a link may run.
    enum class Tab { Game, Activity, Exchange, Push };

    virtual ~PageLinkActions() = default;
    virtual QString loggedInUserId() = 0;
    virtual void setLoginArgument(const QString &argument) = 0;
    virtual void showLoginDialog() = 0;
    // The record is the callee's from here on.
    virtual void startDownload(VRAppInfo *record) = 0;
    virtual void launchGame(VRAppInfo *record) = 0;
    virtual void postDownloadHit(const QString &deviceId, const QString &userId, const QString &gameId) = 0;
    virtual void switchToManager() = 0;
    // Game, activity or exchange tab.
    virtual void switchToTab(Tab tab) = 0;
    virtual void expandPushPanel() = 0;
    virtual void callJumpCallback(Tab tab, const QString &argument) = 0;
    virtual void requestUserInfo() = 0;
    virtual void showExchangeTips() = 0;
    virtual void foldPushPanel() = 0;
    virtual void postOnlineLength() = 0;
    virtual void openInBrowser(const QUrl &url) = 0;
    virtual void loginSucceeded(const QString &uid, const QString &nickname, const QString &avatar) = 0;
    virtual void feedbackSucceeded() = 0;
    virtual void feedbackClosed() = 0;
};

// Logs the link, runs its command for this handler and answers whether the
// page may navigate (true only for links of other schemes).
bool handlePageLink(LinkHandler handler, const QUrl &url, PageLinkActions &actions);
