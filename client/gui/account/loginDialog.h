#pragma once

#include "gui/LatestInstance.h"

#include <QDialog>
#include <QPoint>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class webPopupForm;

// The widgets of the login form, by their object names.
struct Ui_loginDialog
{
    QWidget *popupWidget = nullptr;
    QPushButton *loginBtn = nullptr;
    QLabel *lb_logo = nullptr;
    QLineEdit *lineEdit_account = nullptr;
    QLineEdit *lineEdit_pwd = nullptr;
    QLabel *lb_3th = nullptr;
    QPushButton *qqBtn = nullptr;
    QPushButton *wxBtn = nullptr;
    QPushButton *wbBtn = nullptr;
    QLabel *lb_reg_txt = nullptr;
    QPushButton *closeBtn = nullptr;
    QCheckBox *rmb_chbox = nullptr;
    QCheckBox *auto_chbox = nullptr;
    QLabel *lb_line = nullptr;
    QPushButton *regBtn = nullptr;
    QPushButton *get_back_pwd_btn = nullptr;
    QLabel *lb_error_txt = nullptr;
    webPopupForm *webLoginWidget = nullptr;

    void setupUi(QDialog *dialog);
};

// The login form laid over the body window; it also owns the login request,
// which the automatic login at start-up sends without a dialog.
class loginDialog : public QDialog, public LatestInstance<loginDialog>
{
    Q_OBJECT
    Q_PROPERTY(int alpha READ getAlpha WRITE setAlpha)

public:
    explicit loginDialog(QWidget *parent = nullptr);
    ~loginDialog() override;

    // Shows a new dialog over the body window's rectangle (a null one keeps the
    // dialog's own geometry); it is deleted once closed. While one is open,
    // that one comes forward instead.
    static loginDialog *openOver(QWidget *parent, const QRect &area);

    // Sends the signed login form to the forum; the answer applies the user
    // (through the form post's login applier) and reaches this dialog, if any.
    static void requestLogin(const QString &account, const QString &password, loginDialog *receiver = nullptr);
    // Load the web login or logout address into the hidden page kept for the
    // forum session.
    static void webLogin();
    static void webLogout();
    // The hidden page of the forum session (made on first use; null without a main window).
    static webPopupForm *forumSessionForm();

    int getAlpha() const { return alpha; }
    void setAlpha(int value);
    void startShake();
    void showError();

    Ui_loginDialog *form() const { return ui; }

public slots:
    void on_loginBtn_clicked();
    void on_regBtn_clicked();
    void on_get_back_pwd_btn_clicked();
    void on_qqBtn_clicked();
    void on_wxBtn_clicked();
    void on_wbBtn_clicked();
    void on_closeBtn_clicked();
    void shakeTimeout();
    void getUserInfo(QString uid, QString nickname, QString avatar);
    void getUserError(int errorCode);
    void onCheckboxBtnClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void openOutsideLogin(const QString &type, const QString &icon, const QString &title);

    Ui_loginDialog *ui = nullptr;
    int alpha = 255;
    QTimer *shakeTimer = nullptr;
    int shakeStep = 0;
    QPoint shakeOrigin;
    QLineEdit *shakeTarget = nullptr;

    static QString webLoginUrl;
    static QString webLogoutUrl;
};
