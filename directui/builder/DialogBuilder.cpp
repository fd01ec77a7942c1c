#include "builder/DialogBuilder.h"

#include "control/ButtonUI.h"
#include "control/CheckBoxUI.h"
#include "control/ContainerUI.h"
#include "control/ControlUI.h"
#include "control/EditUI.h"
#include "control/HorizontalLayoutUI.h"
#include "control/IContainerUI.h"
#include "control/LabelUI.h"
#include "control/ListContainerElementUI.h"
#include "control/ListHeaderItemUI.h"
#include "control/ListHeaderUI.h"
#include "control/ListLabelElementUI.h"
#include "control/ListTextElementUI.h"
#include "control/ListUI.h"
#include "control/GifAnimUI.h"
#include "control/ComboBoxUI.h"
#include "control/ComboUI.h"
#include "control/DateTimeUI.h"
#include "control/TreeNodeUI.h"
#include "control/TreeViewUI.h"
#include "activex/ActiveXUI.h"
#include "activex/FlashUI.h"
#include "activex/WebBrowserUI.h"
#include "control/OptionUI.h"
#include "control/ProgressUI.h"
#include "control/RichEditUI.h"
#include "control/ScrollBarUI.h"
#include "control/SliderUI.h"
#include "control/TabLayoutUI.h"
#include "control/TextUI.h"
#include "control/TileLayoutUI.h"
#include "control/VerticalLayoutUI.h"
#include "control/ChildLayoutUI.h"
#include "core/SkinValues.h"
#include "manager/WindowUIManager.h"

#include <stdio.h>
#include <stdlib.h>

namespace DirectUI {

namespace {

template <class T> CControlUI* CreateInstance() { return new T; }

struct ControlClass
{
    LPCWSTR element;
    CControlUI* (*create)();
};

// Element names and the classes they create. Classes join this table as
// they are written; names not in it go to the frame's callback.
const ControlClass kControlClasses[] = {
    { L"Control", &CreateInstance<CControlUI> },
    { L"Container", &CreateInstance<CContainerUI> },
    { L"ScrollBar", &CreateInstance<CScrollBarUI> },
    { L"VerticalLayout", &CreateInstance<CVerticalLayoutUI> },
    { L"HorizontalLayout", &CreateInstance<CHorizontalLayoutUI> },
    { L"TileLayout", &CreateInstance<CTileLayoutUI> },
    { L"TabLayout", &CreateInstance<CTabLayoutUI> },
    { L"ChildLayout", &CreateInstance<CChildLayoutUI> },
    { L"Label", &CreateInstance<CLabelUI> },
    { L"Button", &CreateInstance<CButtonUI> },
    { L"Option", &CreateInstance<COptionUI> },
    { L"CheckBox", &CreateInstance<CCheckBoxUI> },
    { L"Progress", &CreateInstance<CProgressUI> },
    { L"Slider", &CreateInstance<CSliderUI> },
    { L"Text", &CreateInstance<CTextUI> },
    { L"Edit", &CreateInstance<CEditUI> },
    { L"RichEdit", &CreateInstance<CRichEditUI> },
    { L"List", &CreateInstance<CListUI> },
    { L"ListHeader", &CreateInstance<CListHeaderUI> },
    { L"ListHeaderItem", &CreateInstance<CListHeaderItemUI> },
    { L"ListLabelElement", &CreateInstance<CListLabelElementUI> },
    { L"ListTextElement", &CreateInstance<CListTextElementUI> },
    { L"ListContainerElement", &CreateInstance<CListContainerElementUI> },
    { L"Combo", &CreateInstance<CComboUI> },
    { L"ComboBox", &CreateInstance<CComboBoxUI> },
    { L"TreeView", &CreateInstance<CTreeViewUI> },
    { L"TreeNode", &CreateInstance<CTreeNodeUI> },
    { L"DateTime", &CreateInstance<CDateTimeUI> },
    { L"GifAnim", &CreateInstance<CGifAnimUI> },
    { L"ActiveX", &CreateInstance<CActiveXUI> },
    { L"WebBrowser", &CreateInstance<CWebBrowserUI> },
    { L"Flash", &CreateInstance<CFlashUI> },
};

// Skin files being built, outermost first (the framework is single-threaded).
struct NestedFile
{
    CUIString name;
    bool beforeBuild; // announced by a child layout, its build not begun
};
NestedFile g_nestedFiles[CDialogBuilder::kMaxNestedFiles];
int g_nestedCount = 0;
int g_elementDepth = 0;

// Window sizes and margins beyond what a window can be are clamped.
const int kMaxWindowExtent = 0x7FFF;

int ClampExtent(int value, int minimum)
{
    if (value < minimum) return minimum;
    if (value > kMaxWindowExtent) return kMaxWindowExtent;
    return value;
}

RECT ReadRect(LPCWSTR value, int minimum)
{
    RECT rc = { 0, 0, 0, 0 };
    ParseRectValue(value, rc);
    rc.left = ClampExtent(rc.left, minimum);
    rc.top = ClampExtent(rc.top, minimum);
    rc.right = ClampExtent(rc.right, minimum);
    rc.bottom = ClampExtent(rc.bottom, minimum);
    return rc;
}

SIZE ReadSize(LPCWSTR value, int minimum)
{
    SIZE size = { 0, 0 };
    ParseSizeValue(value, size);
    size.cx = ClampExtent(size.cx, minimum);
    size.cy = ClampExtent(size.cy, minimum);
    return size;
}

bool IsResourceId(LPCWSTR source) { return IS_INTRESOURCE(source); }

CUIString DescribeSource(LPCWSTR source)
{
    if (IsResourceId(source)) {
        wchar_t text[32];
        swprintf(text, 32, L"resource %u", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(source)));
        return text;
    }
    if (source != NULL && source[0] == L'<') return L"XML text";
    return source;
}

} // namespace

