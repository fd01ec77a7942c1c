#include "gui/games/listItem.h"

#include "core/AppFolders.h"
#include "core/game/GameSizeText.h"
#include "core/game/VRAppInfo.h"
#include "gui/NetworkPicture.h"
#include "gui/OrbelaDialog.h"

#include <QDebug>
#include <QFileInfo>
#include <QLabel>
#include <QMovie>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>

namespace {

const char kDefaultPicture[] =
    "QLabel{background: transparent;border-style: solid;border:1px groove gray;"
    "border-image: url(:/res/res/yinyangshi.png);}";

QString labelStyle(const char *name, int pixels)
{
    return QStringLiteral("#%1{background: transparent;font-family:'Microsoft YaHei';font-size:%2px;color:#CCCCCC;}")
        .arg(QLatin1String(name))
        .arg(pixels);
}

QString buttonStyle(const QString &name, bool gold)
{
    const char *background = gold ? "#DFC697" : "#2E2E2E";
    const char *text = gold ? "#1C1300" : "#CCCCCC";
    const char *hover = gold ? "#E9D7B6" : "#484848";
    const char *pressed = gold ? "#9C8A69" : "#2E2E2E";
    return QStringLiteral("#%1{background-color:%2; color:%3;font-family:'Microsoft YaHei';font-size:15px; border: none; }"
                          "#%1::hover{ background-color:%4; color:%3; }#%1::pressed{ background-color:%5; color:%3; }")
        .arg(name, QLatin1String(background), QLatin1String(text), QLatin1String(hover), QLatin1String(pressed));
}

QString barStyle(bool gold)
{
    return QStringLiteral("QProgressBar{border:none;background:#333333;color:#ffffff;}"
                          "QProgressBar::chunk{background:%1;}")
        .arg(QLatin1String(gold ? "#DFC697" : "#CCCCCC"));
}

QLabel *newLabel(QWidget *parent, const char *name, const QRect &geometry, const QString &text, int pixels)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setStyleSheet(labelStyle(name, pixels));
    return label;
}

QPushButton *newButton(QWidget *parent, const char *name, const QRect &geometry, const QString &text)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(buttonStyle(QLatin1String(name), true));
    return button;
}

} // namespace

listItem::listItem(QWidget *parent)
    : QWidget(parent)
{
    resize(kWidth, kHeight);
    lb_icon = new QLabel(this);
    lb_icon->setObjectName(QStringLiteral("lb_icon"));
    lb_icon->setGeometry(18, 30, 130, 100);
    lb_icon->setStyleSheet(QLatin1String(kDefaultPicture));
    itemBtn = newButton(this, "itemBtn", QRect(270, 100, 90, 32), QStringLiteral("暂停下载"));
    lb_CN_name = newLabel(this, "lb_CN_name", QRect(160, 25, 180, 30), QStringLiteral("中文名"), 14);
    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("progressBar"));
    progressBar->setGeometry(9, 152, 359, 4);
    progressBar->setValue(0);
    progressBar->setTextVisible(false);
    progressBar->setStyleSheet(barStyle(true));
    lb_EN_name = newLabel(this, "lb_EN_name", QRect(160, 45, 200, 30), QStringLiteral("English_Name"), 12);
    lb_size = newLabel(this, "lb_size", QRect(160, 70, 200, 30), QStringLiteral("游戏大小"), 12);
    delBtn = new QPushButton(this);
    delBtn->setObjectName(QStringLiteral("delBtn"));
    delBtn->setGeometry(340, 25, 18, 18);
    delBtn->setCursor(Qt::PointingHandCursor);
    delBtn->setStyleSheet(QStringLiteral("#delBtn{border-image: url(:/res/res/delete_normal.png);}"
                                         "#delBtn:hover{border-image: url(:/res/res/delete_hover.png);}"
                                         "#delBtn:pressed{border-image: url(:/res/res/delete_pressed.png);}"));
    lb_state = newLabel(this, "lb_state", QRect(160, 100, 100, 30), QStringLiteral("状态"), 14);
    lb_icon_loading = new QLabel(this);
    lb_icon_loading->setObjectName(QStringLiteral("lb_icon_loading"));
    lb_icon_loading->setGeometry(18, 30, 130, 100);
    lb_icon_loading->setStyleSheet(QLatin1String(kDefaultPicture));
    lb_icon_loading->hide();
    updateBtn = newButton(this, "updateBtn", QRect(270, 100, 90, 32), QStringLiteral("更新游戏"));
    buyBtn = newButton(this, "buyBtn", QRect(270, 100, 90, 32), QStringLiteral("购买游戏"));
}

