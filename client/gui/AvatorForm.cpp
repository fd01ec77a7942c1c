#include "gui/AvatorForm.h"

#include "core/AppFolders.h"
#include "core/game/LocalDatabase.h"
#include "gui/BackgroundDialog.h"
#include "gui/FormWidgets.h"
#include "gui/OrbelaDialog.h"
#include "gui/WindowAnimations.h"
#include "gui/account/loginDialog.h"
#include "gui/web/SystemBrowser.h"
#include "gui/web/webPopupForm.h"

#include <QImageReader>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>

namespace {

const char kDefaultAvatar[] = ":/res/res/default_user.png";

QString labelStyle(const char *name, int pixels, const char *colour)
{
    return QStringLiteral("#%1{background: transparent;font-family:'Microsoft YaHei';font-size:%2px;color:%3;}")
        .arg(QLatin1String(name))
        .arg(pixels)
        .arg(QLatin1String(colour));
}

QString textButtonStyle(const char *name, int pixels, const char *colour, const char *hover, const char *pressed)
{
    return QStringLiteral("#%1{background:transparent;border:none;font-family:'Microsoft YaHei';font-size:%2px;"
                          "color:%3;}#%1:hover{color:%4;}#%1:pressed{color:%5;}")
        .arg(QLatin1String(name))
        .arg(pixels)
        .arg(QLatin1String(colour), QLatin1String(hover), QLatin1String(pressed));
}

// Decoded at the size shown: a saved avatar may be 4096 pixels a side, which
// a JPEG reader decodes at a fraction of the cost when asked for less.
QImage scaledPicture(const QString &path, int size)
{
    QImageReader reader(path);
    reader.setScaledSize(QSize(size, size));
    return reader.read();
}

} // namespace

void Ui_AvatorForm::setupUi(QWidget *form)
{
    if (form->objectName().isEmpty())
        form->setObjectName(QStringLiteral("AvatorForm"));
    form->resize(210, 75);
    form->setWindowTitle(QStringLiteral("Form"));
    lb_avator_bg = placeWidget<QLabel>(form, "lb_avator_bg", 12, 7, 62, 62);
    lb_avator_cover = placeWidget<QLabel>(form, "lb_avator_cover", 12, 7, 62, 62);
    logoutWidget = placeWidget<QWidget>(form, "logoutWidget", 77, 0, 133, 75);
    lb_orbela_name = placeWidget<QLabel>(logoutWidget, "lb_orbela_name", 5, 16, 130, 20,
                                   labelStyle("lb_orbela_name", 14, "#CCCCCC"));
    lb_orbela_name->setText(QStringLiteral(
        "<html><head/><body><p><span style=\" font-size:12pt;\">Orbela游戏平台</span></p></body></html>"));
    loginBtn = placeWidget<QPushButton>(logoutWidget, "loginBtn", 5, 40, 35, 30,
                                  textButtonStyle("loginBtn", 14, "#CCCCCC", "#DFC697", "#9B8B6F"));
    loginBtn->setText(QStringLiteral("登录"));
    loginWidget = placeWidget<QWidget>(form, "loginWidget", 77, 0, 133, 75);
    lb_user_name = placeWidget<QLabel>(loginWidget, "lb_user_name", 9, 8, 135, 22, labelStyle("lb_user_name", 16, "#FFFFFF"));
    // A nickname is shown as it is, never read as markup.
    lb_user_name->setTextFormat(Qt::PlainText);
    dropDownBtn = placeWidget<QPushButton>(loginWidget, "dropDownBtn", 90, 10, 26, 17,
                                     QStringLiteral("#dropDownBtn{border-image:url(:/res/res/dropdown.png);}"
                                                    "#dropDownBtn:hover{border-image:url(:/res/res/dropdown_hover.png);}"
                                                    "#dropDownBtn:pressed{border-image:url(:/res/res/dropdown_pressed.png);}"));
    lb_wanbi = placeWidget<QLabel>(loginWidget, "lb_wanbi", 9, 35, 80, 12, labelStyle("lb_wanbi", 11, "#CCCCCC"));
    lb_wanbi->setText(QStringLiteral("玩币：0"));
    lb_wanpiao = placeWidget<QLabel>(loginWidget, "lb_wanpiao", 9, 53, 80, 12, labelStyle("lb_wanpiao", 11, "#CCCCCC"));
    lb_wanpiao->setText(QStringLiteral("玩票：0"));
    for (QLabel *balance : {lb_wanbi, lb_wanpiao})
        balance->setTextFormat(Qt::PlainText);
    rechargeBtn = placeWidget<QPushButton>(loginWidget, "rechargeBtn", 77, 35, 40, 18,
                                     textButtonStyle("rechargeBtn", 12, "#DFC697", "#FF0000", "#9B8B6F"));
    rechargeBtn->setText(QStringLiteral("【充值】"));
    exchangeBtn = placeWidget<QPushButton>(loginWidget, "exchangeBtn", 77, 50, 40, 18,
                                     textButtonStyle("exchangeBtn", 12, "#CCCCCC", "#DFC697", "#9B8B6F"));
    exchangeBtn->setText(QStringLiteral("【兑换】"));
    webLoginWidget = placeWidget<webPopupForm>(form, "webLoginWidget", 10, 10, 41, 31);
}

