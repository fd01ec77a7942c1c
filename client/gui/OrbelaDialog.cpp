#include "gui/OrbelaDialog.h"
#include "ui_OrbelaDialog.h"

#include "core/AppFolders.h"
#include "core/PushPanelPlacement.h"
#include "core/WindowOnScreen.h"
#include "core/ServiceHosts.h"
#include "core/UpdateHandOver.h"
#include "core/download/DownloadManager.h"
#include "core/game/LocalDatabase.h"
#include "core/game/StoredGames.h"
#include "core/game/VRAppInfo.h"
#include "core/webapi/ServiceRequest.h"
#include "core/webapi/MessageSigning.h"
#include "core/webapi/QuaNetworkPost.h"
#include "core/webapi/QuaNetworkRequest.h"
#include "core/webapi/StatisticsHits.h"
#include "gui/BackgroundDialog.h"
#include "gui/AvatorForm.h"
#include "gui/NetworkPicture.h"
#include "gui/ScreenArea.h"
#include "gui/account/loginDialog.h"
#include "gui/games/mangerForm.h"
#include "core/PageLinks.h"
#include "core/webapi/LoginForm.h"
#include "gui/WindowAnimations.h"
#include "gui/popups/PopupWindowDialog.h"
#include "gui/popups/pushWebDialog.h"
#include "gui/web/SystemBrowser.h"
#include "gui/web/WebActivityForm.h"
#include "gui/web/WebExchangeForm.h"
#include "gui/web/WebGameForm.h"
#include "gui/web/WebPushForm.h"
#include "gui/web/webUserCentralForm.h"
#include "platform/PlatformDesktop.h"
#include "platform/PlatformServices.h"

#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QImage>
#include <QMouseEvent>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPainter>
#include <QSaveFile>
#include <QSystemTrayIcon>
#include <QTimer>

#include <memory>

bool OrbelaDialog::startUpChecksEnabled = true;

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
    road = new GameRoad(*this, settings, this);
    connect(road, &GameRoad::sendGameNeed2Update, this, &OrbelaDialog::sendGameNeed2Update);
    connect(road, &GameRoad::sendGameNeed2Buy, this, &OrbelaDialog::sendGameNeed2Buy);

    const ScreenAreas screens = screenAreas();
    const int minimumWidth = minimumWindowWidth();
    setDefaultWindowRectForSaving(getDefaultWindowRect(screens.available, screens.primary, minimumWidth));
    // The stored rectangle, on a screen there is now, is the one a maximised start restores to.
    const QRect normal = getWindowRect(screens.available, screens.primary, minimumWidth);
    const AppSettings &stored = loadSettings();
    placement = WindowPlacement(normal, stored.valid && stored.isMaximized);
    if (placement.isMaximized())
        setMaximizeButtonImages(true);

    ui->progressBar->hide();
    isWin62 = isWindowsVersion62();

    body = new BackgroundDialog(nullptr);
    placeWindows(placement.isMaximized() ? maximizedScreenArea(normal) : normal);
    body->show();
    activateWindow();

    // The look-up and the version check (and the services after it) wait
    // until the store page has loaded, or a short while, so that their work
    // never holds the first page.
    if (startUpChecksEnabled) {
        auto *startChecks = new QTimer(this);
        startChecks->setSingleShot(true);
        connect(startChecks, &QTimer::timeout, this, [this, startChecks]() {
            startChecks->deleteLater();
            QHostInfo::lookupHost(hostNameOnly(appApiHost()), this, SLOT(lookedUpHost(QHostInfo)));
            startUpdateCheck();
        });
        connect(WebGameForm::instance(), &WebFormBase::sendLoadFinished, startChecks,
                [startChecks]() { startChecks->start(0); });
        startChecks->start(3000);
    }

    for (QRadioButton *tab : {ui->gameRadioBtn, ui->activityRadioBtn, ui->exchangeRadioBtn, ui->localRadioBtn})
        connect(tab, &QRadioButton::clicked, this, &OrbelaDialog::onRadioBtnClicked);
    for (WebTabForm *page : std::initializer_list<WebTabForm *>{WebActivityForm::instance(), WebExchangeForm::instance(),
                                                                WebGameForm::instance(), webUserCentralForm::instance()})
        connect(page, &WebTabForm::sendLoadProcess, this, &OrbelaDialog::getLoadProgress);
    for (WebTabForm *page : std::initializer_list<WebTabForm *>{WebActivityForm::instance(), WebGameForm::instance()})
        connect(page, &WebFormBase::sendLoadFinished, this, &OrbelaDialog::getLoadFinished);

    removeUpdaterCopy(QApplication::applicationDirPath());
    QDir().mkdir(QApplication::applicationDirPath() + QStringLiteral("/Apps"));

    settings = loadWindowSettings();
    setupOnlineField();
    moveTabMarkerTo(ui->gameRadioBtn);
    createTrayIcon();

    platform().listenForHandOver(this, [this]() { handOverReceived(); });

    // Every login answer, the automatic login's too, applies the user once.
    QuaNetworkPost::setLoginApplier([](const QString &uid, const QString &nickname, const QString &avatar) {
        if (OrbelaDialog *window = OrbelaDialog::instance()) {
            window->downloadAvator(uid, nickname, avatar);
            window->callLoginCallback();
            loginDialog::webLogin();
        }
    });
}

