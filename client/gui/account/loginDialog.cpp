#include "gui/account/loginDialog.h"

#include "core/ServiceHosts.h"
#include "core/game/LocalDatabase.h"
#include "core/webapi/ClientIdentity.h"
#include "core/webapi/LoginForm.h"
#include "core/webapi/MessageSigning.h"
#include "core/webapi/QuaNetworkPost.h"
#include "gui/FormWidgets.h"
#include "gui/OrbelaDialog.h"
#include "gui/WindowAnimations.h"
#include "gui/popups/popupWebDialog.h"
#include "gui/web/SystemBrowser.h"
#include "gui/web/webPopupForm.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QResizeEvent>
#include <QTimer>
#include <QUrl>

QString loginDialog::webLoginUrl;
QString loginDialog::webLogoutUrl;

namespace {

const char kLineEditStyle[] =
    "QLineEdit{font-family:'Microsoft YaHei';font-size:12px;color:#333333;"
    "border-image: url(:/res/res/line_edit_normal.png);}"
    "QLineEdit:hover,QLineEdit:pressed{border-image: url(:/res/res/line_edit_hover.png);}";

const char kCheckBoxStyle[] =
    "QCheckBox{font-family:'Microsoft YaHei';font-size:14px;color:#CCCCCC;background:transparent;}"
    "QCheckBox::indicator{width:16px;height:16px;}"
    "QCheckBox::indicator:unchecked{image:url(:/res/res/login_uncheck.png);}"
    "QCheckBox::indicator:checked{image:url(:/res/res/login_checked.png);}";

QString imageButton(const QString &name, const QString &normal, const QString &hover, const QString &pressed = {})
{
    QString style = QStringLiteral("#%1{border-image:url(:/res/res/%2);}#%1:hover{border-image:url(:/res/res/%3);}")
                        .arg(name, normal, hover);
    if (!pressed.isEmpty())
        style += QStringLiteral("#%1:pressed{border-image:url(:/res/res/%2);}").arg(name, pressed);
    return style;
}

QLabel *imageLabel(QWidget *parent, const char *name, QRect rect, const QString &image)
{
    auto *label = placeWidget<QLabel>(parent, name, rect.x(), rect.y(), rect.width(), rect.height());
    label->setStyleSheet(QStringLiteral("#%1{border-image:url(:/res/res/%2);}").arg(QLatin1String(name), image));
    return label;
}

QString textButtonStyle(const QString &name, const QString &colour, const QString &hover, const QString &pressed)
{
    return QStringLiteral("#%1{background:transparent;border:none;font-family:'Microsoft YaHei';font-size:14px;"
                          "color:%2;}#%1:hover{color:%3;}#%1:pressed{color:%4;}")
        .arg(name, colour, hover, pressed);
}

// The small picture inside a field, left of its text.
void addFieldIcon(QLineEdit *field, const char *name, const char *image)
{
    field->setTextMargins(51, 0, 0, 0);
    field->setContextMenuPolicy(Qt::NoContextMenu);
    auto *icon = new QFrame(field);
    icon->setObjectName(QLatin1String(name));
    icon->setGeometry(6, 9, 36, 36);
    icon->setStyleSheet(QStringLiteral("QFrame#%1{border-image:url(:/res/res/%2)}")
                            .arg(QLatin1String(name), QLatin1String(image)));
    icon->setCursor(Qt::PointingHandCursor);
    icon->setEnabled(false);
    icon->show();
}

} // namespace

