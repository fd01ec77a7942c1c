#pragma once

#include <windows.h>

// The in-process test control: one ActiveX object in two classes, windowed
// and windowless, loaded from its module without registration. It counts
// every call the host makes, so tests can read what happened.
//
// Windowed: {0D3A7E10-5A1C-4B7E-9C1A-2F5E6B7C8D01}
// Windowless: {0D3A7E10-5A1C-4B7E-9C1A-2F5E6B7C8D02}
// Windowless objects are hit only in the left half of their rectangle.
struct CountingControlCounts
{
    LONG liveObjects;
    LONG created;
    LONG initNew;
    LONG setClientSite;
    LONG clearClientSite;
    LONG inPlaceActivations;
    LONG windowlessActivations;
    LONG closes;
    LONG lastCloseOption;
    LONG setSite;
    LONG clearSite;
    LONG mouseMessages;
    LONG keyMessages;
    LONG liveWindows;
    LONG setExtents;
    RECT lastObjectRect;
};

// Exported by the module as "CountingControlCountsOf".
typedef CountingControlCounts*(WINAPI* CountingControlCountsFn)();
