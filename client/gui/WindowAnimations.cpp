#include "gui/WindowAnimations.h"

#include "gui/ScreenArea.h"

#include <QPropertyAnimation>
#include <QWidget>

namespace {
const int kDurationMs = 1000;

void run(QWidget *w, const QByteArray &property, const QVariant &from, const QVariant &to,
         const QEasingCurve &curve)
{
    auto *animation = new QPropertyAnimation(w, property);
    animation->setDuration(kDurationMs);
    animation->setStartValue(from);
    animation->setEndValue(to);
    animation->setEasingCurve(curve);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}
} // namespace

void animateWindowDropIn(QWidget *w)
{
    const QSize available = availablePrimaryScreenArea().size();
    const int x = (available.width() - w->width()) / 2;
    const int y = (available.height() - w->height()) / 2;
    run(w, "geometry", QRect(QPoint(x, 0), w->size()), QRect(QPoint(x, y), w->size()),
        QEasingCurve(QEasingCurve::OutElastic));
}

void animateMove(QWidget *w, QPoint to, const QEasingCurve &curve)
{
    run(w, "pos", w->pos(), to, curve);
}

void animateGeometry(QWidget *w, QRect from, QRect to, const QEasingCurve &curve)
{
    run(w, "geometry", from, to, curve);
}
