#include "builder/BuildBudget.h"

namespace DirectUI {

CBuildBudget::CBuildBudget() : m_nControls(0), m_nIncludes(0) {}

bool CBuildBudget::TakeControl()
{
    if (m_nControls >= kMaxControls) return false;
    ++m_nControls;
    return true;
}

bool CBuildBudget::TakeInclude()
{
    if (m_nIncludes >= kMaxIncludes) return false;
    ++m_nIncludes;
    return true;
}

} // namespace DirectUI
