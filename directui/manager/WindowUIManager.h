#pragma once

#include "core/UIString.h"
#include "core/ZipArchiveApi.h"

namespace DirectUI {

// Process-wide state of the framework: the module instance and where skins
// are read from. The per-window engine (control tree, painting, events) is
// built on this class; only the process-wide part exists so far.
class CWindowUIManager
{
public:
    static void SetInstance(HINSTANCE instance);
    static HINSTANCE GetInstance();
    static HINSTANCE GetResourceModule();
    static CUIString GetModuleFolder();

    static void SetSkinPath(LPCWSTR path);
    static CUIString GetSkinPath();
    static void SetSkinZip(LPCWSTR zipName, bool keepOpen = false);
    static void SetSkinZipBuffer(LPCVOID block, DWORD size);
    static CUIString GetSkinZipName();
    static bool IsSkinZipKeptOpen();
    static HZIP GetSkinZipHandle();

    // Offers a queued message to the managers of the process; true when one
    // consumed it. No window manager exists yet, so nothing is consumed.
    static bool TranslateQueuedMessage(const MSG* msg);

private:
    static void CloseSkinZip();
};

} // namespace DirectUI
