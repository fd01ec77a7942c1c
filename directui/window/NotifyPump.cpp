#include "window/NotifyPump.h"

#include "control/ControlUI.h"

#include <wchar.h>

namespace DirectUI {

const MessageMapEntry CNotifyPump::s_entries[] = {
    { L"", L"", kNotifyEnd, NULL },
};
const MessageMap CNotifyPump::s_messageMap = { NULL, &CNotifyPump::s_entries[0] };

CNotifyPump::CNotifyPump() : m_virtualWnds(83)
{
}

const MessageMap* CNotifyPump::GetThisMessageMap()
{
    return &s_messageMap;
}

const MessageMap* CNotifyPump::GetMessageMap() const
{
    return &s_messageMap;
}

bool CNotifyPump::AddVirtualWnd(LPCWSTR name, CNotifyPump* pump)
{
    if (name == NULL || name[0] == L'\0' || pump == NULL) return false;
    return m_virtualWnds.Insert(name, pump);
}

bool CNotifyPump::RemoveVirtualWnd(LPCWSTR name)
{
    return m_virtualWnds.Remove(name);
}

bool CNotifyPump::DispatchNotify(NotifyRecord& msg)
{
    if (!msg.sVirtualWnd.IsEmpty()) {
        for (int i = 0; i < m_virtualWnds.GetSize(); ++i) {
            LPCWSTR key = m_virtualWnds.GetAt(i);
            if (key == NULL || _wcsicmp(key, msg.sVirtualWnd) != 0) continue;
            CNotifyPump* pump = static_cast<CNotifyPump*>(m_virtualWnds.Find(key, false));
            if (pump != NULL && pump->DispatchByMessageMap(msg)) return true;
            break;
        }
    }
    return DispatchByMessageMap(msg);
}

bool CNotifyPump::DispatchByMessageMap(NotifyRecord& msg)
{
    for (const MessageMap* map = GetMessageMap(); map != NULL;
         map = map->pfnGetBaseMap != NULL ? map->pfnGetBaseMap() : NULL) {
        const MessageMapEntry* row = FindMessageMapEntry(map->pEntries, msg);
        if (row == NULL) continue;
        if (row->nKind == kNotifyParams) {
            NotifyParamsHandler handler = reinterpret_cast<NotifyParamsHandler>(row->pfn);
            (this->*handler)(msg.wParam, msg.lParam);
        } else {
            (this->*(row->pfn))(msg);
        }
        return true;
    }
    return false;
}

const MessageMapEntry* CNotifyPump::FindMessageMapEntry(const MessageMapEntry* rows, NotifyRecord& msg)
{
    // A notification whose control is already gone has no name; rows for
    // any control may still take it.
    CUIString sender = msg.pSender != NULL ? msg.pSender->GetName() : CUIString();
    const MessageMapEntry* anyControl = NULL;
    for (const MessageMapEntry* row = rows; row->nKind != kNotifyEnd; ++row) {
        if (row->sMsgType != msg.sType) continue;
        if (row->sCtrlName == sender) return row;
        if (row->sCtrlName.IsEmpty()) anyControl = row;
    }
    return anyControl;
}

} // namespace DirectUI
