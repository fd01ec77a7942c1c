#pragma once

namespace DirectUI {

// What skin builds may make in total: one budget per window manager covers
// everything its window builds (the main skin, every Include, every child
// layout, whenever built), so repeats inside repeats and many child layouts
// stay bounded together.
class CBuildBudget
{
public:
    enum { kMaxControls = 100000, kMaxIncludes = 1000 };

    CBuildBudget();

    // Each answers false, and takes nothing, once the budget is spent.
    bool TakeControl();
    bool TakeInclude();
    int GetControls() const { return m_nControls; }
    int GetIncludes() const { return m_nIncludes; }

private:
    int m_nControls;
    int m_nIncludes;
};

} // namespace DirectUI
