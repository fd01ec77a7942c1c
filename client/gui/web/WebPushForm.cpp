#include "gui/web/WebPushForm.h"
#include "ui_WebPushForm.h"

#include "gui/web/WebEngineView.h"

#include <QResizeEvent>

WebPushForm::WebPushForm(QWidget *parent)
    : WebFormBase(parent)
    , ui(new Ui::WebPushForm)
{
    ui->setupUi(this);
}

WebPushForm::~WebPushForm()
{
    delete ui;
}

void WebPushForm::resizeEvent(QResizeEvent *event)
{
    if (view)
        view->resize(event->size());
    QWidget::resizeEvent(event);
}

bool WebPushForm::OnFormSubmitted(const QUrl &url)
{
    return OnLinkClicked(url);
}

bool WebPushForm::OnLinkClicked(const QUrl &url)
{
    return handleLink(LinkHandler::Push, url);
}
