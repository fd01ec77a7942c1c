#include "core/PageLinks.h"

#include "core/AppFolders.h"
#include "core/game/VRAppInfo.h"

#include <QDebug>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QRegularExpression>
#include <QVector>

#include <memory>

namespace {

using Tab = PageLinkActions::Tab;

const char kFeedbackSuccess[] = "mivo://feedback_success";
const char kFeedbackClose[] = "mivo://feedback_close";

bool parseObject(const QString &text, QJsonObject *object)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    *object = document.object();
    return true;
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isEscapeAt(const QByteArray &bytes, int i)
{
    return bytes.at(i) == '%' && i + 2 < bytes.size() && isHexDigit(bytes.at(i + 1))
           && isHexDigit(bytes.at(i + 2));
}

bool hasStrayPercent(const QByteArray &bytes)
{
    for (int i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) == '%' && !isEscapeAt(bytes, i))
            return true;
    }
    return false;
}

// Each "%" followed by two hexadecimal digits becomes its byte, once; any
// other "%" stays as it is.
QByteArray decodeEscapesOnce(const QByteArray &bytes)
{
    QByteArray decoded;
    decoded.reserve(bytes.size());
    for (int i = 0; i < bytes.size(); ++i) {
        if (isEscapeAt(bytes, i)) {
            decoded.append(char(QByteArray::fromHex(bytes.mid(i + 1, 2)).at(0)));
            i += 2;
        } else {
            decoded.append(bytes.at(i));
        }
    }
    return decoded;
}

bool hasControlCharacter(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    }
    return false;
}

// A name that becomes part of a folder or file name.
QString nameRefusal(const char *key, const QString &name)
{
    if (name.size() > kMaxNameLength)
        return QStringLiteral("%1 is too long").arg(QLatin1String(key));
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name.contains(QLatin1String(".."))
        || hasControlCharacter(name))
        return QStringLiteral("%1 is not a plain name").arg(QLatin1String(key));
    return QString();
}

// The launcher is a path inside the game's folder.
bool isInsideFolder(const QString &path)
{
    if (path.startsWith(QLatin1Char('/')) || path.startsWith(QLatin1Char('\\'))
        || QRegularExpression(QStringLiteral("^[A-Za-z]:")).match(path).hasMatch() || hasControlCharacter(path))
        return false;
    const QStringList parts = path.split(QRegularExpression(QStringLiteral("[/\\\\]")));
    return !parts.contains(QStringLiteral(".."));
}

bool isDigits(const QString &text, int maxDigits)
{
    return !text.isEmpty() && text.size() <= maxDigits && isDigitString(text);
}

// The handlers' commands, in the order each handler tests them.
const QVector<QString> &commandsOf(LinkHandler handler)
{
    static const QVector<QString> game{"download", "installing", "launch", "login", "user_info_reload",
                                       "navigate2activity", "runactivejumpcallback", "navigate2exchange",
                                       "runexchangejumpcallback", "navigate2game", "navigate2push",
                                       "runpushjumpcallback", "openqqurl"};
    static const QVector<QString> activity{"download", "installing", "launch", "login", "navigate2game",
                                           "rungamejumpcallback", "navigate2exchange", "runexchangejumpcallback",
                                           "navigate2activity", "navigate2push", "runpushjumpcallback",
                                           "user_info_reload", "openqqurl"};
    static const QVector<QString> exchange{"login", "navigate2game", "rungamejumpcallback", "navigate2activity",
                                           "runactivejumpcallback", "navigate2exchange", "navigate2push",
                                           "runpushjumpcallback", "user_info_reload", "openqqurl"};
    static const QVector<QString> push{"task_flod", "task_expansion", "login", "navigate2game",
                                       "rungamejumpcallback", "navigate2activity", "runactivejumpcallback",
                                       "navigate2exchange", "runexchangejumpcallback", "need2getonlinelengthdata",
                                       "user_info_reload", "openqqurl"};
    static const QVector<QString> userCentral{"openqqurl"};
    static const QVector<QString> popup{"loginsuccess"};
    switch (handler) {
    case LinkHandler::Game: return game;
    case LinkHandler::Activity: return activity;
    case LinkHandler::Exchange: return exchange;
    case LinkHandler::Push: return push;
    case LinkHandler::UserCentral: return userCentral;
    case LinkHandler::Popup: break;
    }
    return popup;
}

// The page a handler's own jump callback goes to.
Tab ownTab(LinkHandler handler)
{
    switch (handler) {
    case LinkHandler::Activity: return Tab::Activity;
    case LinkHandler::Exchange: return Tab::Exchange;
    case LinkHandler::Push: return Tab::Push;
    default: return Tab::Game;
    }
}

void refuse(const QString &command, const QString &reason)
{
    qInfo("[Mivo] refused %s: %s", qPrintable(command), qPrintable(reason));
}

