#include "gui/web/WebEngineView.h"

#include <QContextMenuEvent>

void WebEngineView::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
}
