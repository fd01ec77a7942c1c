#include "manager/WindowUIManager.h"

namespace DirectUI {

namespace {
HINSTANCE g_instance = NULL;
CUIString g_skinPath;
CUIString g_skinZipName;
bool g_skinZipKeptOpen = false;
HZIP g_skinZip = NULL;
} // namespace

void CWindowUIManager::SetInstance(HINSTANCE instance)
{
    g_instance = instance;
}

HINSTANCE CWindowUIManager::GetInstance()
{
    return g_instance;
}

HINSTANCE CWindowUIManager::GetResourceModule()
{
    return g_instance;
}

CUIString CWindowUIManager::GetModuleFolder()
{
    if (g_instance == NULL) return CUIString();
    WCHAR path[MAX_PATH + 1] = { 0 };
    DWORD n = GetModuleFileNameW(g_instance, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return CUIString();
    CUIString folder(path);
    int slash = folder.ReverseFind(L'\\');
    return slash >= 0 ? folder.Left(slash + 1) : CUIString();
}

void CWindowUIManager::SetSkinPath(LPCWSTR path)
{
    g_skinPath = path;
    int length = g_skinPath.GetLength();
    if (length > 0 && g_skinPath.GetAt(length - 1) != L'\\' && g_skinPath.GetAt(length - 1) != L'/')
        g_skinPath += L'\\';
}

CUIString CWindowUIManager::GetSkinPath()
{
    return g_skinPath;
}

void CWindowUIManager::CloseSkinZip()
{
    if (g_skinZip != NULL) ZipArchiveClose(g_skinZip);
    g_skinZip = NULL;
}

void CWindowUIManager::SetSkinZip(LPCWSTR zipName, bool keepOpen)
{
    if (g_skinZipName == zipName && g_skinZipKeptOpen == keepOpen) return;
    CloseSkinZip();
    g_skinZipName = zipName;
    g_skinZipKeptOpen = keepOpen;
    if (keepOpen) {
        CUIString path = g_skinPath + g_skinZipName;
        g_skinZip = ZipArchiveOpen(path.GetData(), 0, ZIP_FILENAME);
    }
}

void CWindowUIManager::SetSkinZipBuffer(LPCVOID block, DWORD size)
{
    CloseSkinZip();
    g_skinZipName = L"membuffer";
    g_skinZipKeptOpen = true;
    g_skinZip = ZipArchiveOpen(block, size, ZIP_MEMORY);
}

CUIString CWindowUIManager::GetSkinZipName()
{
    return g_skinZipName;
}

bool CWindowUIManager::IsSkinZipKeptOpen()
{
    return g_skinZipKeptOpen;
}

HZIP CWindowUIManager::GetSkinZipHandle()
{
    return g_skinZip;
}

bool CWindowUIManager::TranslateQueuedMessage(const MSG*)
{
    return false;
}

} // namespace DirectUI
