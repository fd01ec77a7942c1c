#pragma once

#include <windows.h>

#include <string>

// The "DirectUI" skin-load box a frame of process pid shows, or null.
HWND FindSkinLoadBox(DWORD pid);
// The box's message text.
std::wstring SkinLoadBoxText(HWND box);
