#pragma once

#include "gui/LatestInstance.h"

#include <QDialog>
#include <QMap>
#include <QString>

class DeviceRadioList;
class QLineEdit;
class QRadioButton;
namespace Ui {
class PopupWindowDialog;
}

// The client's one kind of popup: it darkens the whole body window and shows
// a small centred panel with one page (message, devices, settings, feedback,
// or the waiting page of a recharge or exchange). Made for one use; closing
// deletes it.
class PopupWindowDialog : public QDialog, public LatestInstance<PopupWindowDialog>
{
    Q_OBJECT

public:
    enum PageKind { Information = 0, DeviceSelection = 1, Settings = 2, Feedback = 3, Recharge = 4, Exchange = 5 };

    explicit PopupWindowDialog(QWidget *parent = nullptr);
    ~PopupWindowDialog() override;

    // style 1: one button (OK, at the right); style 2: small left-aligned text.
    void showInfo(const QString &title, const QString &text, const QString &okText, const QString &cancelText,
                  int style);
    void showDevicePage(const QString &currentDeviceId);
    void showSettingsPage(const QString &installDir, const QString &downloadTool, bool autoRun);
    void showFeedbackPage(const QString &url);
    void showRechargePage();
    void showExchangePage();

    int pageKindShown() const { return pageKind; }

signals:
    void sendDeviceSelection(const QString &id, const QString &name);
    void sendSettings(const QString &installDir, const QString &downloadTool, bool autoRun);

public slots:
    void on_closeBtn_clicked();
    void on_pup_okBtn_clicked();
    void on_pup_cancelBtn_clicked();
    void getDeviceInfo(QMap<int, QString> map);
    void getDeviceSelection(int key, const QString &entry);
    void getAutoBoxState(int state);
    void setExistingDirectory();
    void getLoadFinished(bool ok);
    void getDownloadSelection();
    void on_pup_recharge_ok_clicked();
    void on_pup_recharge_failed_clicked();

public slots:
    // Not while the games folder is being copied.
    void reject() override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void showPanelPage(int kind, const QString &logo, const QString &title);
    void showTipsPage(int kind, const QString &tips, const QString &okText, const QString &failedText);
    void centrePanel();
    // Moves a changed games folder beside the window thread, then saves.
    void applyGamesFolder();
    void gamesFolderApplied(int move);
    void showFolderMoving(bool moving);
    void tellUser(const QString &text);

    Ui::PopupWindowDialog *ui = nullptr;
    QRadioButton *thunderRadio = nullptr;
    QRadioButton *httpRadio = nullptr;
    QMap<int, QString> devices;
    DeviceRadioList *deviceList = nullptr;
    QString selectedDeviceId;
    QString selectedDeviceName;
    QLineEdit *installDirEdit = nullptr;
    bool autoRun = false;
    QString installDir;
    QString downloadTool;
    int pageKind = Information;
    // The games folder the settings page opened with.
    QString shownInstallDir;
    bool folderMoving = false;
};
