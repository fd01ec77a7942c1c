#include "gui/games/mangerForm.h"

#include "core/game/LocalDatabase.h"
#include "core/game/VRAppInfo.h"
#include "gui/OrbelaDialog.h"
#include "gui/games/listItem.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScrollBar>

namespace {

const char kListStyle[] =
    "QListWidget{border:none;background:transparent;outline:0px;}"
    "QListWidget::item{border-image:url(:/res/res/side-mygame-item-normal.png);}"
    "QListWidget::item:hover{border-image:url(:/res/res/side-mygame-item-hover.png);}"
    "QScrollBar:vertical{width:6px;background:transparent;padding-top:8px;}"
    "QScrollBar::handle:vertical{background:rgb(91,91,91);border-radius:3px;min-height:20px;}"
    "QScrollBar::handle:vertical:hover{background:rgb(120,120,120);}"
    "QScrollBar::add-line:vertical,QScrollBar::sub-line:vertical{width:8px;height:9px;}"
    "QScrollBar::add-page:vertical,QScrollBar::sub-page:vertical{background:transparent;}";

const char kComboStyle[] =
    "QComboBox{background:#19191A;color:#CCCCCC;border:1px solid #CCCCCC;font-family:'Microsoft YaHei';"
    "font-size:14px;}"
    "QComboBox::down-arrow{image:url(:/res/res/arrow.png);}"
    "QComboBox QAbstractItemView{background:#19191A;color:#CCCCCC;}"
    "QComboBox QAbstractItemView::item{height:30px;}";

int bottom(const QWidget *widget)
{
    return widget->y() + widget->height() - 1;
}

} // namespace

mangerForm::mangerForm(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Form"));
    resize(1102, 626);

    backgroundWidget = new QWidget(this);
    backgroundWidget->setObjectName(QStringLiteral("backgroundWidget"));
    backgroundWidget->setGeometry(0, 0, 781, 111);
    backgroundWidget->setAttribute(Qt::WA_StyledBackground);
    backgroundWidget->setStyleSheet(QStringLiteral("#backgroundWidget{border-image: url(:/res/res/background.jpg);}"));

    titlebackgroundWidget = new QWidget(backgroundWidget);
    titlebackgroundWidget->setObjectName(QStringLiteral("titlebackgroundWidget"));
    titlebackgroundWidget->setGeometry(40, 30, 691, 40);
    titlebackgroundWidget->setAttribute(Qt::WA_StyledBackground);
    titlebackgroundWidget->setStyleSheet(QStringLiteral("#titlebackgroundWidget{background:#202020;}"));

    gameRadioBtn = new QRadioButton(titlebackgroundWidget);
    gameRadioBtn->setObjectName(QStringLiteral("gameRadioBtn"));
    gameRadioBtn->setGeometry(20, 10, 43, 30);
    gameRadioBtn->setStyleSheet(QStringLiteral(
        "QRadioButton::indicator{width:43px;height:30px;image:url(:/res/res/local_game.png);}"));

    lb_titlebar_btn_change = new QLabel(titlebackgroundWidget);
    lb_titlebar_btn_change->setObjectName(QStringLiteral("lb_titlebar_btn_change"));
    lb_titlebar_btn_change->setGeometry(20, 35, 43, 4);
    lb_titlebar_btn_change->setStyleSheet(
        QStringLiteral("#lb_titlebar_btn_change{border-image: url(:/res/res/local_change.png);}"));

    listWidget = new QListWidget(this);
    listWidget->setObjectName(QStringLiteral("listWidget"));
    listWidget->setGeometry(800, 60, 281, 41);
    listWidget->setStyleSheet(QLatin1String(kListStyle));
    listWidget->setFrameShape(QFrame::NoFrame);
    listWidget->setFocusPolicy(Qt::NoFocus);
    listWidget->setSpacing(5);
    // The view mode first: icon mode would make the items movable again.
    listWidget->setViewMode(QListView::IconMode);
    listWidget->setMovement(QListView::Static);
    listWidget->setResizeMode(QListView::Fixed);
    listWidget->setAutoScroll(true);
    listWidget->setSelectionMode(QAbstractItemView::SingleSelection);
    listWidget->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Thousands of rows are laid out a batch per loop turn, never all at once.
    listWidget->setLayoutMode(QListView::Batched);
    listWidget->setBatchSize(100);

    comboBox = new QComboBox(this);
    comboBox->setObjectName(QStringLiteral("comboBox"));
    comboBox->setGeometry(900, 10, 170, 32);
    comboBox->setMinimumSize(170, 32);
    comboBox->addItems({QStringLiteral("全部"), QStringLiteral("下载中"), QStringLiteral("已完成")});
    comboBox->setStyleSheet(QLatin1String(kComboStyle));

    emptyWidget = new QWidget(this);
    emptyWidget->setObjectName(QStringLiteral("emptyWidget"));
    emptyWidget->setGeometry(20, 130, 951, 480);
    emptyWidget->setAttribute(Qt::WA_StyledBackground);
    emptyWidget->setStyleSheet(QStringLiteral("#emptyWidget{background:#50000000;}"));

    lb_no_game = new QLabel(emptyWidget);
    lb_no_game->setObjectName(QStringLiteral("lb_no_game"));
    lb_no_game->setGeometry(400, 75, 145, 180);
    lb_no_game->setStyleSheet(QStringLiteral("#lb_no_game{border-image: url(:/res/res/no_game.png);}"));

    lb_notify = new QLabel(QStringLiteral("矮油，您的本地暂时还木有游戏哇~"), emptyWidget);
    lb_notify->setObjectName(QStringLiteral("lb_notify"));
    lb_notify->setGeometry(290, 270, 400, 31);
    lb_notify->setAlignment(Qt::AlignCenter);
    lb_notify->setStyleSheet(QStringLiteral(
        "#lb_notify{font-family:'Microsoft YaHei';font-size:18px;color:#CCCCCC;background:transparent;}"));

    addGameBtn = new QPushButton(QStringLiteral("添加一个游戏"), emptyWidget);
    addGameBtn->setObjectName(QStringLiteral("addGameBtn"));
    addGameBtn->setGeometry(400, 310, 160, 40);
    addGameBtn->setCursor(Qt::PointingHandCursor);
    addGameBtn->setStyleSheet(QStringLiteral("#addGameBtn{background:#DFC697;color:#1C1300;"
                                             "font-family:'Microsoft YaHei';font-size:18px;border:none;}"));

    lb_show = new QLabel(QStringLiteral("显示"), this);
    lb_show->setObjectName(QStringLiteral("lb_show"));
    lb_show->setGeometry(830, 10, 54, 30);
    lb_show->setStyleSheet(QStringLiteral(
        "#lb_show{font-family:'Microsoft YaHei';font-size:16px;color:#CCCCCC;background:transparent;}"));

    connect(comboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &mangerForm::comboboxChange);
    QMetaObject::connectSlotsByName(this);
}

