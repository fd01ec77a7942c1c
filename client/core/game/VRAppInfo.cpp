#include "core/game/VRAppInfo.h"

#include "core/AppFolders.h"

#include <QJsonObject>
#include <QJsonValue>

namespace {

// The text fields both readers share; a key that is missing or holds no JSON
// string leaves its field empty. The readers differ only in how "platform"
// comes, so it is read by each of them.
void readTextFields(VRAppInfo *info, const QJsonObject &object)
{
    for (const GameField &field : VRAppInfo::gameFields()) {
        if (field.jsonKey && field.text)
            info->*field.text = object.value(QLatin1String(field.jsonKey)).toString();
    }
}

} // namespace

VRAppInfo::VRAppInfo()
    : QObject(nullptr)
{
}

const std::array<GameField, 14> &VRAppInfo::gameFields()
{
    static const std::array<GameField, 14> fields = {{
        {"gameId", "gameId", &VRAppInfo::gameId, nullptr},
        {"cnName", "cnName", &VRAppInfo::cnName, nullptr},
        {"enName", "enName", &VRAppInfo::enName, nullptr},
        {"version", "version", &VRAppInfo::version, nullptr},
        {"platform", nullptr, nullptr, &VRAppInfo::platform},
        {"localSize", nullptr, nullptr, &VRAppInfo::localSize},
        {"md5", "md5", &VRAppInfo::md5, nullptr},
        {"serverPicSource", "pic_dl_path", &VRAppInfo::serverPicSource, nullptr},
        {"serverAppSource", "exe_dl_path", &VRAppInfo::serverAppSource, nullptr},
        {"localSource", nullptr, &VRAppInfo::localSource, nullptr},
        {"deviceId", "deviceId", &VRAppInfo::deviceId, nullptr},
        {"launcher", "launcher", &VRAppInfo::launcher, nullptr},
        {"launchParameter", "launcherParameter", &VRAppInfo::launchParameter, nullptr},
        {"downloadStatus", nullptr, nullptr, &VRAppInfo::downloadStatus},
    }};
    return fields;
}

VRAppInfo *VRAppInfo::fromPageLink(const QJsonObject &object)
{
    auto *info = new VRAppInfo;
    readTextFields(info, object);
    // Not a text, or no number: 0.
    info->platform = object.value(QLatin1String("platform")).toString().toInt(nullptr, 10);
    return info;
}

VRAppInfo *VRAppInfo::fromGameData(const QJsonObject &object)
{
    auto *info = new VRAppInfo;
    readTextFields(info, object);
    info->platform = object.value(QLatin1String("platform")).toInt(0);
    return info;
}

bool VRAppInfo::isValidGameId(const QString &gameId)
{
    return !gameId.isEmpty() && isDigitString(gameId);
}

bool VRAppInfo::isInstalledState(int state)
{
    return state == Installed || state == ChildEnded;
}

bool VRAppInfo::isValidMd5(const QString &md5)
{
    if (md5.size() != 32)
        return false;
    for (const QChar c : md5) {
        const char16_t u = c.unicode();
        const bool hex = (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
        if (!hex)
            return false;
    }
    return true;
}

void VRAppInfo::notifyUpdateDownloadProgress(qlonglong downloaded, qlonglong total)
{
    emit UpdateDownloadProgress(this, downloaded, total);
}

void VRAppInfo::notifyDownloadResume()
{
    emit DownloadResume(this);
}

void VRAppInfo::notifyDownloadPause()
{
    emit DownloadPause(this);
}

void VRAppInfo::notifyDownloadFinished()
{
    emit DownloadFinished(this);
}

void VRAppInfo::notifyAppDownloadFail()
{
    emit AppDownloadFail(this);
}

void VRAppInfo::notifyPicDownloadFinished()
{
    emit PicDownloadFinished(this);
}

void VRAppInfo::notifyAppInstalling()
{
    emit AppInstalling(this);
}

void VRAppInfo::notifyAppInstallFinished()
{
    emit AppInstallFinished(this);
}

void VRAppInfo::notifyAppInstallFail()
{
    emit AppInstallFail(this);
}

void VRAppInfo::notifyAppLaunchStart()
{
    emit AppLaunchStart(this);
}

void VRAppInfo::notifyAppLaunchFinished()
{
    emit AppLaunchFinished(this);
}

void VRAppInfo::notifyAppLaunchFail()
{
    emit AppLaunchFail(this);
}

void VRAppInfo::notifyAppUninstallFinished()
{
    emit AppUninstallFinished(this);
}
