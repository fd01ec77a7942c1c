#pragma once

#include "core/AppSettings.h"
#include "core/download/NetWorkDelegate.h"
#include "gui/LatestInstance.h"

#include <QDialog>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QThread>

class BackgroundDialog;
class DownloadManager;
class LocalDatabase;
class PopupWindowDialog;
class QRadioButton;
class QSystemTrayIcon;
class VRAppInfo;
class pushWebDialog;
namespace Ui {
class OrbelaDialog;
}

// The client's main window: the 74-pixel title bar lying over the top of the
// body window, which it creates and keeps directly under itself.
class OrbelaDialog : public QDialog, public NetWorkDelegate, public LatestInstance<OrbelaDialog>
{
    Q_OBJECT

public:
    static const int kTitleBarHeight = 74;

    explicit OrbelaDialog(QWidget *parent = nullptr);
    ~OrbelaDialog() override;

    void layoutTitleBar(int width);
    void switchToGame();
    void switchToActivity();
    void switchToExchange();
    void switchToManager();
    void switchToUserCentral(const QString &url);

    BackgroundDialog *bodyWindow() const { return body; }
    bool isMaximizedState() const { return maximized; }
    QRect dragArea() const { return dragRect; }

    void OnTaskProgress(int taskId, qint64 received, qint64 total) override;
    bool OnTaskError(int taskId, const QString &message, int code) override;
    void OnTaskEvent(int event) override;
    void OnTaskFinished(int taskId) override;

signals:
    void sendGameNeed2Buy(int, int);
    void sendGameNeed2Update(int, int);

public slots:
    void on_closeBtn_clicked();
    void on_maxBtn_clicked();
    void on_minBtn_clicked();
    void onRadioBtnClicked();
    void getLoadProgress(int progress);
    void ExitOrbela();
    void HideOrbela();
    void ShowOrbela();

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

private:
    void handOverReceived();
    void moveTabMarkerTo(QWidget *tab);
    // Checks a tab, slides the marker under it and shows its page.
    void selectTab(QRadioButton *tab, void (BackgroundDialog::*showPage)());
    void setMaximizeButtonImages(bool restore);
    void setupOnlineField();
    // Shrinks the body to nothing, remembering where it was.
    void stashBodyRect();

    QList<VRAppInfo *> gameList;
    QString currentDeviceId;
    Ui::OrbelaDialog *ui = nullptr;
    bool servicesPending = true;
    bool pushExpanded = false;
    int onlineSeconds = -1;
    QString userCentreUrl;
    QThread *worker = nullptr;
    QString userId;
    VRAppInfo *currentGame = nullptr;
    int startDay = 0;
    QSystemTrayIcon *trayIcon = nullptr;
    QString nickname;
    QString avatarFile;
    QString versionNoteUrl;
    QRect dragRect;
    QRect normalRect;
    QRect restoreRect;
    QPoint dragOffset;
    bool mousePressed = false;
    AppSettings settings;
    bool maximized = false;
    bool dragging = false;
    bool isWin62 = false;
    LocalDatabase *database = nullptr;
    DownloadManager *downloadManager = nullptr;
    BackgroundDialog *body = nullptr;
    PopupWindowDialog *popup = nullptr;
    pushWebDialog *pushPanel = nullptr;
};