void Ui_loginDialog::setupUi(QDialog *dialog)
{
    if (dialog->objectName().isEmpty())
        dialog->setObjectName(QStringLiteral("loginDialog"));
    dialog->resize(1105, 690);
    dialog->setWindowTitle(QStringLiteral("Dialog"));
    popupWidget = placeWidget<QWidget>(dialog, "popupWidget", 400, 160, 332, 438);
    popupWidget->setStyleSheet(QStringLiteral("#popupWidget{background:#E626282F;}"));
    popupWidget->setAttribute(Qt::WA_StyledBackground);

    loginBtn = placeWidget<QPushButton>(popupWidget, "loginBtn", 20, 260, 291, 41);
    loginBtn->setText(QStringLiteral("登 录"));
    loginBtn->setStyleSheet(QStringLiteral(
        "#loginBtn{background:#DFC697;color:#1C1300;font-family:'Microsoft YaHei';font-size:18px;border:none;}"
        "#loginBtn:hover{background:#E9D7B6;}#loginBtn:pressed{background:#9C8A69;}"));
    lb_logo = imageLabel(popupWidget, "lb_logo", QRect(133, 19, 65, 65), QStringLiteral("login_logo.png"));
    lineEdit_account = placeWidget<QLineEdit>(popupWidget, "lineEdit_account", 20, 100, 291, 50);
    lineEdit_pwd = placeWidget<QLineEdit>(popupWidget, "lineEdit_pwd", 20, 160, 291, 50);
    for (QLineEdit *field : {lineEdit_account, lineEdit_pwd})
        field->setStyleSheet(QString::fromLatin1(kLineEditStyle));
    lb_3th = imageLabel(popupWidget, "lb_3th", QRect(25, 350, 274, 14), QStringLiteral("line_3th.png"));
    qqBtn = placeWidget<QPushButton>(popupWidget, "qqBtn", 92, 380, 36, 36);
    qqBtn->setStyleSheet(imageButton(QStringLiteral("qqBtn"), QStringLiteral("login_qq.png"), QStringLiteral("login_qq_hover.png")));
    wxBtn = placeWidget<QPushButton>(popupWidget, "wxBtn", 150, 380, 36, 36);
    wxBtn->setStyleSheet(imageButton(QStringLiteral("wxBtn"), QStringLiteral("login_wx.png"), QStringLiteral("login_wx_hover.png")));
    wbBtn = placeWidget<QPushButton>(popupWidget, "wbBtn", 210, 380, 36, 36);
    wbBtn->setStyleSheet(imageButton(QStringLiteral("wbBtn"), QStringLiteral("login_wb.png"), QStringLiteral("login_wb_hover.png")));
    lb_reg_txt = placeWidget<QLabel>(popupWidget, "lb_reg_txt", 70, 315, 101, 20);
    lb_reg_txt->setText(QStringLiteral("还未注册过帐号"));
    lb_reg_txt->setStyleSheet(QStringLiteral(
        "#lb_reg_txt{background:transparent;font-family:'Microsoft YaHei';font-size:14px;color:#CCCCCC;}"));
    closeBtn = placeWidget<QPushButton>(popupWidget, "closeBtn", 310, 10, 14, 14);
    closeBtn->setStyleSheet(imageButton(QStringLiteral("closeBtn"), QStringLiteral("pup_close_normal.png"),
                                        QStringLiteral("pup_close_hover.png"), QStringLiteral("pup_close_pressed.png")));
    rmb_chbox = placeWidget<QCheckBox>(popupWidget, "rmb_chbox", 20, 225, 141, 18);
    rmb_chbox->setText(QStringLiteral("记住用户名和密码"));
    auto_chbox = placeWidget<QCheckBox>(popupWidget, "auto_chbox", 160, 225, 81, 18);
    auto_chbox->setText(QStringLiteral("自动登录"));
    for (QCheckBox *box : {rmb_chbox, auto_chbox}) {
        box->setChecked(true);
        box->setStyleSheet(QString::fromLatin1(kCheckBoxStyle));
    }
    lb_line = imageLabel(popupWidget, "lb_line", QRect(245, 229, 1, 12), QStringLiteral("login-line.png"));
    regBtn = placeWidget<QPushButton>(popupWidget, "regBtn", 170, 314, 87, 25);
    regBtn->setStyleSheet(imageButton(QStringLiteral("regBtn"), QStringLiteral("registered_normal.png"),
                                      QStringLiteral("registered_hover.png"), QStringLiteral("registered_depressed.png")));
    get_back_pwd_btn = placeWidget<QPushButton>(popupWidget, "get_back_pwd_btn", 253, 225, 70, 18);
    get_back_pwd_btn->setText(QStringLiteral("忘记密码？"));
    get_back_pwd_btn->setStyleSheet(
        textButtonStyle(QStringLiteral("get_back_pwd_btn"), QStringLiteral("#CCCCCC"), QStringLiteral("#DFC697"),
                        QStringLiteral("#9B8B6F")));
    lb_error_txt = placeWidget<QLabel>(popupWidget, "lb_error_txt", 90, 40, 200, 30);
    lb_error_txt->setStyleSheet(QStringLiteral(
        "background:transparent;font-family:'Microsoft YaHei';font-size:18px;color:#90FF0000;"));
    webLoginWidget = placeWidget<webPopupForm>(popupWidget, "webLoginWidget", 30, 370, 41, 31);
    webLoginWidget->hide();
}

