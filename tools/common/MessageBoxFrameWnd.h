#pragma once

#include "window/WindowImplBase.h"

#include "control/ButtonUI.h"
#include "control/LabelUI.h"

#include <string>

// The wizards' message box: a small skinned window ("messagebox.xml" of the
// wizard's skin zip) run modally over the wizard's main window. At most one
// box, titled "Orbela提示弹窗", is open on the machine at a time.
class CMessageBoxFrameWnd : public DirectUI::WindowImplBase
{
public:
    // 0 closed otherwise, 1 the OK button, 2 the cancel button.
    int m_result = 0;
    DirectUI::CLabelUI* m_title = nullptr;
    DirectUI::CLabelUI* m_text = nullptr;
    DirectUI::CControlUI* m_detailRow = nullptr;
    DirectUI::CLabelUI* m_detail = nullptr;
    DirectUI::CButtonUI* m_okButton = nullptr;
    DirectUI::CButtonUI* m_cancelButton = nullptr;

    // The calling wizard's box title (shown in "msg_title"; not its window title) and the id of its
    // "ZIPRES" skin resource; "Orbela" and 132 unless a wizard sets them.
    static void SetWizardIdentity(LPCWSTR title, UINT skinResourceId);

    static LPCWSTR WindowTitle() { return L"Orbela提示弹窗"; }

    // The line after the text's line feed, wrapped to the box's width: the
    // first line in "errr_detail", each further one in a row of its own
    // ("errr_detail2", ...), the box as much higher.
    void ShowDetail(const std::wstring& detail);

protected:
    LPCWSTR GetWindowClassName() const override { return L"MessageBoxMainWnd"; }
    void OnControlsReady() override;
    DirectUI::CUIString GetSkinFolder() override { return DirectUI::CUIString(); }
    DirectUI::CUIString GetSkinFile() override { return DirectUI::CUIString(L"messagebox.xml"); }
    UINT GetSkinSource() override { return DirectUI::SkinSourceZipResource; }
    LPCWSTR GetSkinResourceId() override;
    void Notify(DirectUI::NotifyRecord& msg) override;
};

// The fonts of "messagebox.xml" the boxes' texts are shown in.
const int kNoticeFont = 3;
const int kExitQuestionFont = 4;
const int kVersionQuestionFont = 5;

// Shows a box with the text in the given font of "messagebox.xml" (a line
// after a line feed in the notice font below it) and answers which button closed it:
// 0 closed otherwise, 1 OK, 2 cancel. While any box is open it answers 0 at
// once. Called on a worker thread it asks the owner's window thread to show
// the box (see EnableWorkerMessageBoxes) and waits for the answer.
int ShowMessageBox(DirectUI::WindowImplBase* owner, DirectUI::CUIString text, int font, bool withCancel);

// A notice: the notice font, no cancel button.
int ShowAlert(DirectUI::WindowImplBase* owner, DirectUI::CUIString text);

// Lets workers ask for boxes over this window: call it on the window's own
// thread (its start hook). Without it a worker's box answers 0.
void EnableWorkerMessageBoxes(DirectUI::WindowImplBase* owner);
