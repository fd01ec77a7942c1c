#include "gui/popups/PopupWindowDialog.h"
#include "ui_PopupWindowDialog.h"

#include "gui/OrbelaDialog.h"
#include "gui/popups/DeviceRadioList.h"
#include "core/webapi/QuaNetworkRequest.h"
#include "core/GamesFolder.h"

#include <QCheckBox>
#include <QDebug>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMovie>
#include <QPaintEvent>
#include <QShowEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>

#include <memory>

namespace {
const char kRadioStyle[] =
    "QRadioButton{background: transparent;font-family:'Microsoft YaHei';font-size:14px;color:#CCCCCC;}"
    "QRadioButton::indicator{width:20px;height:20px;}"
    "QRadioButton::indicator:unchecked{image:url(:/res/res/radiobtn_unchecked.png);}"
    "QRadioButton::indicator:unchecked:hover{image:url(:/res/res/radiobtn_checked.png);}"
    "QRadioButton::indicator:checked{image:url(:/res/res/radiobtn_checked.png);}";
const char kCheckBoxStyle[] =
    "QCheckBox{background: transparent;font-family:'Microsoft YaHei';font-size:14px;color:#CCCCCC;}"
    "QCheckBox::indicator{width:20px;height:20px;}"
    "QCheckBox::indicator:unchecked{image:url(:/res/res/checkbox_unchecked.png);}"
    "QCheckBox::indicator:unchecked:hover{image:url(:/res/res/checkbox_checked.png);}"
    "QCheckBox::indicator:checked{image:url(:/res/res/checkbox_checked.png);}";
const char kLabelStyle[] = "QLabel{color:#CCCCCC;font-family:'Microsoft YaHei';font-size:14px;}";
} // namespace

PopupWindowDialog::PopupWindowDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::PopupWindowDialog)
{
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    // One popup per use: once its answer has been read it goes.
    setAttribute(Qt::WA_DeleteOnClose);
    ui->setupUi(this);
    ui->fullTipsWidget->hide();
}

PopupWindowDialog::~PopupWindowDialog()
{
    delete ui;
}

void PopupWindowDialog::showPanelPage(int kind, const QString &logo, const QString &title)
{
    pageKind = kind;
    ui->lb_logo->setStyleSheet(QStringLiteral("#lb_logo{border-image: url(:/res/res/%1);}").arg(logo));
    ui->lb_title->setText(title);
    ui->webContentWidget->hide();
}

void PopupWindowDialog::showInfo(const QString &title, const QString &text, const QString &okText,
                                 const QString &cancelText, int style)
{
    showPanelPage(Information, QStringLiteral("info_logo.png"), title);
    auto *label = new QLabel(ui->contentWidget);
    label->setObjectName(QStringLiteral("lb_info_text"));
    // Messages carry names that came from pages; they are never markup.
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setText(text);
    if (style == 2) {
        label->setStyleSheet(QString::fromLatin1(kLabelStyle));
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    } else {
        label->setStyleSheet(QStringLiteral("QLabel{color:#CCCCCC;font-family:'Microsoft YaHei';font-size:18px;}"));
        label->setAlignment(Qt::AlignCenter);
    }
    label->setGeometry(0, 0, ui->contentWidget->width(), 170);
    label->show();
    ui->pup_okBtn->setText(okText);
    ui->pup_cancelBtn->setText(cancelText);
    if (style == 1) {
        ui->pup_cancelBtn->hide();
        ui->pup_okBtn->setGeometry(ui->pup_cancelBtn->geometry());
    }
    // Return or Space answers the focused button; Escape answers 取消.
    ui->pup_okBtn->setFocus(Qt::OtherFocusReason);
}

void PopupWindowDialog::showDevicePage(const QString &currentDeviceId)
{
    selectedDeviceId = currentDeviceId;
    showPanelPage(DeviceSelection, QStringLiteral("device_logo.png"), QStringLiteral("设备选择"));
    auto *request = new QuaNetworkRequest(QuaNetworkRequest::DeviceList);
    connect(request, &QuaNetworkRequest::sendDeviceInfo, this, &PopupWindowDialog::getDeviceInfo);
    request->sendVersionRequest();
}

