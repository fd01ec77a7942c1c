#include "gui/web/WebExchangeForm.h"
#include "ui_WebExchangeForm.h"

#include "core/ServiceHosts.h"

#include <QUrl>

WebExchangeForm::WebExchangeForm(QWidget *parent)
    : WebTabForm(parent)
    , ui(new Ui::WebExchangeForm)
{
    ui->setupUi(this);
    createView(appApiPageUrl(QStringLiteral("/client/exchange")));
}

WebExchangeForm::~WebExchangeForm()
{
    delete ui;
}

bool WebExchangeForm::OnLinkClicked(const QUrl &url)
{
    return handleLink(LinkHandler::Exchange, url);
}
