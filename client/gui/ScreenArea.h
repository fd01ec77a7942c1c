#pragma once
// The primary screen's area as the windows use it; the core takes its size
// from here, as it asks no screen itself.

#include <QRect>

// The primary screen's available area (without panels and task bars); a
// 1920x1080 area at the origin when there is no screen.
QRect availablePrimaryScreenArea();