OrbelaDialog::~OrbelaDialog()
{
    delete ui;
    ui = nullptr;
    // Destroying the body moves the activation to the title bar, whose
    // messages must not reach a body that is half gone.
    BackgroundDialog *closing = body;
    body = nullptr;
    pushPanel = nullptr; // a child of the body
    delete closing;
    if (!servicesPending) {
        downloadManager->Shutdown();
        delete downloadManager;
        downloadManager = nullptr;
        // The timers go with the thread's end, on the thread they live in.
        worker->quit();
        worker->wait();
        delete worker;
        worker = nullptr;
        delete database;
        database = nullptr;
    }
}

PopupWindowDialog *OrbelaDialog::lastPopup() const
{
    return popup;
}

void OrbelaDialog::setStartUpChecksEnabled(bool enabled)
{
    startUpChecksEnabled = enabled;
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
    // Shown or hidden by layoutTitleBar, as the window's width allows.
    auto *icon = new QFrame(field);
    icon->setObjectName(QStringLiteral("folder"));
    icon->setGeometry(8, 4, 18, 11);
    icon->setStyleSheet(QStringLiteral("QFrame#folder{border-image:url(:/res/res/online_user.png)}"));
    icon->setCursor(Qt::PointingHandCursor);
    icon->setEnabled(false);
    icon->show();
}

QWidget *OrbelaDialog::titleBarItem(TitleBarLayout::Item item) const
{
    QWidget *const items[TitleBarLayout::ItemCount] = {
        ui->avatorWidget, ui->split_left, ui->deviceBtn, ui->gameRadioBtn, ui->activityRadioBtn,
        ui->exchangeRadioBtn, ui->localRadioBtn, ui->closeBtn, ui->maxBtn, ui->minBtn, ui->split_right,
        ui->setBtn, ui->onlinePeople};
    return items[item];
}

TitleBarLayout OrbelaDialog::titleBarLayout() const
{
    QVector<QSize> sizes;
    for (int i = 0; i < TitleBarLayout::ItemCount; ++i)
        sizes << titleBarItem(TitleBarLayout::Item(i))->size();
    return TitleBarLayout(sizes);
}

int OrbelaDialog::minimumWindowWidth() const
{
    return titleBarLayout().fullWidth();
}