// A "download" or "launch" record that passed its checks, or null (one log line said why).
std::unique_ptr<VRAppInfo> acceptedRecord(LinkHandler handler, const PageLink &link, const QUrl &url)
{
    QJsonObject object;
    if (!linkJsonObject(url, &object)) {
        refuse(link.command, QStringLiteral("the argument is no JSON object"));
        return nullptr;
    }
    std::unique_ptr<VRAppInfo> record(VRAppInfo::fromPageLink(object));
    // The activity page offers PC games only.
    if (handler == LinkHandler::Activity)
        record->platform = 0;
    const QString refusal = gameRecordRefusal(*record);
    if (!refusal.isEmpty()) {
        refuse(link.command, refusal);
        return nullptr;
    }
    return record;
}

void download(LinkHandler handler, const PageLink &link, const QUrl &url, PageLinkActions &actions)
{
    QString userId;
    if (handler == LinkHandler::Game) {
        userId = actions.loggedInUserId();
        if (userId.isEmpty()) {
            QJsonObject object;
            // Only a link that would have downloaded asks for the login.
            if (linkJsonObject(url, &object))
                actions.showLoginDialog();
            return;
        }
    }
    std::unique_ptr<VRAppInfo> record = acceptedRecord(handler, link, url);
    if (!record)
        return;
    const QString deviceId = record->deviceId;
    const QString gameId = record->gameId;
    actions.startDownload(record.release());
    actions.postDownloadHit(deviceId, userId, gameId);
}

void loginSuccess(const PageLink &link, const QUrl &url, PageLinkActions &actions)
{
    QJsonObject object;
    if (!linkJsonObject(url, &object)) {
        refuse(link.command, QStringLiteral("the argument is no JSON object"));
        return;
    }
    const QString avatar = object.value(QLatin1String("avatar")).toString();
    const QString nickname = object.value(QLatin1String("nickname")).toString();
    const QString uid = object.value(QLatin1String("uid")).toString();
    const QString refusal = loginUserRefusal(uid, nickname, avatar);
    if (!refusal.isEmpty()) {
        refuse(link.command, refusal);
        return;
    }
    actions.loginSucceeded(uid, nickname, avatar);
}

// Switches to the target's tab unless the link came from that page, then runs its jump callback.
void navigate(LinkHandler handler, Tab target, const QString &argument, PageLinkActions &actions)
{
    if (target == Tab::Push)
        actions.expandPushPanel();
    else if (ownTab(handler) != target)
        actions.switchToTab(target);
    actions.callJumpCallback(target, argument);
}

void runCommand(LinkHandler handler, const PageLink &link, const QUrl &url, PageLinkActions &actions)
{
    const QString &command = link.command;
    if (command == QLatin1String("download")) {
        download(handler, link, url, actions);
    } else if (command == QLatin1String("installing")) {
        qInfo("[Mivo] installing vr_game switch 2 managerTab!");
        actions.switchToManager();
    } else if (command == QLatin1String("launch")) {
        qInfo("[Mivo] launch vr_game!");
        if (std::unique_ptr<VRAppInfo> record = acceptedRecord(handler, link, url))
            actions.launchGame(record.release());
    } else if (command == QLatin1String("login")) {
        actions.setLoginArgument(link.argument);
        actions.showLoginDialog();
    } else if (command == QLatin1String("user_info_reload")) {
        if (handler == LinkHandler::Exchange)
            actions.showExchangeTips();
        else
            actions.requestUserInfo();
    } else if (command == QLatin1String("navigate2game")) {
        navigate(handler, Tab::Game, link.argument, actions);
    } else if (command == QLatin1String("navigate2activity")) {
        navigate(handler, Tab::Activity, link.argument, actions);
    } else if (command == QLatin1String("navigate2exchange")) {
        navigate(handler, Tab::Exchange, link.argument, actions);
    } else if (command == QLatin1String("navigate2push")) {
        navigate(handler, Tab::Push, link.argument, actions);
    } else if (command == QLatin1String("rungamejumpcallback")) {
        actions.callJumpCallback(Tab::Game, link.argument);
    } else if (command == QLatin1String("runactivejumpcallback")) {
        actions.callJumpCallback(Tab::Activity, link.argument);
    } else if (command == QLatin1String("runexchangejumpcallback")) {
        actions.callJumpCallback(Tab::Exchange, link.argument);
    } else if (command == QLatin1String("runpushjumpcallback")) {
        actions.callJumpCallback(Tab::Push, link.argument);
    } else if (command == QLatin1String("task_flod")) {
        actions.foldPushPanel();
    } else if (command == QLatin1String("task_expansion")) {
        actions.expandPushPanel();
    } else if (command == QLatin1String("need2getonlinelengthdata")) {
        actions.postOnlineLength();
    } else if (command == QLatin1String("openqqurl")) {
        const QUrl address(link.argument, QUrl::TolerantMode);
        if (isBrowserAddress(address))
            actions.openInBrowser(address);
        else
            refuse(command, QStringLiteral("not a web address"));
    } else if (command == QLatin1String("loginsuccess")) {
        loginSuccess(link, url, actions);
    }
}

} // namespace

