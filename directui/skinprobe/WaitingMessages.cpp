#include "WaitingMessages.h"

#include "manager/WindowUIManager.h"

void DispatchWaitingMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (!DirectUI::CWindowUIManager::TranslateQueuedMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}
