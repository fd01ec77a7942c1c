#pragma once

#include "gui/LatestInstance.h"

#include <QDialog>

namespace Ui {
class BackgroundDialog;
}

// The body window under the title bar: holds the five content pages and
// shows one at a time.
class BackgroundDialog : public QDialog, public LatestInstance<BackgroundDialog>
{
    Q_OBJECT

public:
    explicit BackgroundDialog(QWidget *parent = nullptr);
    ~BackgroundDialog() override;

    void showManagerPage();
    void showGamePage();
    void showActivityPage();
    void showExchangePage();
    void showUserCentralPage();

    QWidget *page(int index) const;

public slots:
    void reject() override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool nativeEvent(const QByteArray &eventType, void *message, long *result) override;
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void showOnly(int index);

    Ui::BackgroundDialog *ui = nullptr;
    QWidget *pages[5] = {};
};