AvatorForm::AvatorForm(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui_AvatorForm)
{
    ui->setupUi(this);
    QMetaObject::connectSlotsByName(this);
    showLoggedOut();
    for (QWidget *tracked : {static_cast<QWidget *>(this), static_cast<QWidget *>(ui->lb_avator_bg),
                             static_cast<QWidget *>(ui->lb_avator_cover), ui->loginWidget, ui->logoutWidget})
        tracked->setAttribute(Qt::WA_MouseTracking);
    // The labels let the pointer through to the panel, which tracks the cover.
    ui->lb_avator_bg->setAttribute(Qt::WA_TransparentForMouseEvents);
    ui->lb_avator_cover->setAttribute(Qt::WA_TransparentForMouseEvents);
    ui->webLoginWidget->hide();
    ui->exchangeBtn->hide();
    ui->lb_wanpiao->resize(120, 12);
}

AvatorForm::~AvatorForm()
{
    delete ui;
}

void AvatorForm::showLoggedOut()
{
    setUserInfo(QString::fromLatin1(kDefaultAvatar), QString());
    ui->loginWidget->hide();
    ui->logoutWidget->show();
    loggedIn = false;
}

QString AvatorForm::shortenedName(const QString &name)
{
    static const QRegularExpression chinese(QStringLiteral("[\\x{4e00}-\\x{9fa5}]+"));
    if (chinese.match(name).hasMatch())
        return name.size() <= 4 ? name : name.left(4) + QStringLiteral("...");
    if (isDigitString(name))
        return name.size() <= 7 ? name : name.left(7) + QStringLiteral("...");
    const QString lower = name.toLower();
    return lower.size() <= 10 ? lower : lower.left(10) + QStringLiteral("...");
}

QString AvatorForm::ticketText(const QString &tickets)
{
    if (tickets.toInt() <= 10000)
        return tickets;
    QString number = QString::number(tickets.toDouble() / 10000.0, 'f', 2);
    const int dot = number.indexOf(QLatin1Char('.'));
    if (dot >= 0 && number.mid(dot + 1) == QLatin1String("00"))
        number = number.left(dot);
    return QStringLiteral("%1万").arg(number);
}

void AvatorForm::setUserInfo(const QString &avatarPath, const QString &name)
{
    loggedIn = true;
    if (!avatarPath.isEmpty())
        composeAvatar(avatarPath, QStringLiteral(":/res/res/mask.png"), QStringLiteral(":/res/res/cover.png"), 62);
    ui->lb_user_name->setText(shortenedName(name));
    ui->loginWidget->show();
    ui->logoutWidget->hide();
}