CDialogBuilder::NestingScope::NestingScope(LPCWSTR source, bool beforeBuild) : m_bPushed(false)
{
    // Only files and resources can come back; XML text cannot name itself.
    bool named = IsResourceId(source) || (source != NULL && source[0] != L'<');
    CUIString name = DescribeSource(source);
    // The build a child layout announced takes the level the layout holds.
    if (g_nestedCount > 0 && g_nestedFiles[g_nestedCount - 1].beforeBuild &&
        g_nestedFiles[g_nestedCount - 1].name == name) {
        g_nestedFiles[g_nestedCount - 1].beforeBuild = false;
        return;
    }
    if (named) {
        for (int i = 0; i < g_nestedCount; ++i) {
            if (g_nestedFiles[i].name.CompareNoCase(name) == 0) {
                m_sRefusal = CUIString(L"include cycle: ") + name + L" is already being built";
                return;
            }
        }
    }
    if (g_nestedCount >= kMaxNestedFiles) {
        m_sRefusal = CUIString(L"more than 8 nested include or child-layout levels at ") + name;
        return;
    }
    g_nestedFiles[g_nestedCount].name = named ? name : CUIString();
    g_nestedFiles[g_nestedCount].beforeBuild = beforeBuild;
    ++g_nestedCount;
    m_bPushed = true;
}

CDialogBuilder::NestingScope::~NestingScope()
{
    if (!m_bPushed) return;
    --g_nestedCount;
    g_nestedFiles[g_nestedCount].name.Empty();
    g_nestedFiles[g_nestedCount].beforeBuild = false;
}

CDialogBuilder::CDialogBuilder() : m_pCallback(NULL), m_pstrtype(NULL), m_pBudget(NULL), m_pIncluderBudget(NULL) {}

CDialogBuilder::~CDialogBuilder() { m_xml.Release(); }

CControlUI* CDialogBuilder::CreateFrameworkControl(LPCWSTR className)
{
    if (className == NULL) return NULL;
    for (size_t i = 0; i < sizeof(kControlClasses) / sizeof(kControlClasses[0]); ++i) {
        if (wcscmp(className, kControlClasses[i].element) == 0) return kControlClasses[i].create();
    }
    return NULL;
}

void CDialogBuilder::Fail(const CUIString& why)
{
    if (m_sError.IsEmpty()) m_sError = why;
}

