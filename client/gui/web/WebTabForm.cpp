#include "gui/web/WebTabForm.h"

#include "gui/web/WebEngineView.h"

#include <QResizeEvent>

bool WebTabForm::OnFormSubmitted(const QUrl &)
{
    return true;
}

void WebTabForm::connectView()
{
    connect(view, &QWebEngineView::loadStarted, this, &WebTabForm::webViewLoadStarted);
    connect(view, &QWebEngineView::loadProgress, this, &WebTabForm::webViewLoadProgress);
    WebFormBase::connectView();
}

void WebTabForm::webViewLoadStarted()
{
    qDebug("%s load started!", metaObject()->className());
}

void WebTabForm::webViewLoadProgress(int progress)
{
    emit sendLoadProcess(progress);
}

void WebTabForm::reportLoadFinished(bool ok)
{
    qDebug("%s load finished: %s", metaObject()->className(), ok ? "OK!" : "FAILED!");
    WebFormBase::reportLoadFinished(ok);
}

void WebTabForm::resizeEvent(QResizeEvent *event)
{
    if (view)
        view->resize(event->size());
    if (QWidget *background = findChild<QWidget *>(QStringLiteral("backgroundWidget"), Qt::FindDirectChildrenOnly))
        background->resize(event->size());
    QWidget::resizeEvent(event);
}