void AvatorForm::composeAvatar(const QString &imagePath, const QString &maskPath, const QString &coverPath, int size)
{
    ui->lb_avator_bg->resize(size, size);
    ui->lb_avator_cover->resize(size, size);
    QImage result(size, size, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&result);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(result.rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(0, 0, scaledPicture(maskPath, size));
    painter.setCompositionMode(QPainter::CompositionMode_SourceOut);
    painter.drawImage(0, 0, scaledPicture(imagePath, size));
    painter.end();
    avatarImage = result;
    ui->lb_avator_bg->setPixmap(QPixmap::fromImage(result));
    if (!coverPath.isEmpty())
        ui->lb_avator_cover->setPixmap(QPixmap::fromImage(scaledPicture(coverPath, size)));
}

void AvatorForm::setCoins(const QString &coins, const QString &tickets, const QString &recharge,
                          const QString &exchange, const QString &userCentral)
{
    ui->lb_wanbi->setText(QStringLiteral("玩币：%1").arg(coins));
    ui->lb_wanbi->adjustSize();
    const QRect coinLabel = ui->lb_wanbi->geometry();
    ui->rechargeBtn->move(coinLabel.right() + 1 + 8, coinLabel.top() - 2);
    ui->lb_wanpiao->setText(QStringLiteral("玩票：%1").arg(ticketText(tickets)));
    rechargeUrl = recharge;
    exchangeUrl = exchange;
    userCentralUrl = userCentral;
    ui->loginWidget->show();
    ui->logoutWidget->hide();
}

void AvatorForm::mouseMoveEvent(QMouseEvent *event)
{
    const bool onCover = ui->lb_avator_cover->geometry().contains(event->pos());
    setCursor(onCover ? Qt::PointingHandCursor : Qt::ArrowCursor);
    ui->lb_avator_cover->setPixmap(coverPicture(onCover));
    event->accept();
}

const QPixmap &AvatorForm::coverPicture(bool hovered)
{
    // Every pointer move sets the cover: the pictures are read and scaled once.
    QPixmap &picture = hovered ? coverHovered : coverNormal;
    if (picture.isNull())
        picture = QPixmap::fromImage(scaledPicture(
            hovered ? QStringLiteral(":/res/res/cover_hover.png") : QStringLiteral(":/res/res/cover.png"), 62));
    return picture;
}

void AvatorForm::mouseReleaseEvent(QMouseEvent *event)
{
    if (ui->lb_avator_cover->geometry().contains(event->pos())) {
        if (loggedIn) {
            if (OrbelaDialog *window = OrbelaDialog::instance())
                window->switchToUserCentral(userCentralUrl);
        } else {
            on_loginBtn_clicked();
        }
    }
    event->accept();
}

void AvatorForm::on_loginBtn_clicked()
{
    OrbelaDialog *window = OrbelaDialog::instance();
    BackgroundDialog *body = BackgroundDialog::instance();
    if (!window || !body)
        return;
    if (body->width() == 0)
        window->ShowOrbela();
    loginDialog::openOver(window, body->geometry());
}

void AvatorForm::on_dropDownBtn_clicked()
{
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setStyleSheet(QStringLiteral(
        "QMenu{ background-color:#29282D;color:#FFFFFF;font-family:'Microsoft YaHei';font-size:14px;min-width:120px;}"
        "QMenu::item {padding:5px 20px 5px 20px; margin:0px 5px 0px 5px;}"
        "QMenu::item:selected{background-color:#26252A; color:#FF0000;}"));
    menu->addAction(QIcon(QStringLiteral(":/res/res/logout.png")), QStringLiteral(" 退出登录 "), this,
                    &AvatorForm::onMenuLogOut);
    const QPoint anchor = mapToGlobal(ui->loginWidget->pos() + ui->lb_wanbi->pos());
    menu->popup(anchor);
    animateGeometry(menu, QRect(anchor, QSize(0, 0)), QRect(anchor, menu->sizeHint()),
                    QEasingCurve(QEasingCurve::OutBounce));
}

void AvatorForm::on_rechargeBtn_clicked()
{
    // Only a web address goes to the browser; the tips follow either way.
    if (!openInSystemBrowser(QUrl(rechargeUrl, QUrl::TolerantMode)))
        qInfo("[Mivo] recharge address not opened: %s", qPrintable(rechargeUrl));
    if (OrbelaDialog *window = OrbelaDialog::instance())
        window->showRechargeTips();
}

void AvatorForm::on_exchangeBtn_clicked()
{
    if (OrbelaDialog *window = OrbelaDialog::instance())
        window->switchToExchange();
}

void AvatorForm::onMenuLogOut()
{
    showLoggedOut();
    LocalDatabase database;
    if (database.open()) {
        database.setAutoLogin(false);
        database.setLoggedOut();
        database.close();
    }
    loginDialog::webLogout();
    if (OrbelaDialog *window = OrbelaDialog::instance())
        window->logout();
}
