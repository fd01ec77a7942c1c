#include "gui/OrbelaDialog.h"
#include "ui_OrbelaDialog.h"

#include "core/AppFolders.h"
#include "gui/BackgroundDialog.h"
#include "gui/ScreenArea.h"
#include "gui/web/WebActivityForm.h"
#include "gui/web/WebExchangeForm.h"
#include "gui/web/WebGameForm.h"
#include "gui/WindowAnimations.h"
#include "gui/web/webUserCentralForm.h"
#include "platform/PlatformDesktop.h"
#include "platform/PlatformServices.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSystemTrayIcon>

// The images live in a static library, whose resources must be registered by hand.
static void registerClientResources()
{
    Q_INIT_RESOURCE(res);
}

namespace {
QString imageButtonStyle(const QString &prefix)
{
    return QStringLiteral("QPushButton{border:none;border-image:url(:/res/res/%1_normal.png);}"
                          "QPushButton:hover{border-image:url(:/res/res/%1_hover.png);}"
                          "QPushButton:pressed{border-image:url(:/res/res/%1_pressed.png);}")
        .arg(prefix);
}
} // namespace

OrbelaDialog::OrbelaDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::OrbelaDialog)
{
    registerClientResources();
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("Orbela游戏平台"));

    normalRect = getDefaultWindowRect(availablePrimaryScreenArea().size());
    restoreRect = normalRect;
    const AppSettings &stored = loadSettings();
    maximized = stored.valid ? stored.isMaximized : false;
    if (maximized)
        setMaximizeButtonImages(true);

    ui->progressBar->hide();
    dragging = false;
    servicesPending = true;
    onlineSeconds = -1;
    isWin62 = isWindowsVersion62();

    body = new BackgroundDialog(nullptr);
    const QRect bodyRect = getWindowRect(availablePrimaryScreenArea().size());
    body->setGeometry(bodyRect);
    body->show();
    activateWindow();
    layoutTitleBar(bodyRect.width());

    for (QRadioButton *tab : {ui->gameRadioBtn, ui->activityRadioBtn, ui->exchangeRadioBtn, ui->localRadioBtn})
        connect(tab, &QRadioButton::clicked, this, &OrbelaDialog::onRadioBtnClicked);
    for (WebTabForm *page : std::initializer_list<WebTabForm *>{WebActivityForm::instance(), WebExchangeForm::instance(),
                                                                WebGameForm::instance(), webUserCentralForm::instance()})
        connect(page, &WebTabForm::sendLoadProcess, this, &OrbelaDialog::getLoadProgress);

    // The updater copy of an earlier hand-over lies in the parent folder.
    QDir parentFolder(QApplication::applicationDirPath());
    if (parentFolder.cdUp())
        QFile::remove(parentFolder.filePath(QStringLiteral("Update.exe")));
    QDir().mkdir(QApplication::applicationDirPath() + QStringLiteral("/Apps"));

    settings = loadWindowSettings();
    setupOnlineField();
    moveTabMarkerTo(ui->gameRadioBtn);

    platform().listenForHandOver(this, [this]() { handOverReceived(); });
}

OrbelaDialog::~OrbelaDialog()
{
    delete ui;
    ui = nullptr;
    // Destroying the body moves the activation to the title bar, whose
    // messages must not reach a body that is half gone.
    BackgroundDialog *closing = body;
    body = nullptr;
    delete closing;
}

void OrbelaDialog::setupOnlineField()
{
    QLineEdit *field = ui->onlinePeople;
    field->setTextMargins(28, 0, 0, 0);
    field->setText(QStringLiteral("在线：0人"));
    field->setStyleSheet(QStringLiteral("QLineEdit{font-family:'Microsoft YaHei';font-size:12px;color:#FFFFFF;"
                                        "background:#A79674;border:none;border-radius:8px;}"));
    field->setAlignment(Qt::AlignHCenter);
    field->setEnabled(false);
    field->show();
    auto *icon = new QFrame(field);
    icon->setObjectName(QStringLiteral("folder"));
    icon->setGeometry(8, 4, 18, 11);
    icon->setStyleSheet(QStringLiteral("QFrame#folder{border-image:url(:/res/res/online_user.png)}"));
    icon->setCursor(Qt::PointingHandCursor);
    icon->setEnabled(false);
    icon->show();
}

