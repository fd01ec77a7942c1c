#pragma once
// Where the title bar's items go for a window width: the user panel, the
// device button and the four tabs from the left edge, the online count, the
// settings button and the window buttons from the right. Below the width at
// which everything fits, the online count gives way, so the tabs and buttons
// never run under one another.

#include <QRect>
#include <QSize>
#include <QVector>

class TitleBarLayout
{
public:
    enum Item {
        UserPanel,
        LeftSplitter,
        DeviceButton,
        StoreTab,
        ActivityTab,
        ExchangeTab,
        LocalTab,
        CloseButton,
        MaximizeButton,
        MinimizeButton,
        RightSplitter,
        SettingsButton,
        OnlineField,
        ItemCount
    };
    static const int kHeight = 74;

    // The items' own sizes, indexed by Item; they keep them at every width.
    explicit TitleBarLayout(const QVector<QSize> &sizes);

    // The item's rectangle at this window width.
    QRect place(Item item, int width) const;
    // The online count shows only where it fits beside the tabs.
    bool showsOnlineField(int width) const;
    // The narrowest width at which every item fits: the window's minimum width.
    int fullWidth() const;
    // The narrowest width at which every item but the online count fits.
    int narrowestWidth() const;
    // The free area where a double click toggles maximise.
    QRect dragArea(int width) const;

private:
    // The first x right of the tabs.
    int leftItemsEnd() const;

    QVector<QSize> sizes;
};