void listItem::setStateText(const QString &text)
{
    if (lb_state->text() == text)
        return;
    lb_state->setText(text);
    // Read from the log by whoever checks the row from outside the process.
    qInfo("[Row] %s state: %s", qUtf8Printable(info ? info->gameId : QString()), qUtf8Printable(text));
}

QString listItem::startText() const
{
    return info && info->platform > 0 ? QStringLiteral("查看游戏") : QStringLiteral("开始游戏");
}

void listItem::setActionStyle(bool gold)
{
    itemBtn->setStyleSheet(buttonStyle(QStringLiteral("itemBtn"), gold));
}

void listItem::setBarStyle(bool gold)
{
    progressBar->setStyleSheet(barStyle(gold));
}

void listItem::setDownloadingLook()
{
    progressBar->show();
    setBarStyle(true);
    setActionStyle(true);
    itemBtn->setText(QStringLiteral("暂停下载"));
    setStateText(QStringLiteral("下载中"));
}

void listItem::setPausedLook()
{
    progressBar->show();
    setBarStyle(false);
    setActionStyle(false);
    itemBtn->setText(QStringLiteral("继续下载"));
    setStateText(QStringLiteral("暂停中"));
}

void listItem::setInstallingLook()
{
    itemBtn->hide();
    progressBar->setMaximum(0);
    setStateText(QStringLiteral("安装中"));
}

void listItem::setAppInfo(VRAppInfo *record)
{
    info = record;
    // The MD5 names a file: it is checked before it becomes part of a path.
    if (!VRAppInfo::isValidMd5(info->md5) || !QFileInfo::exists(getCachesDir() + info->md5)) {
        loadingMovie = new QMovie(QStringLiteral(":/res/res/pic_load.gif"), QByteArray(), this);
        loadingMovie->setScaledSize(lb_icon_loading->size());
        lb_icon_loading->setMovie(loadingMovie);
        loadingMovie->start();
        lb_icon_loading->show();
    } else {
        setPicture();
    }
    updateBtn->hide();
    buyBtn->hide();
    lb_CN_name->setText(info->cnName.size() > 11 ? info->cnName.left(11) + QStringLiteral("...") : info->cnName);
    lb_EN_name->setText(info->enName);
    lb_size->setText(QStringLiteral("游戏大小：") + gameSizeText(info->localSize, SizeTextKind::NewRow));
    connectSignals();
    setStateText(QString());
    progressBar->hide();
    itemBtn->setText(startText());
    switch (info->downloadStatus) {
    case VRAppInfo::Downloading:
        setDownloadingLook();
        break;
    case VRAppInfo::Paused:
        setPausedLook();
        break;
    case VRAppInfo::Downloaded:
    case VRAppInfo::Installing:
        setInstallingLook();
        break;
    case VRAppInfo::DownloadFailed:
        progressBar->show();
        setBarStyle(true);
        setStateText(QStringLiteral("下载失败"));
        itemBtn->setText(QStringLiteral("重新下载"));
        setActionStyle(true);
        break;
    case VRAppInfo::InstallFailed:
        // A failed unpacking stored by an earlier run is offered again.
        setStateText(QStringLiteral("安装失败"));
        itemBtn->setText(QStringLiteral("重新安装"));
        break;
    default:
        break;
    }
}

