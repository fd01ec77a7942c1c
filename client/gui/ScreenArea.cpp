#include "gui/ScreenArea.h"

#include "core/WindowOnScreen.h"

#include <QGuiApplication>
#include <QScreen>

ScreenAreas screenAreas()
{
    ScreenAreas areas;
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (QScreen *screen : screens)
        areas.available << screen->availableGeometry();
    areas.primary = qMax(0, screens.indexOf(QGuiApplication::primaryScreen()));
    return areas;
}

QRect availablePrimaryScreenArea()
{
    const ScreenAreas areas = screenAreas();
    return primaryArea(areas.available, areas.primary);
}

QRect maximizedScreenArea(const QRect &normalBody)
{
    const ScreenAreas areas = screenAreas();
    return maximizedArea(normalBody, areas.available, areas.primary);
}
