#pragma once

#include <QWebEngineView>

// The view of a store page; the pages have no context menu.
class WebEngineView : public QWebEngineView
{
    Q_OBJECT

public:
    using QWebEngineView::QWebEngineView;

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
};