CControlUI* CDialogBuilder::Build(LPCWSTR source, LPCWSTR resType, IDialogBuilderCallback* callback,
                                  CWindowUIManager* manager, CControlUI* parent)
{
    m_sError.Empty();
    m_sSource = DescribeSource(source);
    NestingScope scope(source);
    if (scope.IsRefused()) {
        Fail(scope.GetRefusal());
        return NULL;
    }
    if (IsResourceId(source)) {
        HINSTANCE module = CWindowUIManager::GetResourceModule();
        HRSRC resource = FindResourceW(module, source, resType);
        HGLOBAL loaded = resource != NULL ? LoadResource(module, resource) : NULL;
        const BYTE* bytes = loaded != NULL ? static_cast<const BYTE*>(LockResource(loaded)) : NULL;
        if (bytes == NULL) {
            Fail(m_sSource + L": missing resource");
            return NULL;
        }
        if (!m_xml.LoadBuffer(bytes, SizeofResource(module, resource))) {
            Fail(m_sSource + L": " + m_xml.GetLastErrorMessage());
            return NULL;
        }
        m_pstrtype = resType;
    } else if (source != NULL && source[0] == L'<') {
        if (!m_xml.Load(source)) {
            Fail(CUIString(L"XML text: ") + m_xml.GetLastErrorMessage() + L" at \"" + m_xml.GetLastErrorLocation() + L"\"");
            return NULL;
        }
    } else if (!m_xml.LoadFile(source)) {
        CUIString why = m_sSource + L": " + m_xml.GetLastErrorMessage();
        LPCWSTR place = m_xml.GetLastErrorLocation();
        if (place != NULL && place[0] != L'\0') why += CUIString(L" at \"") + place + L"\"";
        Fail(why);
        return NULL;
    }
    return BuildFromDocument(callback, manager, parent);
}

CControlUI* CDialogBuilder::BuildFromDocument(IDialogBuilderCallback* callback, CWindowUIManager* manager,
                                              CControlUI* parent)
{
    m_pCallback = callback;
    // A window's builds all draw on its manager's budget; a build for no
    // window has one of its own, which its Includes share.
    if (manager != NULL) m_pBudget = manager->GetBuildBudget();
    else if (m_pIncluderBudget != NULL) m_pBudget = m_pIncluderBudget;
    else m_pBudget = &m_ownBudget;
    CXmlNode root = m_xml.GetRoot();
    if (!root.IsValid()) {
        Fail(m_sSource + L": empty document");
        return NULL;
    }
    if (manager != NULL) {
        ApplyResources(root, manager);
        if (wcscmp(root.GetName(), L"Window") == 0 && manager->GetPaintWindow() != NULL)
            ApplyWindowAttributes(root, manager);
    }
    CControlUI* first = BuildChildren(root, parent, manager);
    if (m_sError.IsEmpty()) return first;
    // A failed build leaves nothing behind that the caller does not hold.
    if (parent == NULL) delete first;
    return NULL;
}

void CDialogBuilder::ApplyResources(CXmlNode& root, CWindowUIManager* manager)
{
    for (CXmlNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        LPCWSTR element = node.GetName();
        if (wcscmp(element, L"Image") == 0) {
            LPCWSTR name = NULL, type = NULL;
            DWORD mask = 0;
            for (int i = 0; i < node.GetAttributeCount(); ++i) {
                LPCWSTR attr = node.GetAttributeName(i), value = node.GetAttributeValue(i);
                if (wcscmp(attr, L"name") == 0) name = value;
                else if (wcscmp(attr, L"restype") == 0) type = value;
                else if (wcscmp(attr, L"mask") == 0) mask = ParseColorValue(value);
            }
            if (name != NULL) manager->AddImage(name, type, mask);
        } else if (wcscmp(element, L"Font") == 0) {
            LPCWSTR face = NULL;
            int size = 12;
            bool bold = false, underline = false, italic = false, isDefault = false;
            for (int i = 0; i < node.GetAttributeCount(); ++i) {
                LPCWSTR attr = node.GetAttributeName(i), value = node.GetAttributeValue(i);
                if (wcscmp(attr, L"name") == 0) face = value;
                else if (wcscmp(attr, L"size") == 0) size = ParseIntValue(value);
                else if (wcscmp(attr, L"bold") == 0) bold = ParseBoolValue(value);
                else if (wcscmp(attr, L"underline") == 0) underline = ParseBoolValue(value);
                else if (wcscmp(attr, L"italic") == 0) italic = ParseBoolValue(value);
                else if (wcscmp(attr, L"default") == 0) isDefault = ParseBoolValue(value);
            }
            if (face != NULL) {
                manager->AddFont(face, size, bold, underline, italic);
                if (isDefault) manager->SetDefaultFont(face, size, bold, underline, italic);
            }
        } else if (wcscmp(element, L"Default") == 0) {
            LPCWSTR name = NULL, value = NULL;
            for (int i = 0; i < node.GetAttributeCount(); ++i) {
                LPCWSTR attr = node.GetAttributeName(i);
                if (wcscmp(attr, L"name") == 0) name = node.GetAttributeValue(i);
                else if (wcscmp(attr, L"value") == 0) value = node.GetAttributeValue(i);
            }
            if (name != NULL) manager->SetDefaultAttributes(name, value != NULL ? value : L"");
        }
    }
}