void listItem::connectSignals()
{
    connect(info, &VRAppInfo::UpdateDownloadProgress, this, &listItem::OnUpdateDownloadProgress);
    connect(info, &VRAppInfo::DownloadResume, this, &listItem::OnDownloadResume);
    connect(info, &VRAppInfo::DownloadPause, this, &listItem::OnDownloadPause);
    connect(info, &VRAppInfo::DownloadFinished, this, &listItem::OnDownloadFinished);
    connect(info, &VRAppInfo::AppDownloadFail, this, &listItem::OnAppDownloadFail);
    connect(info, &VRAppInfo::PicDownloadFinished, this, &listItem::OnPicDownloadFinished);
    connect(info, &VRAppInfo::AppInstallFinished, this, &listItem::OnAppInstallFinished);
    connect(info, &VRAppInfo::AppInstallFail, this, &listItem::OnAppInstallFail);
    connect(info, &VRAppInfo::AppLaunchStart, this, &listItem::OnAppLaunchStart);
    connect(info, &VRAppInfo::AppLaunchFail, this, &listItem::OnAppLaunchFail);
    connect(info, &VRAppInfo::AppLaunchFinished, this, &listItem::OnAppLaunchFinished);
    connect(info, &VRAppInfo::AppUninstallFinished, this, &listItem::OnAppUninstallFinished);
    connect(info, &VRAppInfo::AppNeedUpdate, this, &listItem::OnAppNeedUpdate);
    if (OrbelaDialog *window = OrbelaDialog::instance()) {
        connect(window, &OrbelaDialog::sendGameNeed2Update, this, &listItem::setUpdateBtn);
        connect(window, &OrbelaDialog::sendGameNeed2Buy, this, &listItem::setBuyBtn);
    }
    for (QPushButton *button : {itemBtn, updateBtn, buyBtn})
        connect(button, &QPushButton::clicked, this, &listItem::OnItemBtnClick);
    connect(delBtn, &QPushButton::clicked, this, &listItem::OnDelBtnClick);
}

void listItem::setPicture()
{
    // Decoded beside the window thread; only the newest decode is shown, and
    // none once the row is gone.
    const int decode = ++pictureDecodes;
    const QString path = getCachesDir() + info->md5;
    onPictureThreads<NetworkPicture>(this, [path]() { return NetworkPicture::load(path); },
                                     [this, decode](const NetworkPicture &picture) {
                                         if (decode == pictureDecodes)
                                             showPicture(picture);
                                     });
}

void listItem::showPicture(const NetworkPicture &picture)
{
    if (loadingMovie)
        loadingMovie->stop();
    // Hidden rather than closed: closing a widget walks every top-level window.
    lb_icon_loading->hide();
    if (picture.accepted(QStringLiteral("of game ") + info->gameId)) {
        // The picture goes in as a pixmap: a style sheet naming each row's own
        // file costs more with every row already shown.
        lb_icon->setStyleSheet(QStringLiteral("QLabel{background: transparent;border-style: solid;border:1px groove gray;}"));
        lb_icon->setScaledContents(true);
        lb_icon->setPixmap(QPixmap::fromImage(picture.image));
    } else {
        lb_icon->setStyleSheet(QLatin1String(kDefaultPicture));
        lb_icon->clear();
    }
    lb_icon->show();
}

void listItem::OnUpdateDownloadProgress(VRAppInfo *record, qlonglong received, qlonglong total)
{
    record->localSize = int(total / 1048576);
    lb_size->setText(QStringLiteral("游戏大小：") + downloadProgressText(received, total));
    if (itemBtn->text() == QStringLiteral("开始游戏")) {
        setActionStyle(true);
        itemBtn->setText(QStringLiteral("暂停下载"));
        setStateText(QStringLiteral("下载中"));
    }
    if (progressBar->isHidden())
        progressBar->show();
    progressBar->setMaximum(100);
    progressBar->setValue(downloadProgressPercent(received, total));
}

void listItem::OnDownloadResume(VRAppInfo *record)
{
    record->downloadStatus = VRAppInfo::Downloading;
    itemBtn->show();
    setDownloadingLook();
}

void listItem::OnDownloadPause(VRAppInfo *record)
{
    record->downloadStatus = VRAppInfo::Paused;
    setPausedLook();
}

void listItem::OnDownloadFinished(VRAppInfo *record)
{
    record->downloadStatus = VRAppInfo::Downloaded;
    qInfo("Download finished!");
    lb_size->setText(QStringLiteral("游戏大小：") + gameSizeText(record->localSize, SizeTextKind::Downloaded));
    progressBar->show();
    setInstallingLook();
}

