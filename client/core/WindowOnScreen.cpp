#include "core/WindowOnScreen.h"

#include "core/TitleBarLayout.h"

namespace {
QRect titleBarRow(const QRect &body)
{
    return QRect(body.x(), body.y(), body.width(), TitleBarLayout::kHeight);
}

// x or y of a span of this length pushed inside [start, start + room).
int pushedInside(int at, int length, int start, int room)
{
    return qMax(start, qMin(at, start + room - length));
}
} // namespace

QRect primaryArea(const QVector<QRect> &availableAreas, int primary)
{
    if (availableAreas.isEmpty())
        return QRect(0, 0, 1920, 1080);
    return availableAreas[primary >= 0 && primary < availableAreas.size() ? primary : 0];
}

int screenHoldingTitleBar(const QRect &body, const QVector<QRect> &availableAreas)
{
    const QRect row = titleBarRow(body);
    for (int i = 0; i < availableAreas.size(); ++i) {
        if (!row.isEmpty() && availableAreas[i].contains(row))
            return i;
    }
    return -1;
}

QRect placeOnScreens(const QRect &body, const QVector<QRect> &availableAreas, int primary, int minimumWidth)
{
    const int holding = screenHoldingTitleBar(body, availableAreas);
    if (holding >= 0) {
        const QRect screen = availableAreas[holding];
        QRect placed = body;
        if (placed.width() < qMin(minimumWidth, screen.width())) {
            placed.setWidth(qMin(minimumWidth, screen.width()));
            placed.moveLeft(pushedInside(placed.x(), placed.width(), screen.x(), screen.width()));
        }
        return placed;
    }
    const QRect screen = primaryArea(availableAreas, primary);
    const int width = qMin(qMax(body.width(), minimumWidth), screen.width());
    const int height = qMin(body.height(), screen.height());
    // The title-bar row is as tall as it is, however low the body.
    const int rowHeight = qMin(qMax(height, int(TitleBarLayout::kHeight)), screen.height());
    return QRect(pushedInside(body.x(), width, screen.x(), screen.width()),
                 pushedInside(body.y(), rowHeight, screen.y(), screen.height()), width, height);
}

QRect maximizedArea(const QRect &normalBody, const QVector<QRect> &availableAreas, int primary)
{
    const int holding = screenHoldingTitleBar(normalBody, availableAreas);
    return holding >= 0 ? availableAreas[holding] : primaryArea(availableAreas, primary);
}