QListWidgetItem *mangerForm::findItem(const QString &gameId) const
{
    // One row per game (addItem replaces), so the index finds the only one.
    return itemsByGame.value(gameId);
}

listItem *mangerForm::row(const QString &gameId) const
{
    QListWidgetItem *item = findItem(gameId);
    return item ? qobject_cast<listItem *>(listWidget->itemWidget(item)) : nullptr;
}

void mangerForm::addItem(VRAppInfo *info, bool atBottom)
{
    // One row per game: a new record of the same game takes its place.
    while (findItem(info->gameId))
        removeItem(info->gameId);
    emptyWidget->hide();
    auto *item = new QListWidgetItem;
    auto *rowWidget = new listItem(listWidget);
    rowWidget->setAppInfo(info);
    item->setSizeHint(rowWidget->size());
    item->setText(info->gameId);
    QFont hidden(QStringLiteral("Times"), 1);
    hidden.setWeight(0);
    item->setFont(hidden);
    listWidget->insertItem(atBottom ? listWidget->count() : 0, item);
    listWidget->setItemWidget(item, rowWidget);
    itemsByGame.insert(info->gameId, item);
}

void mangerForm::removeItem(const QString &gameId)
{
    QListWidgetItem *item = findItem(gameId);
    if (!item)
        return;
    itemsByGame.remove(gameId);
    QWidget *rowWidget = listWidget->itemWidget(item);
    listWidget->removeItemWidget(item);
    delete listWidget->takeItem(listWidget->row(item));
    if (rowWidget)
        rowWidget->deleteLater();
    if (listWidget->count() == 0)
        emptyWidget->show();
}

void mangerForm::setItemHidden(const QString &gameId, bool hidden)
{
    if (QListWidgetItem *item = findItem(gameId))
        item->setHidden(hidden);
}

void mangerForm::comboboxChange(int index)
{
    if (index < 0 || index > 2)
        return;
    OrbelaDialog *window = OrbelaDialog::instance();
    const QString device = window ? window->deviceId() : QString();
    LocalDatabase database;
    if (!database.open())
        return;
    const QList<VRAppInfo *> games = database.loadGames();
    database.close();
    for (const VRAppInfo *game : games) {
        bool shown = game->deviceId == device;
        if (index == 1)
            shown = shown && game->downloadStatus == VRAppInfo::Downloading;
        else if (index == 2)
            shown = shown && game->downloadStatus != VRAppInfo::Downloading;
        setItemHidden(game->gameId, !shown);
    }
    qDeleteAll(games);
}

void mangerForm::on_addGameBtn_clicked()
{
    if (OrbelaDialog *window = OrbelaDialog::instance())
        window->switchToGame();
}

void mangerForm::resizeEvent(QResizeEvent *event)
{
    const int width = event->size().width();
    const int height = event->size().height();
    backgroundWidget->resize(width, height);
    titlebackgroundWidget->setGeometry(20, 94, width - 40, titlebackgroundWidget->height());
    emptyWidget->setGeometry(20, bottom(titlebackgroundWidget) + 20, width - 40, emptyWidget->height());
    lb_no_game->move((emptyWidget->width() - lb_no_game->width()) / 2, 74);
    lb_notify->move((emptyWidget->width() - lb_notify->width()) / 2, bottom(lb_no_game) + 20);
    addGameBtn->move((emptyWidget->width() - addGameBtn->width()) / 2, bottom(lb_notify) + 20);
    listWidget->setGeometry(20, bottom(titlebackgroundWidget) + 20, width - 41, height - 148);
    // Right edges: the combo box's at W - 41, the label's one pixel left of the box.
    comboBox->move(width - 41 - comboBox->width() + 1, 99);
    lb_show->move(comboBox->x() - lb_show->width(), 99);
    comboBox->hide();
    lb_show->hide();
    QWidget::resizeEvent(event);
}
