#include "gui/popups/pushWebDialog.h"
#include "ui_pushWebDialog.h"

#include "core/ServiceHosts.h"

#include <QResizeEvent>

pushWebDialog::pushWebDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::pushWebDialog)
{
    // Frameless alone: the panel is a child widget of the body, not a window.
    setWindowFlags(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    ui->setupUi(this);
    if (WebPushForm *form = WebPushForm::instance())
        form->createView(appApiPageUrl(QStringLiteral("/client/task")));
}

pushWebDialog::~pushWebDialog()
{
    delete ui;
}

void pushWebDialog::resizeEvent(QResizeEvent *event)
{
    ui->webPushWidget->resize(event->size());
    QDialog::resizeEvent(event);
}