loginDialog::loginDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui_loginDialog)
{
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    ui->setupUi(this);
    QMetaObject::connectSlotsByName(this);

    addFieldIcon(ui->lineEdit_account, "account", "account.png");
    addFieldIcon(ui->lineEdit_pwd, "pwd", "password.png");
    ui->lineEdit_pwd->setEchoMode(QLineEdit::Password);
    ui->lineEdit_account->installEventFilter(this);
    ui->lineEdit_pwd->installEventFilter(this);

    LocalDatabase database;
    if (database.open()) {
        ui->rmb_chbox->setChecked(database.isRemember());
        ui->auto_chbox->setChecked(database.isAutoLogin());
        QString userName;
        QString password;
        if (database.getUser(userName, password)) {
            ui->lineEdit_account->setText(fromRememberedText(userName));
            ui->lineEdit_pwd->setText(fromRememberedText(password));
        }
        database.close();
    }

    ui->lb_error_txt->hide();
    ui->lb_error_txt->setAlignment(Qt::AlignCenter);
    ui->webLoginWidget->hide();
    connect(ui->rmb_chbox, &QCheckBox::clicked, this, &loginDialog::onCheckboxBtnClicked);
    connect(ui->auto_chbox, &QCheckBox::clicked, this, &loginDialog::onCheckboxBtnClicked);
}

loginDialog::~loginDialog()
{
    delete ui;
}

loginDialog *loginDialog::openOver(QWidget *parent, const QRect &area)
{
    // One dialog at a time: a second press of a login button (Return, then
    // Space) brings the open one forward, so no second one can log in again.
    loginDialog *dialog = instance();
    if (!dialog || !dialog->isVisible()) {
        dialog = new loginDialog(parent);
        // Each opening makes a new dialog; a closed one would stay hidden until the client ends.
        dialog->setAttribute(Qt::WA_DeleteOnClose);
    }
    if (!area.isNull())
        dialog->setGeometry(area);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

void loginDialog::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 0, 0xCC));
}

void loginDialog::resizeEvent(QResizeEvent *event)
{
    const QSize panel = ui->popupWidget->size();
    ui->popupWidget->move((event->size().width() - panel.width()) / 2, (event->size().height() - panel.height()) / 2);
    QDialog::resizeEvent(event);
}

void loginDialog::on_loginBtn_clicked()
{
    if (ui->lineEdit_account->text().isEmpty()) {
        ui->lb_error_txt->setText(QStringLiteral("用户名不能为空！"));
        shakeTarget = ui->lineEdit_account;
        startShake();
    } else if (ui->lineEdit_pwd->text().isEmpty()) {
        ui->lb_error_txt->setText(QStringLiteral("密码不能为空！"));
        shakeTarget = ui->lineEdit_pwd;
        startShake();
    } else if (ui->loginBtn->isEnabled()) {
        // One login at a time: the button comes back with the answer, an
        // error or the end of the wait for one.
        ui->loginBtn->setEnabled(false);
        requestLogin(ui->lineEdit_account->text(), ui->lineEdit_pwd->text(), this);
    }
}

