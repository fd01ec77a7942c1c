#pragma once
// Where the task push panel lies in the body window: unfolded, a banner
// centred at the body's bottom (1102 pixels wide, 1642 while maximised, but
// never wider than the body, so its heading and scroll bar stay in sight);
// folded, a 46-pixel strip at the body's right edge.

#include <QRect>
#include <QSize>

QRect unfoldedPushPanelRect(const QSize &body, int panelHeight, bool maximized);
QRect foldedPushPanelRect(const QSize &body, int panelHeight);