void PopupWindowDialog::getDeviceInfo(QMap<int, QString> map)
{
    devices = map;
    qInfo("[Mivo] device list: %d devices", devices.size());
    if (!deviceList) {
        deviceList = new DeviceRadioList(ui->contentWidget);
        deviceList->setObjectName(QStringLiteral("deviceList"));
        deviceList->setStyleSheet(QString::fromLatin1(kRadioStyle));
        deviceList->setGeometry(ui->contentWidget->rect());
        connect(deviceList, &DeviceRadioList::deviceChosen, this, &PopupWindowDialog::getDeviceSelection);
        deviceList->show();
    }
    // A later answer replaces the list shown.
    deviceList->setDevices(devices, selectedDeviceId);
}

void PopupWindowDialog::getDeviceSelection(int key, const QString &entry)
{
    selectedDeviceId = QString::number(key);
    selectedDeviceName = DeviceRadioList::entryPart(entry, 1);
}

void PopupWindowDialog::showSettingsPage(const QString &dir, const QString &tool, bool autoRunOn)
{
    showPanelPage(Settings, QStringLiteral("settings_logo.png"), QStringLiteral("设置"));
    QWidget *content = ui->contentWidget;

    auto *autoBox = new QCheckBox(QStringLiteral("开机自动启动"), content);
    autoBox->setObjectName(QStringLiteral("autoRunBox"));
    autoBox->setStyleSheet(QString::fromLatin1(kCheckBoxStyle));
    autoBox->setGeometry(15, 20, 200, 20);
    autoBox->setChecked(autoRunOn);
    autoRun = autoRunOn;
    connect(autoBox, &QCheckBox::stateChanged, this, &PopupWindowDialog::getAutoBoxState);

    auto addLabel = [content](const QString &text, const QRect &rect, const QString &style) {
        auto *label = new QLabel(text, content);
        label->setStyleSheet(style);
        label->setGeometry(rect);
        return label;
    };
    addLabel(QStringLiteral("下载方式："), QRect(14, 55, 200, 20), QString::fromLatin1(kLabelStyle));
    auto addRadio = [this, content](const QString &text, const QRect &rect) {
        auto *radio = new QRadioButton(text, content);
        radio->setStyleSheet(QString::fromLatin1(kRadioStyle));
        radio->setGeometry(rect);
        connect(radio, &QRadioButton::clicked, this, &PopupWindowDialog::getDownloadSelection);
        return radio;
    };
    thunderRadio = addRadio(QStringLiteral("迅雷加速"), QRect(130, 55, 100, 20));
    thunderRadio->setObjectName(QStringLiteral("thunderRadio"));
    httpRadio = addRadio(QStringLiteral("普通下载"), QRect(280, 55, 100, 20));
    httpRadio->setObjectName(QStringLiteral("httpRadio"));
    if (tool == QLatin1String("http")) {
        downloadTool = QStringLiteral("http");
        httpRadio->setChecked(true);
    } else {
        downloadTool = QStringLiteral("thunder");
        thunderRadio->setChecked(true);
    }
    addLabel(QStringLiteral("（提示：若使用迅雷加速时无法正常下载游戏，请切换到普通下载！）"), QRect(14, 80, 400, 20),
             QStringLiteral("QLabel{color:#FF0000;font-family:'Microsoft YaHei';font-size:12px;}"));
    addLabel(QStringLiteral("游戏安装目录"), QRect(14, 105, 200, 20), QString::fromLatin1(kLabelStyle));

    installDirEdit = new QLineEdit(content);
    installDirEdit->setObjectName(QStringLiteral("installDirEdit"));
    installDirEdit->setGeometry(14, 130, 310, 30);
    installDirEdit->setTextMargins(28, 0, 0, 0);
    installDirEdit->setText(dir);
    // The folder is chosen through 浏览; typing here would be dropped on 保存.
    installDirEdit->setReadOnly(true);
    installDirEdit->setStyleSheet(QStringLiteral("QLineEdit{font-family:'Microsoft YaHei';font-size:14px;color:#333333;"
                                                 "\t\t\theight:25px;border:none;selection-color:pink}"));
    auto *folderIcon = new QFrame(installDirEdit);
    folderIcon->setObjectName(QStringLiteral("folder"));
    folderIcon->setGeometry(6, 6, 18, 18);
    folderIcon->setStyleSheet(QStringLiteral("QFrame#folder{border-image:url(:/res/res/folder.png)}"));
    folderIcon->setCursor(Qt::PointingHandCursor);
    folderIcon->setEnabled(false);

    auto *browse = new QPushButton(QStringLiteral("浏览"), content);
    browse->setObjectName(QStringLiteral("prvBtn"));
    browse->setGeometry(installDirEdit->geometry().right() + 1 + 5, 130, 85, 31);
    browse->setStyleSheet(QStringLiteral(
        "QPushButton{font-family:'Microsoft YaHei';font-size:14px;color:#909090;background:#333333;border:none;}"
        "QPushButton:hover{background:#212120;}QPushButton:pressed{background:#121212;}"));
    connect(browse, &QPushButton::clicked, this, &PopupWindowDialog::setExistingDirectory);

    installDir = dir;
    shownInstallDir = dir;
    for (QWidget *widget : content->findChildren<QWidget *>())
        widget->show();
}