void loginDialog::startShake()
{
    // One shake at a time: a click during a shake is ignored.
    if (shakeTimer && shakeTimer->isActive())
        return;
    delete shakeTimer;
    shakeTimer = new QTimer(this);
    shakeTimer->setInterval(40);
    shakeStep = 0;
    shakeOrigin = shakeTarget->pos();
    connect(shakeTimer, &QTimer::timeout, this, &loginDialog::shakeTimeout);
    shakeTimer->start();
}

void loginDialog::shakeTimeout()
{
    shakeTarget->setStyleSheet(QString::fromLatin1(kLineEditStyle));
    shakeTimer->stop();
    if (shakeStep >= 12) {
        showError();
        return;
    }
    shakeTarget->setStyleSheet(QStringLiteral("QLineEdit{font-family:'Microsoft YaHei';font-size:12px;color:#ff0000;")
                               + QString(16, QLatin1Char('\t'))
                               + QStringLiteral("border-image: url(:/res/res/line_edit_hover.png);}"));
    ++shakeStep;
    const int x = shakeOrigin.x();
    const int y = shakeOrigin.y();
    switch (shakeStep % 4) {
    case 1: shakeTarget->move(x, y - 2); break;
    case 2: shakeTarget->move(x - 2, y - 2); break;
    case 3: shakeTarget->move(x - 2, y); break;
    default: shakeTarget->move(x, y); break;
    }
    shakeTimer->start();
}

void loginDialog::showError()
{
    animateMove(ui->lb_logo, QPoint(20, 19), QEasingCurve(QEasingCurve::OutBounce));
    ui->lb_error_txt->show();
    auto *blink = new QPropertyAnimation(this, "alpha", this);
    blink->setDuration(1000);
    blink->setKeyValueAt(0, 255);
    blink->setKeyValueAt(0.5, 100);
    blink->setKeyValueAt(1, 255);
    blink->setLoopCount(3);
    blink->start(QAbstractAnimation::DeleteWhenStopped);
}

void loginDialog::setAlpha(int value)
{
    alpha = value;
    ui->lb_error_txt->setStyleSheet(
        QStringLiteral("font-family:'Microsoft YaHei';font-size:18px;color:#90FFFFFF;") + QString(7, QLatin1Char('\t'))
        + QStringLiteral(" background-color: rgba(167, 150, 116, %1);border-radius:15px;").arg(value));
}

bool loginDialog::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == ui->lineEdit_account || watched == ui->lineEdit_pwd) && event->type() == QEvent::FocusIn) {
        ui->lb_error_txt->hide();
        animateMove(ui->lb_logo, QPoint(133, 19), QEasingCurve(QEasingCurve::OutBounce));
    }
    return QDialog::eventFilter(watched, event);
}

void loginDialog::onCheckboxBtnClicked()
{
    LocalDatabase database;
    if (!database.open())
        return;
    if (sender() == ui->rmb_chbox) {
        database.setRemember(ui->rmb_chbox->isChecked());
    } else if (sender() == ui->auto_chbox) {
        if (ui->auto_chbox->isChecked())
            ui->rmb_chbox->setChecked(true);
        database.setAutoLogin(ui->auto_chbox->isChecked());
    }
    database.close();
}

