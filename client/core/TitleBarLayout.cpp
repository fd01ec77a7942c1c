#include "core/TitleBarLayout.h"

TitleBarLayout::TitleBarLayout(const QVector<QSize> &sizes)
    : sizes(sizes)
{
    this->sizes.resize(ItemCount);
}

QRect TitleBarLayout::place(Item item, int width) const
{
    const QSize size = sizes[item];
    const int centred = (kHeight - size.height()) / 2;
    auto rightOf = [this, width](Item left) { return place(left, width).x() + sizes[left].width(); };
    switch (item) {
    case UserPanel:
        return QRect(QPoint(0, 0), size);
    case LeftSplitter:
        return QRect(QPoint(rightOf(UserPanel), 0), size);
    case DeviceButton:
        return QRect(QPoint(rightOf(LeftSplitter) + 26, centred), size);
    case StoreTab:
        return QRect(QPoint(rightOf(DeviceButton), 0), size);
    case ActivityTab:
        return QRect(QPoint(rightOf(StoreTab), 0), size);
    case ExchangeTab:
        return QRect(QPoint(rightOf(ActivityTab), 0), size);
    case LocalTab:
        return QRect(QPoint(rightOf(ExchangeTab), 0), size);
    case CloseButton:
        return QRect(QPoint(width - 48, centred), size);
    case MaximizeButton:
        return QRect(QPoint(width - 88, centred), size);
    case MinimizeButton:
        return QRect(QPoint(width - 128, centred), size);
    case RightSplitter:
        return QRect(QPoint(width - 144, 0), size);
    case SettingsButton:
        return QRect(QPoint(width - 184, centred), size);
    case OnlineField:
        return QRect(QPoint(place(SettingsButton, width).x() - sizes[SettingsButton].width() - size.width(), centred),
                     size);
    case ItemCount:
        break;
    }
    return QRect();
}

int TitleBarLayout::leftItemsEnd() const
{
    const QRect localTab = place(LocalTab, 0);
    return localTab.x() + localTab.width();
}

bool TitleBarLayout::showsOnlineField(int width) const
{
    return width >= fullWidth();
}

int TitleBarLayout::fullWidth() const
{
    // The right-hand items keep their distance from the right edge.
    return leftItemsEnd() - place(OnlineField, 0).x();
}

int TitleBarLayout::narrowestWidth() const
{
    return leftItemsEnd() - place(SettingsButton, 0).x();
}

QRect TitleBarLayout::dragArea(int width) const
{
    return QRect(QPoint(place(LocalTab, width).x(), 0), QPoint(width - 185, kHeight - 1));
}