void listItem::OnAppDownloadFail(VRAppInfo *record)
{
    record->downloadStatus = VRAppInfo::DownloadFailed;
    qInfo("Download failed!");
    lb_size->setText(QStringLiteral("游戏大小：") + gameSizeText(record->localSize, SizeTextKind::Failed));
    lb_state->show();
    setStateText(QStringLiteral("下载失败"));
    progressBar->hide();
    itemBtn->show();
    itemBtn->setText(QStringLiteral("重新下载"));
}

void listItem::OnPicDownloadFinished(VRAppInfo *)
{
    setPicture();
}

void listItem::OnAppInstalling(VRAppInfo *record)
{
    record->downloadStatus = VRAppInfo::Installing;
}

void listItem::OnAppInstallFinished(VRAppInfo *record)
{
    record->downloadStatus = VRAppInfo::Installed;
    qInfo("Install finished!");
    progressBar->hide();
    progressBar->setMaximum(100);
    setStateText(QString());
    itemBtn->show();
    setActionStyle(true);
    itemBtn->setText(startText());
}

void listItem::OnAppInstallFail(VRAppInfo *record)
{
    record->downloadStatus = VRAppInfo::InstallFailed;
    qInfo("Install failed!");
    progressBar->hide();
    progressBar->setMaximum(100);
    setStateText(QStringLiteral("安装失败"));
    itemBtn->show();
    setActionStyle(true);
    itemBtn->setText(QStringLiteral("重新安装"));
}

void listItem::OnAppLaunchStart(VRAppInfo *)
{
    qInfo("Launch start!");
    setStateText(QStringLiteral("游戏中"));
}

void listItem::OnAppLaunchFail(VRAppInfo *)
{
    qInfo("Launch failed!");
    setStateText(QStringLiteral("启动失败"));
}

void listItem::OnAppLaunchFinished(VRAppInfo *)
{
    qInfo("Launch finished!");
    setStateText(QString());
}

void listItem::OnAppUninstallFinished(VRAppInfo *)
{
    qInfo("Uninstall finished!");
}

void listItem::OnAppNeedUpdate(VRAppInfo *)
{
}

void listItem::OnItemBtnClick()
{
    OrbelaDialog *window = OrbelaDialog::instance();
    if (!info || !window)
        return;
    switch (info->downloadStatus) {
    case VRAppInfo::Downloading:
        setPausedLook();
        window->toggleDownload(info);
        break;
    case VRAppInfo::Paused:
        setDownloadingLook();
        window->toggleDownload(info);
        break;
    case VRAppInfo::DownloadFailed:
        progressBar->show();
        window->toggleDownload(info);
        break;
    case VRAppInfo::Installed:
    case VRAppInfo::ChildEnded:
        window->launchGame(info);
        break;
    case VRAppInfo::InstallFailed:
        window->installGame(info);
        progressBar->show();
        setInstallingLook();
        break;
    default:
        break;
    }
}

void listItem::OnDelBtnClick()
{
    if (OrbelaDialog *window = OrbelaDialog::instance())
        window->confirmUninstall(info);
}

bool listItem::flagsApply(int gameKey) const
{
    return info && !info->gameId.isEmpty()
           && (info->downloadStatus == VRAppInfo::Installed || info->downloadStatus == VRAppInfo::ChildEnded)
           && info->gameId == QString::number(gameKey);
}

void listItem::setUpdateBtn(int gameKey, int flag)
{
    if (!flagsApply(gameKey))
        return;
    if (flag == 1) {
        itemBtn->hide();
        updateBtn->show();
        qDebug().noquote() << info->enName << "need 2 update!";
    } else {
        updateBtn->hide();
        itemBtn->setText(startText());
        itemBtn->show();
    }
}

void listItem::setBuyBtn(int gameKey, int flag)
{
    if (!flagsApply(gameKey))
        return;
    if (flag == 0) {
        buyBtn->show();
        qDebug().noquote() << info->enName << "need 2 buy!";
    } else {
        buyBtn->hide();
        itemBtn->setText(startText());
    }
}