void PopupWindowDialog::getAutoBoxState(int state)
{
    qDebug() << "checkbox state:" << state;
    autoRun = state == Qt::Checked;
}

void PopupWindowDialog::getDownloadSelection()
{
    if (thunderRadio->isChecked())
        downloadTool = QStringLiteral("thunder");
    else if (httpRadio->isChecked())
        downloadTool = QStringLiteral("http");
}

void PopupWindowDialog::setExistingDirectory()
{
    const QString answer = QFileDialog::getExistingDirectory(this, QStringLiteral("选择游戏安装目录"), installDir,
                                                             QFileDialog::ShowDirsOnly
                                                                 | QFileDialog::DontResolveSymlinks);
    if (answer.isEmpty())
        return;
    // The folder is made and filled only when the user saves.
    installDir = gamesFolderFor(answer);
    installDirEdit->setText(installDir);
}

void PopupWindowDialog::applyGamesFolder()
{
    if (folderMoving)
        return;
    const GamesFolderMove check = checkGamesFolderMove(shownInstallDir, installDir);
    if (check != GamesFolderMove::Moved) {
        gamesFolderApplied(int(check));
        return;
    }
    // A large folder takes long to copy: the window goes on meanwhile and
    // the page shows that it works.
    showFolderMoving(true);
    auto move = std::make_shared<GamesFolderMove>(GamesFolderMove::Failed);
    QThread *worker = QThread::create(
        [move, from = shownInstallDir, to = installDir]() { *move = moveGamesFolder(from, to); });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    connect(worker, &QThread::finished, this, [this, move]() {
        showFolderMoving(false);
        gamesFolderApplied(int(*move));
    });
    worker->start();
}

void PopupWindowDialog::showFolderMoving(bool moving)
{
    folderMoving = moving;
    for (QPushButton *button : {ui->pup_okBtn, ui->pup_cancelBtn, ui->closeBtn})
        button->setEnabled(!moving);
    auto *indicator = ui->contentWidget->findChild<QLabel *>(QStringLiteral("folderMoving"));
    if (!indicator && moving) {
        indicator = new QLabel(ui->contentWidget);
        indicator->setObjectName(QStringLiteral("folderMoving"));
        indicator->setGeometry(ui->contentWidget->rect());
        indicator->setAlignment(Qt::AlignCenter);
        indicator->setStyleSheet(QStringLiteral("QLabel{background:rgba(0,0,0,160);}"));
        indicator->setMovie(new QMovie(QStringLiteral(":/res/res/loading.gif"), QByteArray(), indicator));
    }
    if (!indicator)
        return;
    indicator->setVisible(moving);
    if (moving) {
        indicator->raise();
        indicator->movie()->start();
    } else {
        indicator->movie()->stop();
    }
}

