#include "Shortcut.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

bool CreateShortcut(const wchar_t* linkPath, const wchar_t* target)
{
    HRESULT init = CoInitialize(NULL);
    // S_FALSE: COM was already there (it still needs its CoUninitialize);
    // RPC_E_CHANGED_MODE: the thread has COM in the other apartment, usable as it is.
    if (FAILED(init) && init != RPC_E_CHANGED_MODE)
        return false;
    IShellLinkW* link = NULL;
    IPersistFile* file = NULL;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(&link));
    if (SUCCEEDED(hr))
        hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (SUCCEEDED(hr))
        hr = link->SetPath(target);
    if (SUCCEEDED(hr))
        hr = file->Save(linkPath, TRUE);
    if (file)
        file->Release();
    if (link)
        link->Release();
    if (SUCCEEDED(init))
        CoUninitialize();
    return SUCCEEDED(hr);
}

std::wstring ReadShortcutTarget(const wchar_t* linkPath)
{
    std::wstring target;
    HRESULT init = CoInitialize(NULL);
    IShellLinkW* link = NULL;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = NULL;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t path[MAX_PATH] = {0};
            if (SUCCEEDED(file->Load(linkPath, STGM_READ)) && SUCCEEDED(link->GetPath(path, MAX_PATH, NULL, 0)))
                target = path;
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(init))
        CoUninitialize();
    return target;
}
