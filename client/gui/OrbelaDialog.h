#pragma once

#include "core/AppSettings.h"
#include "core/download/NetWorkDelegate.h"
#include "core/game/GameRoad.h"
#include "gui/LatestInstance.h"
#include "core/OnlineSession.h"
#include "core/TitleBarLayout.h"
#include "core/WindowPlacement.h"

#include <QDialog>
#include <QHostInfo>
#include <QList>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSystemTrayIcon>
#include <QThread>

#include <initializer_list>

class BackgroundDialog;
class DownloadManager;
class LocalDatabase;
class PopupWindowDialog;
class QMenu;
class QNetworkAccessManager;
class QNetworkReply;
class QTimer;
class QuaNetworkPost;
class QRadioButton;
class VRAppInfo;
class pushWebDialog;
namespace Ui {
class OrbelaDialog;
}

// The client's main window: the 74-pixel title bar lying over the top of the
// body window, which it creates and keeps directly under itself.
class OrbelaDialog : public QDialog,
                     public NetWorkDelegate,
                     public GameRoadHost,
                     public LatestInstance<OrbelaDialog>
{
    Q_OBJECT

public:
    static const int kTitleBarHeight = 74;

    explicit OrbelaDialog(QWidget *parent = nullptr);
    ~OrbelaDialog() override;

    // Window tests without the store: no host look-up and no version check.
    static void setStartUpChecksEnabled(bool enabled);

    // The event loop was asked to quit (also before it ran).
    bool hasQuit() const { return quitAsked; }

    void layoutTitleBar(int width);
    // The narrowest window at which every title-bar item fits beside the others.
    int minimumWindowWidth() const;
    void switchToGame();
    void switchToActivity();
    void switchToExchange();
    void switchToManager();
    void switchToUserCentral(const QString &url);
    void expandPushPanel();
    void foldPushPanel();
    bool isPushPanelExpanded() const { return pushExpanded; }
    pushWebDialog *pushPanelWindow() const { return pushPanel; }

    void createTrayIcon();
    // Non-zero when the user confirmed. Empty title, OK and cancel texts read
    // "提示信息", "确定" and "取消".
    int showMessage(const QString &title, const QString &text, const QString &okText, const QString &cancelText,
                    int style);
    void showDeviceSelection();
    void showExchangeTips();
    void showRechargeTips();

    void startUpdateCheck();
    void startUpdater(const QString &version, const QString &url);

    // The logged-in user id (a copy); empty when nobody is logged in.
    QString getUserId() const { return session.userId(); }
    QString userCentralUrl() const { return userCentreUrl; }
    // Applies a successful login: the user, the avatar picture, the resources.
    void downloadAvator(const QString &uid, const QString &nickname, const QString &avatarUrl);
    void callLoginCallback();
    void callLogoutCallback();
    void logout();
    void requestUserInfo();
    void postOnlineLength();
    OnlineSession &onlineSession() { return session; }

    // The game road (its logic lives in GameRoad). Records handed in are the road's.
    bool isInstalled(const QString &gameId) const;
    void startDownload(VRAppInfo *info);
    void installGame(VRAppInfo *info);
    void toggleDownload(VRAppInfo *info);
    void saveGame(VRAppInfo *info);
    QByteArray localGamesStatusJson() const;
    void requestGameUpdateStatus();
    void launchGame(VRAppInfo *info);
    void startGame(VRAppInfo *info);
    void confirmUninstall(VRAppInfo *info);
    void uninstallGame(VRAppInfo *info);

    // What the game road asks of the windows.
    void addManagerRow(VRAppInfo *info, bool atBottom) override;
    void removeManagerRow(const QString &gameId) override;
    void showManager() override;
    int askUser(const QString &title, const QString &text, int style) override;
    void showLoginDialog() override;
    void hideWindows() override;
    void showWindows() override;
    void openFolder(const QString &folder) override;
    QString loggedInUserId() override;

    bool servicesStarted() const { return !servicesPending; }
    QString deviceId() const { return currentDeviceId; }
    const AppSettings &windowSettings() const { return settings; }
    PopupWindowDialog *lastPopup() const;
    QSystemTrayIcon *tray() const { return trayIcon; }
    DownloadManager *downloads() const { return downloadManager; }

    BackgroundDialog *bodyWindow() const { return body; }
    bool isMaximizedState() const { return placement.isMaximized(); }
    QRect dragArea() const { return dragRect; }

    void OnTaskProgress(int taskId, qint64 received, qint64 total) override;
    bool OnTaskError(int taskId, const QString &message, int code) override;
    void OnTaskEvent(int event) override;
    void OnTaskFinished(int taskId) override;

signals:
    void sendGameNeed2Buy(int, int);
    void sendGameNeed2Update(int, int);
    // The client should end: main quits its event loop.
    void quitRequested();

public slots:
    void lookedUpHost(const QHostInfo &info);
    void on_closeBtn_clicked();
    void on_maxBtn_clicked();
    void on_minBtn_clicked();
    void on_setBtn_clicked();
    void on_deviceBtn_clicked();
    void onSettingsClicked();
    void onFeedbackClicked();
    void onAboutClicked();
    void onRadioBtnClicked();
    void getLoadProgress(int progress);
    void getDeviceSelection(const QString &id, const QString &name);
    void getSettings(const QString &installDir, const QString &downloadTool, bool autoRun);
    void getUpdateInfo(const QString &version, const QString &note, const QString &url, bool forced);
    void getNoNeedUpdateOrbela();
    void getVersionInfo(const QString &url);
    void getOnlineInfo(int onlineTotal);
    void trayActived(QSystemTrayIcon::ActivationReason reason);
    void ExitOrbela();
    void HideOrbela();
    void ShowOrbela();
    void getConcurrentUsers();
    void workerTimer();
    void downloadAvatorFinished(QNetworkReply *reply);
    void OnVarifyVRAppDone(QString md5, void *hanlde);
    void getUnZipResault(bool ok, VRAppInfo *info);
    void getLoadFinished(bool ok);
    void getGameUpdateStatus(QMap<int, QString> states);
    void getGameUpdateInfo(VRAppInfo *server);
    void getLaunchResault(VRAppInfo *info);
    void getUserInfo(int onlineLength, const QString &coins, const QString &tickets, const QString &coinUrl,
                     const QString &ticketUrl, const QString &homeUrl);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool nativeEvent(const QByteArray &eventType, void *message, long *result) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

public slots:
    // Escape and any other rejection leave the title bar alone; only the exit hides it.
    void reject() override;

private:
    void handOverReceived();
    void moveTabMarkerTo(QWidget *tab);
    // Checks a tab, slides the marker under it and shows its page.
    void selectTab(QRadioButton *tab, void (BackgroundDialog::*showPage)());
    void setMaximizeButtonImages(bool restore);
    void setupOnlineField();
    TitleBarLayout titleBarLayout() const;
    QWidget *titleBarItem(TitleBarLayout::Item item) const;
    // The body at bodyRect, the title bar over its top.
    void placeWindows(const QRect &bodyRect);
    // Shrinks the body to nothing, remembering where it was.
    void stashBody();
    // Gives a body out of sight its rectangle back.
    void unstashBody();
    void startServicesIfPending();
    void startWorker();
    void routeStoredGames();
    void requestAutoLogin(const QString &userName, const QString &password);
    // Opens a new popup over the body; the caller fills in its page.
    PopupWindowDialog *openPopup(QWidget *parent, Qt::WindowModality modality = Qt::NonModal);
    struct MenuEntry
    {
        const char *icon; // under ":/res/res/"
        const char *text; // UTF-8
        void (OrbelaDialog::*slot)();
    };
    // A menu in the client's style with the entries, separators between them.
    QMenu *newMenu(QWidget *parent, std::initializer_list<MenuEntry> entries);
    void saveWindowState();
    // Quits once the exit's posts are answered (or have had their time).
    void quitAfter(const QList<QuaNetworkPost *> &posts);
    void quitEventLoop();
    void placePushPanel();
    void requestAvatar(const QUrl &url, int redirectsLeft);
    void saveAvatar(const QByteArray &jpeg);

    static bool startUpChecksEnabled;

    QString currentDeviceId;
    Ui::OrbelaDialog *ui = nullptr;
    bool servicesPending = true;
    bool pushExpanded = false;
    // The user id, the online seconds and the day of the last start event,
    // shared with the worker thread.
    OnlineSession session;
    QString userCentreUrl;
    QThread *worker = nullptr;
    GameRoad *road = nullptr;
    QSystemTrayIcon *trayIcon = nullptr;
    QString nickname;
    QString avatarFile;
    // Counts logins, so a picture decoded for an earlier one is dropped.
    int avatarLogins = 0;
    QString versionNoteUrl;
    QRect dragRect;
    // Normal or maximised, in sight or not, and the body's rectangles to go
    // back to.
    WindowPlacement placement{QRect(), false};
    QPoint dragOffset;
    bool mousePressed = false;
    AppSettings settings;
    bool dragging = false;
    bool isWin62 = false;
    LocalDatabase *database = nullptr;
    DownloadManager *downloadManager = nullptr;
    BackgroundDialog *body = nullptr;
    QPointer<PopupWindowDialog> popup;
    pushWebDialog *pushPanel = nullptr;
    QTimer *secondTimer = nullptr;
    QTimer *tenMinuteTimer = nullptr;
    bool quitAsked = false;
    QNetworkAccessManager *avatarNetwork = nullptr;
    bool exiting = false;
};