void CDialogBuilder::ApplyWindowAttributes(CXmlNode& root, CWindowUIManager* manager)
{
    CShadowUI* shadow = manager->GetShadow();
    for (int i = 0; i < root.GetAttributeCount(); ++i) {
        LPCWSTR name = root.GetAttributeName(i), value = root.GetAttributeValue(i);
        if (wcscmp(name, L"size") == 0) {
            SIZE size = ReadSize(value, 0);
            manager->SetInitSize(size.cx, size.cy);
        } else if (wcscmp(name, L"sizebox") == 0) {
            manager->SetSizeBox(ReadRect(value, 0));
        } else if (wcscmp(name, L"caption") == 0) {
            manager->SetCaptionRect(ReadRect(value, -kMaxWindowExtent));
        } else if (wcscmp(name, L"roundcorner") == 0) {
            SIZE size = ReadSize(value, 0);
            manager->SetRoundCorner(size.cx, size.cy);
        } else if (wcscmp(name, L"mininfo") == 0) {
            SIZE size = ReadSize(value, 0);
            manager->SetMinInfo(size.cx, size.cy);
        } else if (wcscmp(name, L"maxinfo") == 0) {
            SIZE size = ReadSize(value, 0);
            manager->SetMaxInfo(size.cx, size.cy);
        } else if (wcscmp(name, L"showdirty") == 0) {
            manager->SetShowUpdateRect(ParseBoolValue(value));
        } else if (wcscmp(name, L"alpha") == 0) {
            manager->SetWindowAlpha(ParseIntValue(value));
        } else if (wcscmp(name, L"bktrans") == 0) {
            manager->SetLayered(ParseBoolValue(value));
        } else if (wcscmp(name, L"disabledfontcolor") == 0) {
            manager->SetDefaultDisabledColor(ParseColorValue(value));
        } else if (wcscmp(name, L"defaultfontcolor") == 0) {
            manager->SetDefaultFontColor(ParseColorValue(value));
        } else if (wcscmp(name, L"linkfontcolor") == 0) {
            manager->SetDefaultLinkFontColor(ParseColorValue(value));
        } else if (wcscmp(name, L"linkhoverfontcolor") == 0) {
            manager->SetDefaultLinkHoverFontColor(ParseColorValue(value));
        } else if (wcscmp(name, L"selectedcolor") == 0) {
            manager->SetDefaultSelectedBkColor(ParseColorValue(value));
        } else if (wcscmp(name, L"shadowsize") == 0) {
            shadow->SetSize(ParseIntValue(value));
        } else if (wcscmp(name, L"shadowsharpness") == 0) {
            shadow->SetSharpness(ParseIntValue(value));
        } else if (wcscmp(name, L"shadowdarkness") == 0) {
            shadow->SetDarkness(ParseIntValue(value));
        } else if (wcscmp(name, L"shadowposition") == 0) {
            SIZE offset = { 0, 0 };
            ParseSizeValue(value, offset);
            shadow->SetPosition(offset.cx, offset.cy);
        } else if (wcscmp(name, L"shadowcolor") == 0) {
            shadow->SetColor(ParseColorValue(value));
        } else if (wcscmp(name, L"shadowcorner") == 0) {
            RECT corner = { 0, 0, 0, 0 };
            ParseRectValue(value, corner);
            shadow->SetShadowCorner(corner);
        } else if (wcscmp(name, L"shadowimage") == 0) {
            shadow->SetImage(value);
        } else if (wcscmp(name, L"showshadow") == 0) {
            shadow->ShowShadow(ParseBoolValue(value));
        } else if (wcscmp(name, L"gdiplustext") == 0) {
            manager->SetUseGdiplusText(ParseBoolValue(value));
        }
    }
}

