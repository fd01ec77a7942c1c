#include "SkinWindow.h"

#include <stdio.h>

using namespace DirectUI;

SkinWindow::SkinWindow(LPCWSTR xml, int width, int height, IDialogBuilderCallback* callback)
    : window(width, height), root(NULL)
{
    root = builder.Build(xml, NULL, callback, &window.manager);
    if (root != NULL) window.manager.AttachRoot(root);
    window.manager.AddNotifier(&recorder);
    window.Repaint();
}

std::string RectText(const RECT& rc)
{
    char text[64];
    snprintf(text, sizeof(text), "%ld,%ld,%ld,%ld", rc.left, rc.top, rc.right, rc.bottom);
    return text;
}

std::wstring TypesOf(const NotifyRecorder& recorder, LPCWSTR type)
{
    std::wstring types;
    for (size_t i = 0; i < recorder.got.size(); ++i)
        if (recorder.got[i].type == type) types += recorder.got[i].type + L";";
    return types;
}
