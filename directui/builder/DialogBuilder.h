#pragma once

#include "builder/BuildBudget.h"
#include "core/UIString.h"
#include "core/XmlDocument.h"

namespace DirectUI {

class CControlUI;
class CWindowUIManager;

// Creates the controls whose element names the framework does not know.
class IDialogBuilderCallback
{
public:
    virtual CControlUI* CreateControl(LPCWSTR className) = 0;
};

// Turns a skin XML document into a window manager's resources and a tree
// of controls. A build that cannot load its document, or that breaks a
// limit (include cycle, nesting, count), answers null and keeps why.
class CDialogBuilder
{
public:
    // Include and child-layout levels, Include repeats, and element depth
    // across included files that one build accepts. What a window's builds
    // may make in total is its manager's CBuildBudget.
    enum { kMaxNestedFiles = 8, kMaxIncludeCount = 1000, kMaxElementDepth = 256, kMaxIncludeSource = 499 };

    CDialogBuilder();
    ~CDialogBuilder();

    // source: a resource id (below 0x10000) of type resType, XML text
    // beginning with "<", or a skin file name.
    CControlUI* Build(LPCWSTR source, LPCWSTR resType = NULL, IDialogBuilderCallback* callback = NULL,
                      CWindowUIManager* manager = NULL, CControlUI* parent = NULL);
    CControlUI* BuildFromDocument(IDialogBuilderCallback* callback = NULL, CWindowUIManager* manager = NULL,
                                  CControlUI* parent = NULL);
    CXmlDocument* GetMarkup() { return &m_xml; }
    // Why the last build failed; empty after a build that succeeded.
    CUIString GetError() const { return m_sError; }

    // A new control for a framework element name, or null.
    static CControlUI* CreateFrameworkControl(LPCWSTR className);

    // Marks a skin file as being built for as long as it lives, so a file
    // that comes back through Include or ChildLayout is refused. A child
    // layout opens its scope before its build (beforeBuild), and keeps it
    // while the built tree is adopted.
    class NestingScope
    {
    public:
        explicit NestingScope(LPCWSTR source, bool beforeBuild = false);
        ~NestingScope();
        bool IsRefused() const { return !m_sRefusal.IsEmpty(); }
        CUIString GetRefusal() const { return m_sRefusal; }

    private:
        bool m_bPushed;
        CUIString m_sRefusal;
    };

private:
    CDialogBuilder(const CDialogBuilder&);
    CDialogBuilder& operator=(const CDialogBuilder&);

    CControlUI* BuildChildren(CXmlNode& root, CControlUI* parent, CWindowUIManager* manager);
    void ApplyResources(CXmlNode& root, CWindowUIManager* manager);
    void ApplyWindowAttributes(CXmlNode& root, CWindowUIManager* manager);
    bool BuildInclude(CXmlNode& node, CControlUI* parent, CWindowUIManager* manager);
    // Hands a built "TreeNode" to its parent node or tree view; false when neither.
    static bool AddTreeNode(CControlUI* control, CControlUI* parent);
    void Fail(const CUIString& why);

    CXmlDocument m_xml;
    IDialogBuilderCallback* m_pCallback;
    LPCWSTR m_pstrtype;
    CUIString m_sSource;
    CUIString m_sError;
    CBuildBudget m_ownBudget;
    CBuildBudget* m_pBudget;         // the budget this build draws on
    CBuildBudget* m_pIncluderBudget; // set for an Include's build without a manager
};

} // namespace DirectUI