void OrbelaDialog::layoutTitleBar(int w)
{
    const TitleBarLayout layout = titleBarLayout();
    for (int i = 0; i < TitleBarLayout::ItemCount; ++i) {
        const auto item = TitleBarLayout::Item(i);
        titleBarItem(item)->move(layout.place(item, w).topLeft());
    }
    ui->onlinePeople->setVisible(layout.showsOnlineField(w));
    dragRect = layout.dragArea(w);
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
    if (mousePressed && event->buttons() != Qt::NoButton && !placement.isMaximized()) {
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

void OrbelaDialog::placeWindows(const QRect &bodyRect)
{
    body->setGeometry(bodyRect);
    setGeometry(bodyRect.x(), bodyRect.y(), bodyRect.width(), kTitleBarHeight);
    layoutTitleBar(bodyRect.width());
    // Every change of the body's size comes through here; the title bar's
    // width may stay the same, so its resize cannot be what places the panel.
    placePushPanel();
}

void OrbelaDialog::on_maxBtn_clicked()
{
    // The state changes first: the panel is placed for the new state.
    const bool wasStashed = placement.isStashed();
    const QRect bodyNow = body->geometry();
    placeWindows(placement.toggleMaximized(bodyNow, maximizedScreenArea(placement.lastShownRect(bodyNow))));
    setMaximizeButtonImages(placement.isMaximized());
    // Reached while minimised (nothing minimises the title bar without a window manager).
    if (wasStashed)
        ShowOrbela();
}

void OrbelaDialog::stashBody()
{
    placement.stash(body->geometry());
    body->resize(0, 0);
}

void OrbelaDialog::unstashBody()
{
    if (placement.isStashed())
        placeWindows(placement.unstash(maximizedScreenArea(placement.normalRect())));
}

void OrbelaDialog::on_minBtn_clicked()
{
    stashBody();
    setWindowState(windowState() | Qt::WindowMinimized);
}

void OrbelaDialog::HideOrbela()
{
    // Without a tray nothing could bring hidden windows back.
    if (!trayIcon || !trayIcon->isVisible()) {
        on_minBtn_clicked();
        return;
    }
    stashBody();
    trayIcon->showMessage(QStringLiteral("温馨提示："),
                              QStringLiteral("%1已经隐藏到这里了！").arg(QStringLiteral("Orbela游戏平台")),
                              QSystemTrayIcon::Information, 10000);
    body->hide();
    hide();
}

void OrbelaDialog::ShowOrbela()
{
    // Windows in sight keep their place; a maximised body comes back maximised.
    unstashBody();
    body->show();
    show();
    if (windowState() & Qt::WindowMinimized)
        setWindowState(windowState() & ~Qt::WindowMinimized);
}

void OrbelaDialog::changeEvent(QEvent *event)
{
    // Restoring the minimised title bar gives the body back its rectangle.
    if (event->type() == QEvent::WindowStateChange && !(windowState() & Qt::WindowMinimized) && body
        && isVisible()) {
        unstashBody();
    }
    QDialog::changeEvent(event);
}

void OrbelaDialog::handOverReceived()
{
    qInfo() << "[Mivo] a second start asked the running client to come forward";
    if (!isVisible() || placement.isStashed() || (windowState() & Qt::WindowMinimized))
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
        unstashBody();
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
    // Without a window manager the minimised title bar stays on screen: a tab
    // clicked there brings the body back.
    if (placement.isStashed())
        ShowOrbela();
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
    if (WebGameForm *store = WebGameForm::instance())
        store->callStatusCallback(QString::fromUtf8(localGamesStatusJson()));
}

void OrbelaDialog::switchToActivity()
{
    selectTab(ui->activityRadioBtn, &BackgroundDialog::showActivityPage);
    if (WebActivityForm *activity = WebActivityForm::instance())
        activity->callStatusCallback(QString::fromUtf8(localGamesStatusJson()));
}

void OrbelaDialog::switchToExchange()
{
    selectTab(ui->exchangeRadioBtn, &BackgroundDialog::showExchangePage);
}

void OrbelaDialog::switchToManager()
{
    selectTab(ui->localRadioBtn, &BackgroundDialog::showManagerPage);
    if (!servicesPending)
        requestGameUpdateStatus();
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


// ---- Tray, menus and popups ----

namespace {
const char kMenuStyle[] =
    "QMenu{ background-color:#29282D;color:#FFFFFF;font-family:'Microsoft YaHei';font-size:14px;}"
    "QMenu::item {padding:5px 20px 5px 20px; margin:0px 5px 0px 5px;}"
    "QMenu::item:selected{background-color:#26252A; color:#FF0000;}";
} // namespace

QMenu *OrbelaDialog::newMenu(QWidget *parent, std::initializer_list<MenuEntry> entries)
{
    auto *menu = new QMenu(parent);
    menu->setStyleSheet(QString::fromLatin1(kMenuStyle));
    for (const MenuEntry &entry : entries) {
        if (!menu->actions().isEmpty())
            menu->addSeparator();
        menu->addAction(QIcon(QStringLiteral(":/res/res/") + QLatin1String(entry.icon)), QString::fromUtf8(entry.text),
                        this, entry.slot);
    }
    return menu;
}

void OrbelaDialog::createTrayIcon()
{
    trayIcon = new QSystemTrayIcon(this);
    trayIcon->setToolTip(QStringLiteral("Orbela游戏平台"));
    trayIcon->setIcon(QIcon(QStringLiteral(":/res/res/tray.png")));
    trayIcon->setContextMenu(newMenu(this, {{"hall.png", " 显示大厅 ", &OrbelaDialog::ShowOrbela},
                                            {"feedback.png", " 问题反馈 ", &OrbelaDialog::onFeedbackClicked},
                                            {"about.png", " 版本信息 ", &OrbelaDialog::onAboutClicked},
                                            {"logout.png", " 退出大厅 ", &OrbelaDialog::ExitOrbela}}));
    connect(trayIcon, &QSystemTrayIcon::activated, this, &OrbelaDialog::trayActived);
    // Where no tray exists (a bare X server) hiding minimises instead.
    if (QSystemTrayIcon::isSystemTrayAvailable())
        trayIcon->show();
}

void OrbelaDialog::trayActived(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Trigger)
        ShowOrbela();
}

void OrbelaDialog::on_setBtn_clicked()
{
    QMenu *menu = newMenu(this, {{"settings.png", " 设置 ", &OrbelaDialog::onSettingsClicked},
                                 {"feedback.png", " 反馈 ", &OrbelaDialog::onFeedbackClicked},
                                 {"about.png", " 版本信息 ", &OrbelaDialog::onAboutClicked}});
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QRect button = ui->setBtn->geometry();
    const QPoint corner(x() + button.x() + button.width(), y() + button.y() + button.height());
    const QSize size = menu->sizeHint();
    const QRect target(corner.x() - 1 - size.width(), corner.y() + 5, size.width(), size.height());
    menu->popup(target.topLeft());
    animateGeometry(menu, QRect(corner, QSize(0, 0)), target, QEasingCurve(QEasingCurve::OutBounce));
}

void OrbelaDialog::on_deviceBtn_clicked()
{
    showDeviceSelection();
}

PopupWindowDialog *OrbelaDialog::openPopup(QWidget *parent, Qt::WindowModality modality)
{
    if (placement.isStashed())
        ShowOrbela();
    body->activateWindow();
    auto *created = new PopupWindowDialog(parent);
    popup = created;
    // Set before the first show: a dialog shown first and run afterwards
    // blocks nothing behind it.
    created->setWindowModality(modality);
    created->setGeometry(body->geometry());
    created->show();
    return created;
}

int OrbelaDialog::showMessage(const QString &title, const QString &text, const QString &okText,
                              const QString &cancelText, int style)
{
    // Modal for the whole client from its first show, so no click or key that
    // arrives meanwhile, or was queued behind the one that asked, reaches the
    // windows behind it or asks again.
    PopupWindowDialog *message = openPopup(this, Qt::ApplicationModal);
    message->showInfo(title.isEmpty() ? QStringLiteral("提示信息") : title, text,
                      okText.isEmpty() ? QStringLiteral("确定") : okText,
                      cancelText.isEmpty() ? QStringLiteral("取消") : cancelText, style);
    // exec deletes the popup once it has its result.
    return message->exec();
}

void OrbelaDialog::showDeviceSelection()
{
    PopupWindowDialog *devices = openPopup(this);
    devices->showDevicePage(settings.deviceId);
    connect(devices, &PopupWindowDialog::sendDeviceSelection, this, &OrbelaDialog::getDeviceSelection);
    connect(devices, &PopupWindowDialog::sendDeviceSelection, body, [this]() { body->activateWindow(); });
    devices->show();
}

void OrbelaDialog::onSettingsClicked()
{
    PopupWindowDialog *page = openPopup(nullptr);
    page->showSettingsPage(settings.installPath, settings.downloadTool, settings.isAutoRun);
    connect(page, &PopupWindowDialog::sendSettings, this, &OrbelaDialog::getSettings);
    connect(page, &PopupWindowDialog::sendSettings, body, [this]() { body->activateWindow(); });
    page->show();
}

void OrbelaDialog::onFeedbackClicked()
{
    PopupWindowDialog *page = openPopup(this);
    page->showFeedbackPage(QStringLiteral("http://%1/feedback/index/vr").arg(openApiHost()));
    page->show();
}

void OrbelaDialog::showExchangeTips()
{
    PopupWindowDialog *page = openPopup(this);
    page->showExchangePage();
    page->show();
}

void OrbelaDialog::showRechargeTips()
{
    PopupWindowDialog *page = openPopup(this);
    page->showRechargePage();
    page->show();
}

void OrbelaDialog::onAboutClicked()
{
    if (!versionNoteUrl.isEmpty())
        openInSystemBrowser(QUrl(versionNoteUrl));
}

void OrbelaDialog::on_closeBtn_clicked()
{
    if (showMessage(QString(), QStringLiteral("确定要退出吗？"), QString(), QString(), 0))
        ExitOrbela();
}

void OrbelaDialog::reject()
{
}

void OrbelaDialog::closeEvent(QCloseEvent *event)
{
    // The system's close (Alt+F4, the window menu) asks like the close button.
    event->ignore();
    if (event->spontaneous())
        on_closeBtn_clicked();
}

void OrbelaDialog::getDeviceSelection(const QString &id, const QString &name)
{
    if (id.isEmpty())
        return;
    if (id == currentDeviceId) {
        if (!name.isEmpty())
            ui->deviceBtn->setText(name);
        return;
    }
    expandPushPanel();
    currentDeviceId = id;
    const QString device = QString::fromLatin1(encodeValue(id));
    WebGameForm::instance()->loadUrl(appApiPageUrl(QStringLiteral("/client/index?deviceId=") + device));
    WebActivityForm::instance()->loadUrl(appApiPageUrl(QStringLiteral("/client/activity?deviceId=") + device));
    if (WebPushForm *push = WebPushForm::instance())
        push->loadUrl(appApiPageUrl(QStringLiteral("/client/task?deviceId=") + device));
    // The new device is remembered even when the page gave no name with it.
    const bool changed = settings.deviceId != id || (!name.isEmpty() && settings.deviceName != name);
    settings.deviceId = id;
    if (!name.isEmpty()) {
        ui->deviceBtn->setText(name);
        settings.deviceName = name;
    }
    // Saved at once, as the other choices are: after a crash or a kill the
    // device popup must not come back.
    if (changed)
        saveWindowState();
}

void OrbelaDialog::getSettings(const QString &installDir, const QString &downloadTool, bool autoRun)
{
    setAutoRun(autoRun);
    settings.downloadTool = downloadTool;
    settings.installPath = installDir;
    settings.isAutoRun = autoRun;
    saveSettings(settings);
}

void OrbelaDialog::expandPushPanel()
{
    if (!pushPanel || pushExpanded)
        return;
    const int panelHeight = pushPanel->height();
    animateGeometry(pushPanel, foldedPushPanelRect(body->size(), panelHeight),
                    unfoldedPushPanelRect(body->size(), panelHeight, placement.isMaximized()),
                    QEasingCurve(QEasingCurve::OutBounce));
    pushExpanded = true;
}

// ---- Start-up, update hand-over and shut-down ----

void OrbelaDialog::lookedUpHost(const QHostInfo &info)
{
    if (info.error() == QHostInfo::NoError) {
        qInfo() << "[Mivo] look up host ok! ";
        return;
    }
    const QString text = info.error() == QHostInfo::HostNotFound ? QStringLiteral("Host Not Found!")
                                                                 : QStringLiteral("Unknown Net Error!");
    if (showMessage(QString(), text, QString(), QString(), 1))
        quitEventLoop();
}

void OrbelaDialog::startUpdateCheck()
{
    auto *message = new QuaNetworkRequest(QuaNetworkRequest::VersionMessage);
    message->sendVersionRequest();
    connect(message, &QuaNetworkRequest::sendVersionInfo, this, &OrbelaDialog::getVersionInfo);

    auto *version = new QuaNetworkRequest(QuaNetworkRequest::Version);
    version->sendVersionRequest();
    connect(version, &QuaNetworkRequest::sendUpdateInfo, this, &OrbelaDialog::getUpdateInfo);
    connect(version, &QuaNetworkRequest::sendNoNeedUpdateOrbela, this, &OrbelaDialog::getNoNeedUpdateOrbela);
    // Without an answer the client cannot know of an update; it starts as it is.
    connect(version, &QuaNetworkRequest::sendNoAnswer, this, [this]() {
        qWarning() << "[Mivo] the version check got no answer; starting without an update";
        getNoNeedUpdateOrbela();
    });
}

void OrbelaDialog::getVersionInfo(const QString &url)
{
    if (!url.isEmpty())
        versionNoteUrl = url;
}

void OrbelaDialog::getUpdateInfo(const QString &version, const QString &note, const QString &url, bool forced)
{
    if (forced) {
        qInfo().noquote() << "------------>update:(ForcesUpdate)" << version << note;
        startUpdater(version, url);
        return;
    }
    qInfo().noquote() << "------------>update:(SelectedUpdate)" << version << note;
    if (showMessage(QStringLiteral("检测到可用的新版本 (") + version + QStringLiteral(")"), note,
                    QStringLiteral("更新"), QString(), 2))
        startUpdater(version, url);
    else
        getNoNeedUpdateOrbela();
}

void OrbelaDialog::startUpdater(const QString &version, const QString &url)
{
    const QString appDir = QApplication::applicationDirPath();
    if (!startUpdaterCopy(appDir, version, url)) {
        // Quitting now would leave neither a client nor an updater.
        qWarning().noquote() << "[Mivo] the updater could not be started:" << updaterCopyPath(appDir);
        getNoNeedUpdateOrbela();
        showMessage(QString(), QStringLiteral("无法启动更新程序，本次继续使用当前版本。"), QString(), QString(), 1);
        return;
    }
    saveWindowState();
    quitEventLoop();
}

void OrbelaDialog::saveWindowState()
{
    // Hidden or minimised, the body is empty: its last rectangle in sight is kept.
    settings.isMaximized = placement.isMaximized();
    settings.windowRect = placement.lastShownRect(body->geometry());
    saveSettings(settings);
}

void OrbelaDialog::getNoNeedUpdateOrbela()
{
    if (!servicesPending || quitAsked)
        return;
    servicesPending = false;

    pushPanel = new pushWebDialog(body);
    pushPanel->show();
    const QRect unfolded = unfoldedPushPanelRect(body->size(), pushPanel->height(), placement.isMaximized());
    animateGeometry(pushPanel, QRect(unfolded.left(), body->height(), unfolded.width(), 0), unfolded,
                    QEasingCurve(QEasingCurve::OutBounce));
    pushExpanded = true;

    const AppSettings &stored = loadSettings();
    if (stored.valid && !stored.deviceId.isEmpty())
        getDeviceSelection(stored.deviceId, stored.deviceName);
    else
        showDeviceSelection();

    downloadManager = new DownloadManager(this);
    road->setDownloadManager(downloadManager);

    database = new LocalDatabase;
    database->open();
    if (database->hasLegacyGameTable())
        database->migrateLegacyGames();
    QString userName;
    QString password;
    if (database->isAutoLogin() && database->getUser(userName, password))
        requestAutoLogin(fromRememberedText(userName), fromRememberedText(password));
    routeStoredGames();
    database->close();

    startWorker();
    postHits(QStringLiteral("startOrbela"), QString(), session.userId(), QString());
}

void OrbelaDialog::routeStoredGames()
{
    road->routeStoredGames(database->loadGames());
}

void OrbelaDialog::startWorker()
{
    worker = new QThread;
    session.markStartDay();
    secondTimer = new QTimer;
    secondTimer->setInterval(1000);
    secondTimer->start();
    secondTimer->moveToThread(worker);
    connect(secondTimer, &QTimer::timeout, this, &OrbelaDialog::workerTimer, Qt::DirectConnection);
    getConcurrentUsers();
    tenMinuteTimer = new QTimer;
    tenMinuteTimer->setInterval(600000);
    tenMinuteTimer->start();
    tenMinuteTimer->moveToThread(worker);
    connect(tenMinuteTimer, &QTimer::timeout, this, &OrbelaDialog::getConcurrentUsers, Qt::DirectConnection);
    for (QTimer *timer : {secondTimer, tenMinuteTimer})
        connect(worker, &QThread::finished, timer, &QObject::deleteLater);
    worker->start();
}

bool OrbelaDialog::isInstalled(const QString &gameId) const
{
    return road->isInstalled(gameId);
}

void OrbelaDialog::startDownload(VRAppInfo *info)
{
    road->startDownload(info);
}

void OrbelaDialog::installGame(VRAppInfo *info)
{
    road->installGame(info);
}

void OrbelaDialog::toggleDownload(VRAppInfo *info)
{
    road->toggleDownload(info);
}

void OrbelaDialog::saveGame(VRAppInfo *info)
{
    road->saveGame(info);
}

void OrbelaDialog::OnTaskProgress(int taskId, qint64 received, qint64 total)
{
    road->taskProgress(taskId, received, total);
}

bool OrbelaDialog::OnTaskError(int taskId, const QString &message, int code)
{
    road->taskError(taskId, message, code);
    return false;
}

void OrbelaDialog::OnTaskEvent(int)
{
}

void OrbelaDialog::OnTaskFinished(int taskId)
{
    road->taskFinished(taskId);
}

void OrbelaDialog::OnVarifyVRAppDone(QString md5, void *hanlde)
{
    road->verified(md5, hanlde);
}

void OrbelaDialog::getUnZipResault(bool ok, VRAppInfo *info)
{
    road->unpacked(ok, info);
}

QByteArray OrbelaDialog::localGamesStatusJson() const
{
    return road->localGamesStatusJson();
}

void OrbelaDialog::getLoadFinished(bool)
{
    const QString status = QString::fromUtf8(localGamesStatusJson());
    qDebug().noquote() << "init post:" << status;
    if (WebGameForm *store = WebGameForm::instance())
        store->callStatusCallback(status);
    if (WebActivityForm *activity = WebActivityForm::instance())
        activity->callStatusCallback(status);
}

void OrbelaDialog::requestGameUpdateStatus()
{
    road->requestGameUpdateStatus();
}

void OrbelaDialog::getGameUpdateStatus(QMap<int, QString> states)
{
    road->gameUpdateStatus(states);
}

void OrbelaDialog::launchGame(VRAppInfo *info)
{
    road->launchGame(info);
}

void OrbelaDialog::getGameUpdateInfo(VRAppInfo *server)
{
    road->gameUpdateInfo(server);
}

void OrbelaDialog::startGame(VRAppInfo *info)
{
    road->startGame(info);
}

void OrbelaDialog::getLaunchResault(VRAppInfo *info)
{
    road->launchResult(info);
}

void OrbelaDialog::confirmUninstall(VRAppInfo *info)
{
    road->confirmUninstall(info);
}

void OrbelaDialog::uninstallGame(VRAppInfo *info)
{
    road->uninstallGame(info);
}

void OrbelaDialog::addManagerRow(VRAppInfo *info, bool atBottom)
{
    if (mangerForm *manager = mangerForm::instance())
        manager->addItem(info, atBottom);
}

void OrbelaDialog::removeManagerRow(const QString &gameId)
{
    if (mangerForm *manager = mangerForm::instance())
        manager->removeItem(gameId);
}

void OrbelaDialog::showManager()
{
    switchToManager();
}

int OrbelaDialog::askUser(const QString &title, const QString &text, int style)
{
    return showMessage(title, text, QString(), QString(), style);
}

void OrbelaDialog::showLoginDialog()
{
    loginDialog::openOver(nullptr, body->geometry());
}

void OrbelaDialog::hideWindows()
{
    HideOrbela();
}

void OrbelaDialog::showWindows()
{
    ShowOrbela();
}

void OrbelaDialog::openFolder(const QString &folder)
{
    desktopPlatform().openFolder(QDir::fromNativeSeparators(folder));
}

QString OrbelaDialog::loggedInUserId()
{
    return session.userId();
}

void OrbelaDialog::requestAutoLogin(const QString &userName, const QString &password)
{
    loginDialog::requestLogin(userName, password, loginDialog::instance());
}

void OrbelaDialog::ExitOrbela()
{
    if (exiting)
        return;
    exiting = true;
    if (popup)
        popup->reject();
    QList<QuaNetworkPost *> posts{postHits(QStringLiteral("closeOrbela"), QString(), session.userId(), QString())};
    saveWindowState();
    // Packages of games not yet unpacked stay for the next start.
    LocalDatabase games;
    if (games.open()) {
        const QList<VRAppInfo *> stored = games.loadGames();
        games.close();
        deleteInstalledPackages(stored);
        qDeleteAll(stored);
    }
    if (QuaNetworkPost *onlineTime = session.postOnlineLength())
        posts.append(onlineTime);
    hide();
    body->hide();
    quitAfter(posts);
}

void OrbelaDialog::quitAfter(const QList<QuaNetworkPost *> &posts)
{
    // The posts go out through the event loop; quitting at once would drop them.
    auto pending = std::make_shared<int>(posts.size());
    for (QuaNetworkPost *post : posts) {
        connect(post, &QuaNetworkPost::answered, this, [this, pending]() {
            if (--*pending == 0)
                quitEventLoop();
        });
    }
    QTimer::singleShot(5000, this, &OrbelaDialog::quitEventLoop);
}

void OrbelaDialog::quitEventLoop()
{
    quitAsked = true;
    emit quitRequested();
}

// ---- Worker thread ----

void OrbelaDialog::workerTimer()
{
    session.tick();
}

void OrbelaDialog::getConcurrentUsers()
{
    auto *request = new QuaNetworkRequest(QuaNetworkRequest::OnlineTotal);
    connect(request, &QuaNetworkRequest::sendOnlineInfo, this, &OrbelaDialog::getOnlineInfo);
    request->sendRequest(QString(), QString(), QString());
    postOnlineLength();
}

void OrbelaDialog::postOnlineLength()
{
    session.postOnlineLength();
}

void OrbelaDialog::getOnlineInfo(int onlineTotal)
{
    ui->onlinePeople->setText(QStringLiteral("在线：%1 人").arg(onlineTotal));
}

// ---- Push panel ----

void OrbelaDialog::foldPushPanel()
{
    if (!pushPanel || !pushExpanded)
        return;
    const int panelHeight = pushPanel->height();
    animateGeometry(pushPanel, unfoldedPushPanelRect(body->size(), panelHeight, placement.isMaximized()),
                    foldedPushPanelRect(body->size(), panelHeight), QEasingCurve(QEasingCurve::OutBounce));
    pushExpanded = false;
}

void OrbelaDialog::placePushPanel()
{
    if (servicesPending || !pushPanel || !body)
        return;
    // The state is the one being entered (the maximise button sets it
    // before the geometry); the panel stays where the unfold puts it.
    if (pushPanel->width() > 46)
        pushPanel->setGeometry(unfoldedPushPanelRect(body->size(), pushPanel->height(), placement.isMaximized()));
    else
        pushPanel->setGeometry(foldedPushPanelRect(body->size(), pushPanel->height()));
}

// ---- Session: the logged-in user ----

namespace {
// The avatar decoded and encoded as the file it is saved to.
struct EncodedAvatar
{
    NetworkPicture picture;
    QByteArray jpeg;
};

EncodedAvatar encodeAvatar(const QByteArray &bytes)
{
    EncodedAvatar avatar;
    avatar.picture = NetworkPicture::decode(bytes);
    if (!avatar.picture.image.isNull()) {
        QBuffer buffer(&avatar.jpeg);
        buffer.open(QIODevice::WriteOnly);
        avatar.picture.image.save(&buffer, "JPG");
    }
    return avatar;
}
} // namespace

void OrbelaDialog::downloadAvator(const QString &uid, const QString &nickname, const QString &avatarUrl)
{
    const QString refusal = loginUserRefusal(uid, nickname, avatarUrl);
    if (!refusal.isEmpty()) {
        qInfo("[Mivo] login refused: %s", qPrintable(refusal));
        return;
    }
    session.setUserId(uid);
    ++avatarLogins;
    this->nickname = nickname;
    avatarFile = avatarFilePath(uid, nickname);
    // The name shows at once; the picture follows when it arrives.
    if (AvatorForm *panel = AvatorForm::instance())
        panel->setUserInfo(QStringLiteral(":/res/res/default_user.png"), nickname);
    if (!avatarUrl.isEmpty())
        requestAvatar(QUrl(avatarUrl, QUrl::TolerantMode), 1);
    requestUserInfo();
    if (WebGameForm *store = WebGameForm::instance())
        store->reload();
}

void OrbelaDialog::requestAvatar(const QUrl &url, int redirectsLeft)
{
    if (!avatarNetwork)
        avatarNetwork = new QNetworkAccessManager(this);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    // The probe never holds the client: a slow server is given up after 5 s.
    QNetworkReply *reply = ServiceRequest::get(*avatarNetwork, request, kMaxPictureBytes, kQuickLookupMs);
    const QString forUser = session.userId();
    const QString file = avatarFile;
    connect(reply, &QNetworkReply::finished, this, [this, reply, redirectsLeft, forUser, file]() {
        reply->deleteLater();
        // A later login or a logout makes this picture stale.
        if (session.userId() != forUser || avatarFile != file)
            return;
        const QUrl target = reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
        if (!target.isEmpty()) {
            const QUrl next = reply->url().resolved(target);
            if (redirectsLeft > 0 && (next.scheme() == QLatin1String("http") || next.scheme() == QLatin1String("https")))
                requestAvatar(next, redirectsLeft - 1);
            return;
        }
        downloadAvatorFinished(reply);
    });
}

void OrbelaDialog::downloadAvatorFinished(QNetworkReply *reply)
{
    // A picture that is refused leaves the default one in place.
    if (reply->error() != QNetworkReply::NoError) {
        if (!ServiceRequest::givenUp(reply)) // which said why once
            qDebug().noquote() << "[Mivo] avatar not loaded:" << reply->errorString();
        return;
    }
    // Decoded and encoded as its file beside the window thread.
    const QByteArray bytes = reply->readAll();
    const int login = avatarLogins;
    const QString forUser = session.userId();
    onPictureThreads<EncodedAvatar>(this, [bytes]() { return encodeAvatar(bytes); },
                                    [this, login, forUser](const EncodedAvatar &avatar) {
                                        if (!avatar.picture.accepted(QStringLiteral("of the avatar")))
                                            return;
                                        // A newer login or a logout since makes it stale.
                                        if (avatarLogins == login && session.userId() == forUser)
                                            saveAvatar(avatar.jpeg);
                                    });
}

void OrbelaDialog::saveAvatar(const QByteArray &jpeg)
{
    QSaveFile file(avatarFile);
    if (avatarFile.isEmpty() || jpeg.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(jpeg) != jpeg.size()
        || !file.commit()) {
        qDebug().noquote() << "[Mivo] avatar not saved:" << avatarFile;
        return;
    }
    if (AvatorForm *panel = AvatorForm::instance())
        panel->setUserInfo(avatarFile, nickname);
}

void OrbelaDialog::requestUserInfo()
{
    const QString uid = session.userId();
    if (uid.isEmpty())
        return;
    auto *request = new QuaNetworkRequest(QuaNetworkRequest::UserResource);
    connect(request, &QuaNetworkRequest::sendUserInfo, this,
            [this, uid](int onlineLength, const QString &coins, const QString &tickets, const QString &coinUrl,
                        const QString &ticketUrl, const QString &homeUrl) {
                // An answer for a user who has logged out since must not start the counting.
                if (session.userId() == uid)
                    getUserInfo(onlineLength, coins, tickets, coinUrl, ticketUrl, homeUrl);
                else
                    qDebug().noquote() << "[Mivo] resources of a user no longer logged in ignored:" << uid;
            });
    request->sendRequest(uid, QString(), QString());
}

void OrbelaDialog::getUserInfo(int onlineLength, const QString &coins, const QString &tickets, const QString &coinUrl,
                               const QString &ticketUrl, const QString &homeUrl)
{
    session.setOnlineSeconds(onlineLength);
    userCentreUrl = homeUrl;
    qDebug() << "get CurrentOnlineLength:" << onlineLength;
    if (AvatorForm *panel = AvatorForm::instance())
        panel->setCoins(coins, tickets, coinUrl, ticketUrl, homeUrl);
    requestGameUpdateStatus();
}

namespace {
// The four pages that hear of a login and a logout, in this order.
template <class Call>
void forLoginPages(Call call)
{
    auto callExisting = [&call](auto *page) {
        if (page)
            call(page);
    };
    callExisting(WebGameForm::instance());
    callExisting(WebActivityForm::instance());
    callExisting(WebExchangeForm::instance());
    callExisting(WebPushForm::instance());
}
} // namespace

void OrbelaDialog::callLoginCallback()
{
    forLoginPages([](auto *page) { page->callLoginCallback(); });
}

void OrbelaDialog::callLogoutCallback()
{
    forLoginPages([](auto *page) { page->callLogoutCallback(); });
}

void OrbelaDialog::logout()
{
    callLogoutCallback();
    postOnlineLength();
    session.setUserId(QString());
    userCentreUrl.clear();
    session.setOnlineSeconds(-1);
    requestGameUpdateStatus();
}
