#pragma once

#include "core/StringKeyMap.h"
#include "manager/NotifyRecord.h"

namespace DirectUI {

class CNotifyPump;
typedef void (CNotifyPump::*NotifyRecordHandler)(NotifyRecord&);
typedef void (CNotifyPump::*NotifyParamsHandler)(WPARAM, LPARAM);

// Handler kinds of a message map row; 0 ends the table.
enum NotifyHandlerKind { kNotifyEnd = 0, kNotifyParams = 1, kNotifyRecord = 2 };

struct MessageMapEntry
{
    CUIString sMsgType;
    CUIString sCtrlName; // empty: any control
    UINT nKind;
    NotifyRecordHandler pfn; // a NotifyParamsHandler for kNotifyParams rows
};

struct MessageMap
{
    const MessageMap* (*pfnGetBaseMap)();
    const MessageMapEntry* pEntries;
};

// Turns notifications into calls of member functions through each class's
// static message map, searched from the most derived class to its bases.
class CNotifyPump
{
public:
    CNotifyPump();
    virtual ~CNotifyPump() {}

    bool DispatchNotify(NotifyRecord& msg);
    // Routes notifications of a virtual window (a part of the control tree
    // named by the controls' "virtualwnd") to another pump.
    bool AddVirtualWnd(LPCWSTR name, CNotifyPump* pump);
    bool RemoveVirtualWnd(LPCWSTR name);

    static const MessageMap* GetThisMessageMap();

protected:
    virtual const MessageMap* GetMessageMap() const;
    bool DispatchByMessageMap(NotifyRecord& msg);
    static const MessageMapEntry* FindMessageMapEntry(const MessageMapEntry* rows, NotifyRecord& msg);

private:
    static const MessageMapEntry s_entries[];
    static const MessageMap s_messageMap;
    CStringKeyMap m_virtualWnds;
};

} // namespace DirectUI

// A class with notification handlers declares its map in its body and
// defines it in its source file:
//   BEGIN_NOTIFY_MAP(CMyFrame, CNotifyPump)
//       NOTIFY_CONTROL_HANDLER(L"click", L"closebtn", CMyFrame::OnClose)
//       NOTIFY_HANDLER(L"click", CMyFrame::OnClick)
//   END_NOTIFY_MAP()
#define DECLARE_NOTIFY_MAP()                                                     \
public:                                                                          \
    static const DirectUI::MessageMap* GetThisMessageMap();                      \
                                                                                 \
protected:                                                                       \
    const DirectUI::MessageMap* GetMessageMap() const override;                 \
                                                                                 \
private:                                                                         \
    static const DirectUI::MessageMapEntry s_entries[];                          \
    static const DirectUI::MessageMap s_messageMap;

#define BEGIN_NOTIFY_MAP(theClass, baseClass)                                                     \
    const DirectUI::MessageMap* theClass::GetThisMessageMap() { return &theClass::s_messageMap; }  \
    const DirectUI::MessageMap* theClass::GetMessageMap() const { return &theClass::s_messageMap; } \
    const DirectUI::MessageMap theClass::s_messageMap = { &baseClass::GetThisMessageMap,          \
                                                          &theClass::s_entries[0] };               \
    const DirectUI::MessageMapEntry theClass::s_entries[] = {

#define NOTIFY_HANDLER(type, fn) \
    { type, L"", DirectUI::kNotifyRecord, static_cast<DirectUI::NotifyRecordHandler>(&fn) },
#define NOTIFY_CONTROL_HANDLER(type, name, fn) \
    { type, name, DirectUI::kNotifyRecord, static_cast<DirectUI::NotifyRecordHandler>(&fn) },
#define NOTIFY_PARAMS_HANDLER(type, name, fn)                                          \
    { type, name, DirectUI::kNotifyParams,                                             \
      reinterpret_cast<DirectUI::NotifyRecordHandler>(static_cast<DirectUI::NotifyParamsHandler>(&fn)) },

#define END_NOTIFY_MAP() { L"", L"", DirectUI::kNotifyEnd, NULL } };
