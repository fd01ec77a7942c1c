#include "render/ClipScope.h"

namespace DirectUI {

CClipScope::CClipScope() : m_hDC(NULL), m_hRgn(NULL), m_hOldRgn(NULL)
{
    SetRectEmpty(&m_rcItem);
}

CClipScope::~CClipScope()
{
    Restore();
}

void CClipScope::Restore()
{
    if (m_hDC != NULL) SelectClipRgn(m_hDC, m_hOldRgn);
    if (m_hOldRgn != NULL) DeleteObject(m_hOldRgn);
    if (m_hRgn != NULL) DeleteObject(m_hRgn);
    m_hDC = NULL;
    m_hRgn = m_hOldRgn = NULL;
}

void CClipScope::Begin(HDC dc, const RECT& rc)
{
    // A scope used twice lets go of its first clip first.
    Restore();
    RECT box = { 0, 0, 0, 0 };
    GetClipBox(dc, &box);
    m_hOldRgn = CreateRectRgnIndirect(&box);
    m_hRgn = CreateRectRgnIndirect(&rc);
    m_rcItem = rc;
    m_hDC = dc;
}

void CClipScope::ClipToRect(HDC dc, const RECT& rc, CClipScope& scope)
{
    scope.Begin(dc, rc);
    ExtSelectClipRgn(dc, scope.m_hRgn, RGN_AND);
}

void CClipScope::ClipToRoundRect(HDC dc, const RECT& rc, int width, int height, CClipScope& scope)
{
    scope.Begin(dc, rc);
    HRGN round = CreateRoundRectRgn(rc.left, rc.top, rc.right + 1, rc.bottom + 1, width, height);
    if (round != NULL) {
        CombineRgn(scope.m_hRgn, scope.m_hRgn, round, RGN_AND);
        DeleteObject(round);
    }
    ExtSelectClipRgn(dc, scope.m_hRgn, RGN_AND);
}

void CClipScope::SelectSaved()
{
    if (m_hDC == NULL) return;
    SelectClipRgn(m_hDC, m_hOldRgn);
}

void CClipScope::SelectNew()
{
    if (m_hDC == NULL) return;
    SelectClipRgn(m_hDC, m_hRgn);
}

} // namespace DirectUI
