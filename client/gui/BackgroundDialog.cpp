#include "gui/BackgroundDialog.h"
#include "ui_BackgroundDialog.h"

#include "gui/OrbelaDialog.h"
#include "platform/PlatformDesktop.h"

#include <QCloseEvent>
#include <QResizeEvent>

namespace {
// Pages are hidden in this order before one is shown.
const int kHideOrder[5] = {1, 0, 2, 3, 4};
} // namespace

BackgroundDialog::BackgroundDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::BackgroundDialog)
{
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    // No delete on close: the title bar owns the body and deletes it last, so
    // no close, rejection or Escape can leave it pointing at a deleted window.
    ui->setupUi(this);
    pages[0] = ui->mangerWidget;
    pages[1] = ui->webGameWidget;
    pages[2] = ui->webActivityWidget;
    pages[3] = ui->webExchangeWidget;
    pages[4] = ui->webUserCentralWidget;
    showOnly(1);
}

BackgroundDialog::~BackgroundDialog()
{
    delete ui;
}

QWidget *BackgroundDialog::page(int index) const
{
    return index >= 0 && index < 5 ? pages[index] : nullptr;
}

void BackgroundDialog::showOnly(int index)
{
    for (int i : kHideOrder)
        pages[i]->hide();
    pages[index]->show();
}

void BackgroundDialog::showManagerPage() { showOnly(0); }
void BackgroundDialog::showGamePage() { showOnly(1); }
void BackgroundDialog::showActivityPage() { showOnly(2); }
void BackgroundDialog::showExchangePage() { showOnly(3); }
void BackgroundDialog::showUserCentralPage() { showOnly(4); }

void BackgroundDialog::resizeEvent(QResizeEvent *event)
{
    for (QWidget *p : pages)
        p->resize(event->size());
    QDialog::resizeEvent(event);
}

bool BackgroundDialog::nativeEvent(const QByteArray &eventType, void *message, long *result)
{
    if (desktopPlatform().classifyNativeEvent(eventType, message) == PlatformDesktop::NativeMessage::Activate) {
        if (OrbelaDialog *titleBar = OrbelaDialog::instance())
            desktopPlatform().placeBelow(windowHandle(), titleBar->windowHandle());
    }
    return QDialog::nativeEvent(eventType, message, result);
}

bool BackgroundDialog::event(QEvent *event)
{
    // Clicking into a page must never bring the body over the title bar.
    if (event->type() == QEvent::WindowActivate) {
        OrbelaDialog *titleBar = OrbelaDialog::instance();
        if (titleBar && titleBar->isVisible())
            desktopPlatform().placeBelow(windowHandle(), titleBar->windowHandle());
    }
    return QDialog::event(event);
}

void BackgroundDialog::reject()
{
    // Escape on a page would hide the body under a title bar that shows
    // nothing; the title bar alone hides and shows it.
}

void BackgroundDialog::closeEvent(QCloseEvent *event)
{
    // The title bar owns the body's life; a close from outside would leave it
    // pointing at a destroyed window, so the request becomes the client's exit.
    event->ignore();
    if (OrbelaDialog *titleBar = OrbelaDialog::instance())
        QMetaObject::invokeMethod(titleBar, "on_closeBtn_clicked", Qt::QueuedConnection);
}
