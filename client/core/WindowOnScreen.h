#pragma once
// Where the windows go on the screens there are now. A rectangle saved on
// another desktop (a wider screen, a second screen since unplugged) may lie
// off every screen, and the frameless title bar is the only handle a player
// has to drag the windows back: its row must always lie on a screen.

#include <QRect>
#include <QVector>

// The primary screen's available area; a 1920x1080 one at the origin when
// there is no screen (or the index names none).
QRect primaryArea(const QVector<QRect> &availableAreas, int primary);

// The index of the first screen whose available area holds the whole title-bar
// row (the body's top 74 pixels) of a body at this rectangle; -1 when none does.
int screenHoldingTitleBar(const QRect &body, const QVector<QRect> &availableAreas);

// The body rectangle to use for a stored one. One whose title-bar row lies
// on a screen stays, widened to minimumWidth (or that screen's width, when
// narrower) and moved left only as far as that screen asks. Any other is moved
// onto the primary screen's available area, the area's origin included, and
// cut to its size, still at least minimumWidth wide where the screen is.
QRect placeOnScreens(const QRect &body, const QVector<QRect> &availableAreas, int primary, int minimumWidth);

// What a maximised body covers: the available area of the screen its
// (placed) normal rectangle's title bar lies on, else the primary one's.
QRect maximizedArea(const QRect &normalBody, const QVector<QRect> &availableAreas, int primary);