void OrbelaDialog::layoutTitleBar(int w)
{
    auto centred = [](QWidget *widget) { return (kTitleBarHeight - widget->height()) / 2; };
    QWidget *panel = ui->avatorWidget;
    panel->move(0, 0);
    ui->split_left->move(panel->width(), 0);
    ui->deviceBtn->move(panel->width() + ui->split_left->width() + 26, centred(ui->deviceBtn));
    ui->gameRadioBtn->move(ui->deviceBtn->x() + ui->deviceBtn->width(), 0);
    ui->activityRadioBtn->move(ui->gameRadioBtn->x() + ui->gameRadioBtn->width(), 0);
    ui->exchangeRadioBtn->move(ui->activityRadioBtn->x() + ui->activityRadioBtn->width(), 0);
    ui->localRadioBtn->move(ui->exchangeRadioBtn->x() + ui->exchangeRadioBtn->width(), 0);
    ui->closeBtn->move(w - 48, centred(ui->closeBtn));
    ui->maxBtn->move(w - 88, centred(ui->maxBtn));
    ui->minBtn->move(w - 128, centred(ui->minBtn));
    ui->split_right->move(w - 144, 0);
    ui->setBtn->move(w - 184, centred(ui->setBtn));
    ui->onlinePeople->move(w - 184 - ui->setBtn->width() - ui->onlinePeople->width(), centred(ui->onlinePeople));
    dragRect = QRect(QPoint(ui->localRadioBtn->x(), 0), QPoint(w - 185, 73));
}

void OrbelaDialog::setMaximizeButtonImages(bool restore)
{
    ui->maxBtn->setStyleSheet(imageButtonStyle(restore ? QStringLiteral("restore") : QStringLiteral("max")));
}

void OrbelaDialog::moveTabMarkerTo(QWidget *tab)
{
    QLabel *marker = ui->lb_titlebar_btn_change;
    const QPoint target(tab->x(), tab->y() + tab->height() - marker->height());
    animateMove(marker, target, QEasingCurve(QEasingCurve::OutBounce));
}

void OrbelaDialog::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        mousePressed = true;
        dragging = true;
        dragOffset = event->globalPos() - pos();
        body->activateWindow();
        activateWindow();
    }
    event->accept();
}

void OrbelaDialog::mouseMoveEvent(QMouseEvent *event)
{
    if (mousePressed && event->buttons() != Qt::NoButton && !maximized) {
        const QPoint corner = event->globalPos() - dragOffset;
        move(corner);
        body->move(corner);
        dragging = true;
    }
    event->accept();
}

void OrbelaDialog::mouseReleaseEvent(QMouseEvent *event)
{
    dragging = false;
    mousePressed = false;
    activateWindow();
    event->accept();
}

void OrbelaDialog::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (dragRect.contains(event->pos()))
        on_maxBtn_clicked();
    event->accept();
}

void OrbelaDialog::on_maxBtn_clicked()
{
    if (!maximized) {
        normalRect = body->geometry();
        const QRect area = availablePrimaryScreenArea();
        body->setGeometry(area);
        setGeometry(area.x(), area.y(), area.width(), kTitleBarHeight);
        setMaximizeButtonImages(true);
        maximized = true;
    } else {
        body->setGeometry(normalRect);
        setGeometry(normalRect.x(), normalRect.y(), normalRect.width(), kTitleBarHeight);
        setMaximizeButtonImages(false);
        maximized = false;
    }
}

void OrbelaDialog::stashBodyRect()
{
    // A second hide in a row would otherwise remember the empty rectangle.
    if (body->width() != 0 && body->height() != 0)
        restoreRect = body->geometry();
    body->resize(0, 0);
}

void OrbelaDialog::on_minBtn_clicked()
{
    stashBodyRect();
    setWindowState(windowState() | Qt::WindowMinimized);
}

void OrbelaDialog::HideOrbela()
{
    stashBodyRect();
    if (trayIcon)
        trayIcon->showMessage(QStringLiteral("温馨提示："),
                              QStringLiteral("%1已经隐藏到这里了！").arg(QStringLiteral("Orbela游戏平台")),
                              QSystemTrayIcon::Information, 10000);
    body->hide();
    hide();
}

void OrbelaDialog::ShowOrbela()
{
    if (!maximized) {
        body->setGeometry(restoreRect);
        setGeometry(restoreRect.x(), restoreRect.y(), restoreRect.width(), kTitleBarHeight);
    } else if (body->width() == 0) {
        // Hidden while maximised: give the body its maximised rectangle back.
        body->setGeometry(availablePrimaryScreenArea());
    }
    body->show();
    show();
    if (windowState() & Qt::WindowMinimized)
        setWindowState(windowState() & ~Qt::WindowMinimized);
}

void OrbelaDialog::changeEvent(QEvent *event)
{
    // Restoring the minimised title bar gives the body back its rectangle.
    if (event->type() == QEvent::WindowStateChange && !(windowState() & Qt::WindowMinimized) && body
        && body->width() == 0 && isVisible()) {
        body->setGeometry(maximized ? availablePrimaryScreenArea() : restoreRect);
    }
    QDialog::changeEvent(event);
}