bool CDialogBuilder::BuildInclude(CXmlNode& node, CControlUI* parent, CWindowUIManager* manager)
{
    int count = 1;
    WCHAR source[kMaxIncludeSource + 1] = { 0 };
    WCHAR countText[32] = { 0 };
    if (node.GetAttributeValue(L"count", countText, 31)) count = ParseIntValue(countText);
    if (!node.GetAttributeValue(L"source", source, kMaxIncludeSource + 1) || source[0] == L'\0' || count <= 0)
        return true;
    if (count > kMaxIncludeCount) {
        wchar_t why[160];
        swprintf(why, 160, L"%ls: Include count %d is above %d", m_sSource.GetData(), count, kMaxIncludeCount);
        Fail(why);
        return false;
    }
    for (int i = 0; i < count; ++i) {
        if (!m_pBudget->TakeInclude()) {
            wchar_t why[200];
            swprintf(why, 200, L"%ls: more than %d files included in one skin build, with the window's earlier builds",
                     m_sSource.GetData(), static_cast<int>(CBuildBudget::kMaxIncludes));
            Fail(why);
            return false;
        }
        CDialogBuilder builder;
        builder.m_pIncluderBudget = m_pBudget;
        LPCWSTR includeSource = source;
        if (m_pstrtype != NULL) includeSource = MAKEINTRESOURCEW(_wtoi(source));
        CControlUI* included = builder.Build(includeSource, m_pstrtype, m_pCallback, manager, parent);
        if (parent == NULL) delete included; // nothing would hold it
        if (!builder.GetError().IsEmpty()) {
            Fail(builder.GetError());
            return false;
        }
    }
    return true;
}

bool CDialogBuilder::AddTreeNode(CControlUI* control, CControlUI* parent)
{
    CTreeNodeUI* node = static_cast<CTreeNodeUI*>(control->GetInterface(L"TreeNode"));
    CTreeNodeUI* parentNode = static_cast<CTreeNodeUI*>(parent->GetInterface(L"TreeNode"));
    CTreeViewUI* view = static_cast<CTreeViewUI*>(parent->GetInterface(L"TreeView"));
    if (node == NULL) return false;
    if (parentNode != NULL) return parentNode->AddChildNode(node);
    if (view != NULL) return view->Add(node);
    return false;
}

CControlUI* CDialogBuilder::BuildChildren(CXmlNode& root, CControlUI* parent, CWindowUIManager* manager)
{
    if (g_elementDepth >= kMaxElementDepth) {
        Fail(m_sSource + L": elements nested more than 256 levels deep across included files");
        return NULL;
    }
    ++g_elementDepth;
    IContainerUI* container = NULL;
    bool containerAsked = false;
    CControlUI* first = NULL;
    for (CXmlNode node = root.GetChild(); node.IsValid() && m_sError.IsEmpty(); node = node.GetSibling()) {
        LPCWSTR element = node.GetName();
        if (wcscmp(element, L"Image") == 0 || wcscmp(element, L"Font") == 0 || wcscmp(element, L"Default") == 0)
            continue;
        if (wcscmp(element, L"Include") == 0) {
            if (!BuildInclude(node, parent, manager)) break;
            continue;
        }
        CControlUI* control = CreateFrameworkControl(element);
        if (control == NULL && m_pCallback != NULL) control = m_pCallback->CreateControl(element);
        if (control == NULL) continue;
        if (!m_pBudget->TakeControl()) {
            delete control;
            wchar_t why[200];
            swprintf(why, 200, L"%ls: more than %d controls in one skin build, with the window's earlier builds",
                     m_sSource.GetData(), static_cast<int>(CBuildBudget::kMaxControls));
            Fail(why);
            break;
        }

        if (node.HasChildren()) BuildChildren(node, control, manager);
        if (!m_sError.IsEmpty()) {
            delete control;
            break;
        }
        if (parent != NULL && wcscmp(element, L"TreeNode") == 0) {
            // A node joins its parent node or its tree view; anywhere else it has no home.
            if (!AddTreeNode(control, parent)) {
                delete control;
                continue;
            }
        } else if (parent != NULL) {
            if (!containerAsked) {
                container = static_cast<IContainerUI*>(parent->GetInterface(L"IContainer"));
                containerAsked = true;
            }
            // A control its parent cannot hold dies with its children.
            if (container == NULL) {
                delete control;
                break;
            }
            if (!container->Add(control)) {
                delete control;
                continue;
            }
        }
        // The parent the control joined stays its parent, also while it has
        // no manager: attributes that invalidate stop at the parent.
        CControlUI* joined = parent != NULL ? parent : control->GetParent();
        if (manager != NULL) {
            control->SetManager(manager, joined, false);
            LPCWSTR defaults = manager->GetDefaultAttributes(element);
            if (defaults != NULL) control->ApplyAttributes(defaults);
            for (int i = 0; i < node.GetAttributeCount(); ++i)
                control->SetAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
            control->SetManager(NULL, joined, false);
        }
        if (first == NULL) first = control;
        else if (parent == NULL) delete control; // nothing would hold it
    }
    --g_elementDepth;
    return first;
}

} // namespace DirectUI
