#pragma once
// One-second property animations for windows and widgets; each deletes itself
// when it stops.

#include <QEasingCurve>
#include <QPoint>
#include <QRect>

class QWidget;

// Drops a window from the top of the screen to its middle.
void animateWindowDropIn(QWidget *w);
void animateMove(QWidget *w, QPoint to, const QEasingCurve &curve);
void animateGeometry(QWidget *w, QRect from, QRect to, const QEasingCurve &curve);