void loginDialog::requestLogin(const QString &account, const QString &password, loginDialog *receiver)
{
    const QString timestamp = timestampText();
    const QString sign = signWithSalt(timestamp);
    QPointer<loginDialog> dialog(receiver);
    // The public-IP lookup runs a nested event loop; the dialog may go meanwhile.
    const QByteArray body = loginFormBody(account, password, timestamp, sign, getPublicIp());
    webLoginUrl = webLoginAddress(forumHost(), body);
    webLogoutUrl = webLogoutAddress(forumHost(), body);
    auto *post = new QuaNetworkPost(nullptr, QuaNetworkPost::Answer::Login);
    if (dialog) {
        connect(post, &QuaNetworkPost::sendUserInfo, dialog.data(), &loginDialog::getUserInfo);
        connect(post, &QuaNetworkPost::sendUserError, dialog.data(), &loginDialog::getUserError);
        connect(post, &QuaNetworkPost::answered, dialog.data(), [dialog]() { dialog->ui->loginBtn->setEnabled(true); });
    }
    post->post(loginPostAddress(forumHost()), body);
}

webPopupForm *loginDialog::forumSessionForm()
{
    static QPointer<webPopupForm> session;
    OrbelaDialog *mainWindow = OrbelaDialog::instance();
    if (!session && mainWindow) {
        session = new webPopupForm(mainWindow);
        session->setObjectName(QStringLiteral("forumSessionForm"));
        session->hide();
    }
    return session;
}

void loginDialog::webLogin()
{
    if (webPopupForm *session = forumSessionForm(); session && !webLoginUrl.isEmpty())
        session->createView(webLoginUrl);
}

void loginDialog::webLogout()
{
    if (webPopupForm *session = forumSessionForm(); session && !webLogoutUrl.isEmpty())
        session->createView(webLogoutUrl);
}

void loginDialog::getUserInfo(QString uid, QString, QString)
{
    // The form post's login applier has applied the user, told the pages and
    // logged the forum in; what is left is the remembered account.
    LocalDatabase database;
    if (database.open()) {
        if (ui->rmb_chbox->isChecked()) {
            database.saveUser(uid, QStringLiteral("true"),
                              ui->auto_chbox->isChecked() ? QStringLiteral("true") : QStringLiteral("false"),
                              QStringLiteral("true"), rememberedText(ui->lineEdit_account->text()),
                              rememberedText(ui->lineEdit_pwd->text()));
        } else {
            database.deleteUsers();
        }
        database.close();
    }
    close();
}

void loginDialog::getUserError(int errorCode)
{
    const QString text = loginErrorText(errorCode);
    if (!text.isNull())
        ui->lb_error_txt->setText(text);
    showError();
}

void loginDialog::on_regBtn_clicked()
{
    openInSystemBrowser(QUrl(QStringLiteral("http://%1/member.php?mod=register").arg(forumHost())));
    close();
}

void loginDialog::on_get_back_pwd_btn_clicked()
{
    openInSystemBrowser(QUrl(QStringLiteral("http://%1/member.php?mod=lostpasswd").arg(forumHost())));
    close();
}

void loginDialog::openOutsideLogin(const QString &type, const QString &icon, const QString &title)
{
    auto *popup = new popupWebDialog(OrbelaDialog::instance());
    popup->showPage(icon, title,
                    QStringLiteral("http://%1/passport.php?action=client_third_login&type=").arg(forumHost()) + type);
    popup->setWindowModality(Qt::WindowModal);
    popup->show();
    animateWindowDropIn(popup);
    close();
}

void loginDialog::on_qqBtn_clicked()
{
    openOutsideLogin(QStringLiteral("qq"), QStringLiteral(":/res/res/login_qq.png"), QStringLiteral("使用QQ账户登录"));
}

void loginDialog::on_wxBtn_clicked()
{
    openOutsideLogin(QStringLiteral("wx"), QStringLiteral(":/res/res/login_wx.png"), QStringLiteral("使用微信账户登录"));
}

void loginDialog::on_wbBtn_clicked()
{
    openOutsideLogin(QStringLiteral("wb"), QStringLiteral(":/res/res/login_wb.png"), QStringLiteral("使用微博账户登录"));
}

void loginDialog::on_closeBtn_clicked()
{
    close();
}
