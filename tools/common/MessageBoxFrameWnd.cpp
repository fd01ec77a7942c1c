#include "MessageBoxFrameWnd.h"

#include "control/HorizontalLayoutUI.h"

#include <string>
#include <vector>

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

// The detail's lines as wide as the box lets them be; a line of a folder's
// path ends after a backslash where one lies in its second half.
const int kDetailWidth = 410;
const int kDetailLineHeight = 24;

// How wide the label would show the text.
int TextWidth(CLabelUI* label, const std::wstring& text)
{
    label->SetText(text.c_str());
    SIZE none = { 0, 0 };
    return label->PreferredSize(none).cx;
}

std::vector<std::wstring> DetailLines(CLabelUI* measure, const std::wstring& text)
{
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        // The longest piece that fits, at least one character, by halving.
        size_t low = 1, high = text.size() - start;
        while (low < high) {
            const size_t middle = (low + high + 1) / 2;
            if (TextWidth(measure, text.substr(start, middle)) <= kDetailWidth)
                low = middle;
            else
                high = middle - 1;
        }
        size_t length = low;
        if (start + length < text.size()) {
            const size_t slash = text.rfind(L'\\', start + length - 1);
            if (slash != std::wstring::npos && slash >= start + length / 2)
                length = slash + 1 - start;
        }
        lines.push_back(text.substr(start, length));
        start += length;
    }
    return lines;
}

// A row for a further line, centred, its label shown as the skin shows the first.
CControlUI* DetailLineRow(const CLabelUI* first, const std::wstring& text, size_t index)
{
    CHorizontalLayoutUI* row = new CHorizontalLayoutUI();
    row->SetFixedHeight(kDetailLineHeight);
    CLabelUI* label = new CLabelUI();
    label->SetName((L"errr_detail" + std::to_wstring(index + 1)).c_str());
    label->SetFont(first->GetFont());
    label->SetTextColor(first->GetTextColor());
    label->SetTextStyle(first->GetTextStyle());
    label->SetTextPadding(first->GetTextPadding());
    label->SetAutoCalcWidth(first->IsAutoCalcWidth());
    label->SetText(text.c_str());
    row->Add(new CControlUI());
    row->Add(label);
    row->Add(new CControlUI());
    return row;
}

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

void CMessageBoxFrameWnd::ShowDetail(const std::wstring& detail)
{
    // A folder's path may be far wider than the box: it wraps, one row a
    // line, and the box grows by the rows it adds.
    const std::vector<std::wstring> lines = DetailLines(m_detail, detail);
    m_detail->SetText(lines.empty() ? L"" : lines[0].c_str());
    CContainerUI* rows = static_cast<CContainerUI*>(m_detailRow->GetInterface(L"Container"));
    const int added = rows != NULL && lines.size() > 1 ? static_cast<int>(lines.size()) - 1 : 0;
    for (int i = 1; i <= added; ++i)
        rows->Add(DetailLineRow(m_detail, lines[i], i));
    m_detailRow->SetFixedHeight(m_detailRow->GetFixedHeight() + added * kDetailLineHeight);
    m_detailRow->SetVisible(true);
    if (added > 0) {
        RECT window = {};
        ::GetWindowRect(m_hWnd, &window);
        ::SetWindowPos(m_hWnd, NULL, 0, 0, window.right - window.left,
                       window.bottom - window.top + added * kDetailLineHeight,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        CenterWindow();
    }
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
        box->ShowDetail(whole.substr(lineFeed + 1));
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
