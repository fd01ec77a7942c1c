#pragma once
// The local games manager page: one row per game, newest at the top, and a
// picture with a button to the store while the list is empty.

#include "gui/LatestInstance.h"

#include <QHash>
#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class VRAppInfo;
class listItem;

class mangerForm : public QWidget, public LatestInstance<mangerForm>
{
    Q_OBJECT

public:
    explicit mangerForm(QWidget *parent = nullptr);

    // Adds the record's row at the top (or the bottom), replacing a row of the same game.
    void addItem(VRAppInfo *info, bool atBottom = false);
    void removeItem(const QString &gameId);
    void setItemHidden(const QString &gameId, bool hidden);

    listItem *row(const QString &gameId) const;
    QListWidget *list() const { return listWidget; }
    QWidget *emptyPanel() const { return emptyWidget; }

public slots:
    void comboboxChange(int index);
    void on_addGameBtn_clicked();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QListWidgetItem *findItem(const QString &gameId) const;

    QWidget *backgroundWidget;
    QWidget *titlebackgroundWidget;
    QRadioButton *gameRadioBtn;
    QLabel *lb_titlebar_btn_change;
    QListWidget *listWidget;
    QComboBox *comboBox;
    QWidget *emptyWidget;
    QLabel *lb_no_game;
    QLabel *lb_notify;
    QPushButton *addGameBtn;
    QLabel *lb_show;
    QHash<QString, QListWidgetItem *> itemsByGame;
};