void OrbelaDialog::handOverReceived()
{
    qInfo() << "[Mivo] a second start asked the running client to come forward";
    if (!isVisible() || body->width() == 0 || (windowState() & Qt::WindowMinimized))
        ShowOrbela();
    desktopPlatform().switchToWindow(windowHandle());
    body->activateWindow();
    activateWindow();
}

bool OrbelaDialog::nativeEvent(const QByteArray &eventType, void *message, long *result)
{
    if (!body)
        return QDialog::nativeEvent(eventType, message, result);
    using NativeMessage = PlatformDesktop::NativeMessage;
    const NativeMessage kind = desktopPlatform().classifyNativeEvent(eventType, message);
    if (kind == NativeMessage::HandOver)
        handOverReceived();
    if (!isWin62 && kind == NativeMessage::WindowPosChanging && !dragging)
        body->activateWindow();
    if (kind == NativeMessage::SystemCommand || kind == NativeMessage::CloseCommand) {
        // Only a body that a minimise or hide emptied is put back; a dragged
        // body keeps its place.
        if (body->width() == 0)
            body->setGeometry(restoreRect);
        body->activateWindow();
        if (kind == NativeMessage::CloseCommand) {
            on_closeBtn_clicked();
            if (result)
                *result = 0;
            return true;
        }
    }
    return QDialog::nativeEvent(eventType, message, result);
}

void OrbelaDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        return;
    if (event->modifiers() & Qt::ControlModifier) {
        switch (event->key()) {
        case Qt::Key_1:
            switchToGame();
            break;
        case Qt::Key_2:
            switchToActivity();
            break;
        case Qt::Key_3:
            switchToExchange();
            break;
        case Qt::Key_4:
            switchToManager();
            break;
        case Qt::Key_Home:
            if (!userCentreUrl.isEmpty())
                switchToUserCentral(userCentreUrl);
            break;
        default:
            break;
        }
    }
    QDialog::keyPressEvent(event);
}

void OrbelaDialog::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(QRect(0, 0, width(), kTitleBarHeight), QColor(27, 27, 29, 50));
}

void OrbelaDialog::resizeEvent(QResizeEvent *event)
{
    layoutTitleBar(width());
    ui->progressBar->resize(width(), 2);
    QDialog::resizeEvent(event);
}

void OrbelaDialog::onRadioBtnClicked()
{
    QObject *tab = sender();
    if (tab == ui->gameRadioBtn)
        switchToGame();
    else if (tab == ui->activityRadioBtn)
        switchToActivity();
    else if (tab == ui->exchangeRadioBtn)
        switchToExchange();
    else if (tab == ui->localRadioBtn)
        switchToManager();
    body->activateWindow();
    activateWindow();
}

void OrbelaDialog::selectTab(QRadioButton *tab, void (BackgroundDialog::*showPage)())
{
    tab->setChecked(true);
    moveTabMarkerTo(tab);
    (body->*showPage)();
    activateWindow();
}

void OrbelaDialog::switchToGame()
{
    selectTab(ui->gameRadioBtn, &BackgroundDialog::showGamePage);
}

void OrbelaDialog::switchToActivity()
{
    selectTab(ui->activityRadioBtn, &BackgroundDialog::showActivityPage);
}

void OrbelaDialog::switchToExchange()
{
    selectTab(ui->exchangeRadioBtn, &BackgroundDialog::showExchangePage);
}

void OrbelaDialog::switchToManager()
{
    selectTab(ui->localRadioBtn, &BackgroundDialog::showManagerPage);
}

void OrbelaDialog::switchToUserCentral(const QString &url)
{
    ui->userCentralRadioButton->setChecked(true);
    animateMove(ui->lb_titlebar_btn_change, QPoint(-166, 71), QEasingCurve(QEasingCurve::OutBounce));
    body->showUserCentralPage();
    if (webUserCentralForm *page = webUserCentralForm::instance())
        page->createView(url);
}

void OrbelaDialog::getLoadProgress(int progress)
{
    ui->progressBar->show();
    ui->progressBar->setValue(progress);
    if (progress == 100)
        ui->progressBar->hide();
}

void OrbelaDialog::on_closeBtn_clicked()
{
    ExitOrbela();
}

void OrbelaDialog::ExitOrbela()
{
    settings.isMaximized = maximized;
    settings.windowRect = body->geometry();
    saveSettings(settings);
    const QDir zips(getZipsDir());
    for (const QString &zip : zips.entryList(QStringList{QStringLiteral("*.zip")}, QDir::Files))
        QFile::remove(zips.filePath(zip));
    hide();
    body->hide();
    QCoreApplication::quit();
}

void OrbelaDialog::OnTaskProgress(int, qint64, qint64) {}
bool OrbelaDialog::OnTaskError(int, const QString &, int) { return false; }
void OrbelaDialog::OnTaskEvent(int) {}
void OrbelaDialog::OnTaskFinished(int) {}
