#include "core/PushPanelPlacement.h"

#include <QtGlobal>

namespace {
const int kFoldedWidth = 46;
const int kNormalWidth = 1102;
const int kMaximizedWidth = 1642;
} // namespace

QRect unfoldedPushPanelRect(const QSize &body, int panelHeight, bool maximized)
{
    const int width = qMin(maximized ? kMaximizedWidth : kNormalWidth, body.width());
    // Centred with the folded strip's half-width to the right, but never past the body's edge.
    const int left = qMax(0, qMin((body.width() - width + kFoldedWidth) / 2, body.width() - width));
    return QRect(left, body.height() - panelHeight, width, panelHeight);
}

QRect foldedPushPanelRect(const QSize &body, int panelHeight)
{
    return QRect(body.width() - kFoldedWidth, body.height() - panelHeight, kFoldedWidth, panelHeight);
}