void PopupWindowDialog::gamesFolderApplied(int move)
{
    switch (GamesFolderMove(move)) {
    case GamesFolderMove::Moved:
    case GamesFolderMove::Unchanged:
        break;
    case GamesFolderMove::Nested:
        // Refused: the page stays open for another choice.
        tellUser(QStringLiteral("新的游戏安装目录不能是原目录或其中的文件夹，请重新选择！"));
        return;
    case GamesFolderMove::Failed:
        tellUser(QStringLiteral("游戏无法复制到新的安装目录，仍使用原目录：%1").arg(shownInstallDir));
        installDir = shownInstallDir;
        installDirEdit->setText(installDir);
        break;
    }
    emit sendSettings(installDir, downloadTool, autoRun);
    accept();
}

void PopupWindowDialog::tellUser(const QString &text)
{
    auto *notice = new PopupWindowDialog(parentWidget());
    notice->setGeometry(geometry());
    notice->showInfo(QStringLiteral("提示信息"), text, QStringLiteral("确定"), QStringLiteral("取消"), 1);
    notice->open();
}

void PopupWindowDialog::showFeedbackPage(const QString &url)
{
    showPanelPage(Feedback, QStringLiteral("feedback_icon.png"), QStringLiteral("问题反馈"));
    ui->popupWidget->resize(ui->popupWidget->width(), 290);
    ui->webWidget->resize(430, 253);
    ui->webContentWidget->resize(430, 253);
    ui->webContentWidget->show();
    centrePanel();
    auto *movie = new QMovie(QStringLiteral(":/res/res/loading.gif"), QByteArray(), ui->lb_loading);
    ui->lb_loading->setMovie(movie);
    movie->start();
    ui->webContentWidget->createView(url);
    ui->lb_loading->raise();
    ui->lb_loading->show();
    connect(ui->webContentWidget, &WebFormBase::sendLoadFinished, this, &PopupWindowDialog::getLoadFinished);
    ui->contentWidget->hide();
    ui->pup_okBtn->hide();
    ui->pup_cancelBtn->hide();
}

void PopupWindowDialog::getLoadFinished(bool)
{
    ui->lb_loading->close();
}

void PopupWindowDialog::showTipsPage(int kind, const QString &tips, const QString &okText, const QString &failedText)
{
    pageKind = kind;
    ui->popupWidget->hide();
    ui->fullTipsWidget->show();
    ui->lb_recharge_tips->setText(tips);
    ui->pup_recharge_ok->setText(okText);
    ui->pup_recharge_failed->setText(failedText);
}

void PopupWindowDialog::showRechargePage()
{
    showTipsPage(Recharge, QStringLiteral("请在弹出的网页中进行充值"), QStringLiteral("充值成功"),
                 QStringLiteral("取消充值"));
}

void PopupWindowDialog::showExchangePage()
{
    showTipsPage(Exchange, QStringLiteral("请在弹出的网页中进行兑换"), QStringLiteral("兑换完成"),
                 QStringLiteral("取消兑换"));
}

void PopupWindowDialog::on_pup_okBtn_clicked()
{
    if (pageKind == DeviceSelection) {
        emit sendDeviceSelection(selectedDeviceId, selectedDeviceName);
    } else if (pageKind == Settings) {
        applyGamesFolder();
        return;
    }
    accept();
}

void PopupWindowDialog::reject()
{
    if (!folderMoving)
        QDialog::reject();
}

void PopupWindowDialog::on_pup_cancelBtn_clicked()
{
    reject();
}

void PopupWindowDialog::on_closeBtn_clicked()
{
    reject();
}

void PopupWindowDialog::on_pup_recharge_ok_clicked()
{
    if (OrbelaDialog *window = OrbelaDialog::instance())
        window->requestUserInfo();
    accept();
}

void PopupWindowDialog::on_pup_recharge_failed_clicked()
{
    reject();
}

void PopupWindowDialog::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 0, 0xCC));
    event->accept();
}

void PopupWindowDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // A question takes the keyboard from the window that asked it.
    if (windowModality() != Qt::NonModal)
        activateWindow();
}

void PopupWindowDialog::resizeEvent(QResizeEvent *event)
{
    centrePanel();
    QDialog::resizeEvent(event);
}

void PopupWindowDialog::centrePanel()
{
    QWidget *panel = ui->popupWidget;
    panel->move((width() - panel->width()) / 2, (height() - panel->height()) / 2);
    ui->fullTipsWidget->setGeometry(panel->geometry());
}
