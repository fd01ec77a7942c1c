#pragma once

#include "gui/LatestInstance.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

class QLabel;
class QPushButton;
class webPopupForm;

struct Ui_AvatorForm
{
    QLabel *lb_avator_bg = nullptr;
    QLabel *lb_avator_cover = nullptr;
    QWidget *logoutWidget = nullptr;
    QLabel *lb_orbela_name = nullptr;
    QPushButton *loginBtn = nullptr;
    QWidget *loginWidget = nullptr;
    QLabel *lb_user_name = nullptr;
    QPushButton *dropDownBtn = nullptr;
    QLabel *lb_wanbi = nullptr;
    QLabel *lb_wanpiao = nullptr;
    QPushButton *rechargeBtn = nullptr;
    QPushButton *exchangeBtn = nullptr;
    webPopupForm *webLoginWidget = nullptr;

    void setupUi(QWidget *form);
};

// The account panel at the left of the title bar: a login button while logged
// out; the round avatar, the shortened name, the balances and the logout menu
// while logged in.
class AvatorForm : public QWidget, public LatestInstance<AvatorForm>
{
    Q_OBJECT

public:
    explicit AvatorForm(QWidget *parent = nullptr);
    ~AvatorForm() override;

    void setUserInfo(const QString &avatarPath, const QString &name);
    void setCoins(const QString &coins, const QString &tickets, const QString &rechargeUrl, const QString &exchangeUrl,
                  const QString &userCentralUrl);
    void composeAvatar(const QString &imagePath, const QString &maskPath, const QString &coverPath, int size);

    // The name as the panel shows it.
    static QString shortenedName(const QString &name);
    // "1.23万" above 10000, the number as it is up to there.
    static QString ticketText(const QString &tickets);

    bool isLoggedIn() const { return loggedIn; }
    QImage composedAvatar() const { return avatarImage; }
    Ui_AvatorForm *form() const { return ui; }

public slots:
    void on_loginBtn_clicked();
    void on_dropDownBtn_clicked();
    void on_rechargeBtn_clicked();
    void on_exchangeBtn_clicked();
    void onMenuLogOut();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void showLoggedOut();
    const QPixmap &coverPicture(bool hovered);

    Ui_AvatorForm *ui = nullptr;
    QImage avatarImage;
    QPixmap coverNormal;
    QPixmap coverHovered;
    bool loggedIn = false;
    QString rechargeUrl;
    QString exchangeUrl;
    QString userCentralUrl;
};
