#pragma once
// One game's row in the local games manager: picture, names, size, state,
// progress and the buttons that hand the user's wishes to the main window.
// It follows its own record's signals and writes most states into it.

#include <QWidget>

class QLabel;
class QMovie;
class QProgressBar;
class QPushButton;
class VRAppInfo;
struct NetworkPicture;

class listItem : public QWidget
{
    Q_OBJECT

public:
    static const int kWidth = 377;
    static const int kHeight = 167;

    explicit listItem(QWidget *parent = nullptr);

    void setAppInfo(VRAppInfo *info);
    VRAppInfo *appInfo() const { return info; }

    // The widgets, for the manager page and tests.
    QLabel *iconLabel() const { return lb_icon; }
    QLabel *loadingLabel() const { return lb_icon_loading; }
    QLabel *cnNameLabel() const { return lb_CN_name; }
    QLabel *enNameLabel() const { return lb_EN_name; }
    QLabel *sizeLabel() const { return lb_size; }
    QLabel *stateLabel() const { return lb_state; }
    QProgressBar *progress() const { return progressBar; }
    QPushButton *actionButton() const { return itemBtn; }
    QPushButton *deleteButton() const { return delBtn; }
    QPushButton *updateButton() const { return updateBtn; }
    QPushButton *buyButton() const { return buyBtn; }

public slots:
    void OnUpdateDownloadProgress(VRAppInfo *info, qlonglong received, qlonglong total);
    void OnDownloadResume(VRAppInfo *info);
    void OnDownloadPause(VRAppInfo *info);
    void OnDownloadFinished(VRAppInfo *info);
    void OnAppDownloadFail(VRAppInfo *info);
    void OnPicDownloadFinished(VRAppInfo *info);
    void OnAppInstalling(VRAppInfo *info);
    void OnAppInstallFinished(VRAppInfo *info);
    void OnAppInstallFail(VRAppInfo *info);
    void OnAppLaunchStart(VRAppInfo *info);
    void OnAppLaunchFail(VRAppInfo *info);
    void OnAppLaunchFinished(VRAppInfo *info);
    void OnAppUninstallFinished(VRAppInfo *info);
    void OnAppNeedUpdate(VRAppInfo *info);
    void OnItemBtnClick();
    void OnDelBtnClick();
    void setUpdateBtn(int gameKey, int flag);
    void setBuyBtn(int gameKey, int flag);

private:
    void connectSignals();
    void setPicture();
    void showPicture(const NetworkPicture &picture);
    QString startText() const;
    void setDownloadingLook();
    void setPausedLook();
    void setInstallingLook();
    // Every change of the state text goes through here and is logged.
    void setStateText(const QString &text);
    void setActionStyle(bool gold);
    void setBarStyle(bool gold);
    // Update and buy flags count for an installed game only.
    bool flagsApply(int gameKey) const;

    VRAppInfo *info = nullptr;
    QLabel *lb_icon;
    QPushButton *itemBtn;
    QLabel *lb_CN_name;
    QProgressBar *progressBar;
    QLabel *lb_EN_name;
    QLabel *lb_size;
    QPushButton *delBtn;
    QLabel *lb_state;
    QLabel *lb_icon_loading;
    QPushButton *updateBtn;
    QPushButton *buyBtn;
    QMovie *loadingMovie = nullptr;
    // Counts picture decodes, so only the newest one is shown.
    int pictureDecodes = 0;
};
