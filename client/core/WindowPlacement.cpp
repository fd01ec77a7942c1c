#include "core/WindowPlacement.h"

WindowPlacement::WindowPlacement(const QRect &normal, bool maximized)
    : normal(normal)
    , shown(normal)
    , maximized(maximized)
{
}

void WindowPlacement::stash(const QRect &bodyNow)
{
    // A second hide in a row finds the body already empty and keeps the earlier rectangle.
    if (!stashed && !bodyNow.isEmpty())
        shown = bodyNow;
    stashed = true;
}

QRect WindowPlacement::unstash(const QRect &available)
{
    stashed = false;
    return maximized ? available : shown;
}

QRect WindowPlacement::toggleMaximized(const QRect &bodyNow, const QRect &available)
{
    if (!maximized) {
        const QRect before = lastShownRect(bodyNow);
        if (!before.isEmpty())
            normal = before;
    }
    maximized = !maximized;
    stashed = false;
    return maximized ? available : normal;
}

QRect WindowPlacement::lastShownRect(const QRect &bodyNow) const
{
    return stashed || bodyNow.isEmpty() ? shown : bodyNow;
}