PageLink parsePageLink(const QUrl &url)
{
    PageLink link;
    link.isMivo = url.scheme() == QLatin1String("mivo");
    if (link.isMivo) {
        link.command = url.host(QUrl::FullyDecoded).toLower();
        link.argument = url.fragment();
    }
    return link;
}

QString linkJsonText(const QUrl &url)
{
    const QByteArray full = url.fragment(QUrl::FullyDecoded).toUtf8();
    // A link holding a "%" that starts no escape has had every "%" escaped
    // by the URL parser: decoded in full it is the text the browser sent,
    // whose escapes are still to be decoded once.
    if (hasStrayPercent(full))
        return QString::fromUtf8(decodeEscapesOnce(full));
    return QString::fromUtf8(full);
}

bool linkJsonObject(const QUrl &url, QJsonObject *object)
{
    if (url.fragment().toUtf8().size() > kMaxLinkArgumentBytes)
        return false;
    return parseObject(linkJsonText(url), object);
}

QString gameRecordRefusal(const VRAppInfo &record)
{
    if (!isDigits(record.gameId, kMaxGameIdDigits))
        return QStringLiteral("the game id is not a number of 1 to %1 digits").arg(kMaxGameIdDigits);
    if (!VRAppInfo::isValidMd5(record.md5))
        return QStringLiteral("the MD5 is not 32 hexadecimal digits");
    if (!VRAppInfo::isKnownPlatform(record.platform))
        return QStringLiteral("the platform is not 0, 1 or 2");
    QString refusal = nameRefusal("cnName", record.cnName);
    if (refusal.isEmpty())
        refusal = nameRefusal("enName", record.enName);
    if (!refusal.isEmpty())
        return refusal;
    if (!isInsideFolder(record.launcher))
        return QStringLiteral("the launcher leaves the game's folder");
    // Downloaded as they are: a "file:" address would read a local file.
    if (!record.serverAppSource.isEmpty() && !isBrowserAddress(QUrl(record.serverAppSource)))
        return QStringLiteral("the package address is not a web address");
    if (!record.serverPicSource.isEmpty() && !isBrowserAddress(QUrl(record.serverPicSource)))
        return QStringLiteral("the picture address is not a web address");
    return QString();
}

QString loginUserRefusal(const QString &uid, const QString &nickname, const QString &avatar)
{
    if (!isDigits(uid, kMaxGameIdDigits))
        return QStringLiteral("the uid is not a number");
    if (nickname.size() > kMaxNameLength || hasControlCharacter(nickname))
        return QStringLiteral("the nickname is not a plain name");
    if (!avatar.isEmpty() && !isBrowserAddress(QUrl(avatar, QUrl::TolerantMode)))
        return QStringLiteral("the avatar is not a web address");
    return QString();
}

bool isBrowserAddress(const QUrl &url)
{
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
           && !url.host().isEmpty();
}

bool handlePageLink(LinkHandler handler, const QUrl &url, PageLinkActions &actions)
{
    const PageLink link = parsePageLink(url);
    const QString whole = url.toString();
    switch (handler) {
    case LinkHandler::Push:
        qInfo("[Mivo] task push url:%s", qPrintable(whole));
        break;
    case LinkHandler::Popup:
        qInfo("[Mivo] login url:%s", qPrintable(whole));
        break;
    default:
        qInfo("[Mivo] url:%s", qPrintable(whole));
        break;
    }
    if (handler == LinkHandler::Popup) {
        // Whole links, compared exactly.
        if (url.url() == QLatin1String(kFeedbackSuccess)) {
            actions.feedbackSucceeded();
            return false;
        }
        if (url.url() == QLatin1String(kFeedbackClose)) {
            actions.feedbackClosed();
            return false;
        }
    }
    if (!link.isMivo)
        return true;
    if (handler == LinkHandler::Game)
        qInfo("[Mivo] click btn url fragment:%s", qPrintable(link.argument));
    else if (handler == LinkHandler::Popup)
        qInfo("[Mivo] login url fragment:%s", qPrintable(link.argument));
    if (link.argument.toUtf8().size() > kMaxLinkArgumentBytes) {
        refuse(link.command, QStringLiteral("the argument is over %1 bytes").arg(kMaxLinkArgumentBytes));
        return false;
    }
    for (const QString &command : commandsOf(handler)) {
        if (command == link.command) {
            runCommand(handler, link, url, actions);
            break;
        }
    }
    return false;
}
