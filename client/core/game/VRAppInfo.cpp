#include "core/game/VRAppInfo.h"

#include "core/AppFolders.h"

#include <QJsonObject>
#include <QJsonValue>

namespace {

// The text fields both readers share; a key that is missing or holds no JSON
// string leaves its field empty.
void readTextFields(VRAppInfo *info, const QJsonObject &object)
{
    info->gameId = object.value(QLatin1String("gameId")).toString();
    info->cnName = object.value(QLatin1String("cnName")).toString();
    info->enName = object.value(QLatin1String("enName")).toString();
    info->version = object.value(QLatin1String("version")).toString();
    info->md5 = object.value(QLatin1String("md5")).toString();
    info->serverAppSource = object.value(QLatin1String("exe_dl_path")).toString();
    info->serverPicSource = object.value(QLatin1String("pic_dl_path")).toString();
    info->deviceId = object.value(QLatin1String("deviceId")).toString();
    info->launcher = object.value(QLatin1String("launcher")).toString();
    info->launchParameter = object.value(QLatin1String("launcherParameter")).toString();
}

} // namespace

VRAppInfo::VRAppInfo()
    : QObject(nullptr)
{
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
