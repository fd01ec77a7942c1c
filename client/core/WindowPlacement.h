#pragma once
// Where the body window goes as the title bar's buttons take both windows
// between the normal and the maximised state, out of sight (minimised or
// hidden, the body at 0 x 0) and back. Whatever the order, a body that comes
// back gets a rectangle it had while shown, never an empty one.

#include <QRect>

class WindowPlacement
{
public:
    // normal: the rectangle to return to when leaving the maximised state.
    WindowPlacement(const QRect &normal, bool maximized);

    bool isMaximized() const { return maximized; }
    // Minimised or hidden: the body waits at 0 x 0 to be shown again.
    bool isStashed() const { return stashed; }
    QRect normalRect() const { return normal; }

    // The body goes out of sight; bodyNow is its rectangle before it empties.
    void stash(const QRect &bodyNow);
    // The body comes back: its rectangle (the available area when maximised).
    QRect unstash(const QRect &available);
    // The maximise button: the body's new rectangle; a body out of sight comes back.
    QRect toggleMaximized(const QRect &bodyNow, const QRect &available);
    // The body's last rectangle while shown: what is saved and restored.
    QRect lastShownRect(const QRect &bodyNow) const;

private:
    QRect normal;
    QRect shown;
    bool maximized = false;
    bool stashed = false;
};
