#include "MessageBoxFrameWnd.h"

#include <string>

using namespace DirectUI;

namespace {

const DWORD kBoxStyle = 0x96C80000;  // popup, visible, clip siblings and children, caption, system menu

LPCWSTR g_wizardTitle = L"Orbela";
UINT g_skinResourceId = 132;

// What a worker asks the window thread for.
struct WorkerBoxRequest {
    const CUIString* text;
    int font;
    bool withCancel;
};

UINT WorkerBoxMessage()
{
    static UINT message = ::RegisterWindowMessageW(L"OrbelaWorkerMessageBox");
    return message;
}

// Answers the workers' requests on the owner's window thread.
class WorkerBoxFilter : public IMessageFilterUI
{
public:
    explicit WorkerBoxFilter(WindowImplBase* owner) : m_owner(owner) {}

    LRESULT FilterMessage(UINT msg, WPARAM, LPARAM lParam, bool& handled) override
    {
        if (msg != WorkerBoxMessage() || lParam == 0) return 0;
        handled = true;
        const WorkerBoxRequest* request = reinterpret_cast<const WorkerBoxRequest*>(lParam);
        return ShowMessageBox(m_owner, *request->text, request->font, request->withCancel);
    }

private:
    WindowImplBase* m_owner;
};

bool OnOwnersThread(WindowImplBase* owner)
{
    return owner == NULL || owner->GetHWND() == NULL
        || ::GetWindowThreadProcessId(owner->GetHWND(), NULL) == ::GetCurrentThreadId();
}

} // namespace

void CMessageBoxFrameWnd::SetWizardIdentity(LPCWSTR title, UINT skinResourceId)
{
    g_wizardTitle = title;
    g_skinResourceId = skinResourceId;
}

LPCWSTR CMessageBoxFrameWnd::GetSkinResourceId()
{
    return MAKEINTRESOURCEW(g_skinResourceId);
}

void CMessageBoxFrameWnd::OnControlsReady()
{
    m_title = static_cast<CLabelUI*>(m_PaintManager.FindControl(L"msg_title"));
    if (m_title != NULL) m_title->SetText(g_wizardTitle);
    m_text = static_cast<CLabelUI*>(m_PaintManager.FindControl(L"errr_text"));
    m_detailRow = m_PaintManager.FindControl(L"detail_row");
    m_detail = static_cast<CLabelUI*>(m_PaintManager.FindControl(L"errr_detail"));
    m_okButton = static_cast<CButtonUI*>(m_PaintManager.FindControl(L"msg_down"));
    m_cancelButton = static_cast<CButtonUI*>(m_PaintManager.FindControl(L"msg_cancel"));
    CenterWindow();
    m_result = 0;
}

void CMessageBoxFrameWnd::Notify(NotifyRecord& msg)
{
    if (msg.sType == L"click") {
        if (msg.pSender != NULL && msg.pSender == m_okButton) m_result = 1;
        else if (msg.pSender != NULL && msg.pSender == m_cancelButton) m_result = 2;
        Close(1);
    }
    WindowImplBase::Notify(msg);
}

int ShowMessageBox(WindowImplBase* owner, CUIString text, int font, bool withCancel)
{
    if (!OnOwnersThread(owner)) {
        // A worker never runs a box itself: the window thread shows it.
        WorkerBoxRequest request = { &text, font, withCancel };
        return static_cast<int>(::SendMessageW(owner->GetHWND(), WorkerBoxMessage(), 0,
                                               reinterpret_cast<LPARAM>(&request)));
    }
    if (::FindWindowW(NULL, CMessageBoxFrameWnd::WindowTitle()) != NULL) return 0;

    CMessageBoxFrameWnd* box = new CMessageBoxFrameWnd();
    HWND ownerWindow = owner != NULL ? owner->GetHWND() : NULL;
    if (box->Create(ownerWindow, CMessageBoxFrameWnd::WindowTitle(), kBoxStyle, WS_EX_WINDOWEDGE) == NULL) {
        delete box;
        return 0;
    }
    if (!withCancel && box->m_cancelButton != NULL) box->m_cancelButton->SetVisible(false);
    // A second line (after a line feed), such as a folder's path, goes in
    // the detail row under the text.
    const std::wstring whole = text.GetData();
    const size_t lineFeed = whole.find(L'\n');
    if (box->m_text != NULL) {
        box->m_text->SetText(whole.substr(0, lineFeed).c_str());
        box->m_text->SetFont(font);
    }
    if (lineFeed != std::wstring::npos && box->m_detailRow != NULL && box->m_detail != NULL) {
        box->m_detail->SetText(whole.substr(lineFeed + 1).c_str());
        box->m_detailRow->SetVisible(true);
    }
    box->ShowModal();
    int result = box->m_result;
    delete box;
    return result;
}

int ShowAlert(WindowImplBase* owner, CUIString text)
{
    return ShowMessageBox(owner, text, kNoticeFont, false);
}

void EnableWorkerMessageBoxes(WindowImplBase* owner)
{
    if (owner == NULL) return;
    // Lives as long as the process: the window may outlive any one worker.
    owner->GetManager()->AddMessageFilter(new WorkerBoxFilter(owner));
}
