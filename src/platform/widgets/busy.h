#pragma once

namespace ui {

// The wait cursor over the whole program for as long as it lives. Let it go before showing a message, so that
// the box gets the ordinary pointer.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    void release(); // the pointer back now, not at the end of the scope

private:
    bool m_on = true;
};

} // namespace ui
