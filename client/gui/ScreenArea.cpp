#include "gui/ScreenArea.h"

#include <QGuiApplication>
#include <QScreen>

QRect availablePrimaryScreenArea()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
}
