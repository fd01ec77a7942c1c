#pragma once
// The screens' areas as the windows use them; the core takes them from here,
// as it asks no screen itself.

#include <QRect>
#include <QVector>

// The available areas (without panels and task bars) of every screen, and
// which of them is the primary one.
struct ScreenAreas
{
    QVector<QRect> available;
    int primary = 0;
};
ScreenAreas screenAreas();

// The primary screen's available area; a 1920x1080 area at the origin when
// there is no screen.
QRect availablePrimaryScreenArea();

// What a maximised body covers: the available area of the screen the title
// bar of its normal rectangle lies on (the primary screen's when none).
QRect maximizedScreenArea(const QRect &normalBody);
