#include "gui/web/WebExchangeForm.h"
#include "ui_WebExchangeForm.h"

#include "core/ServiceHosts.h"
#include "gui/web/WebProfile.h"

#include <QUrl>

WebExchangeForm *WebExchangeForm::self = nullptr;

WebExchangeForm::WebExchangeForm(QWidget *parent)
    : WebTabForm(parent)
    , ui(new Ui::WebExchangeForm)
{
    self = this;
    ui->setupUi(this);
    createView(appApiPageUrl(QStringLiteral("/client/exchange")));
    loginArgument = QString();
}

WebExchangeForm::~WebExchangeForm()
{
    delete ui;
    if (self == this)
        self = nullptr;
}

WebExchangeForm *WebExchangeForm::instance()
{
    return self;
}

bool WebExchangeForm::OnLinkClicked(const QUrl &url)
{
    qInfo("[Mivo] url:%s", qPrintable(url.toString()));
    return !isMivoUrl(url);
}
