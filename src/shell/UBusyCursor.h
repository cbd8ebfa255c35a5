#pragma once

// Shows the busy (hourglass) cursor for as long as the object lives:
//
//     TBusyCursor busy;
//     ... long operation, which may throw ...
//
// The previous cursor comes back when the object is destroyed, also when an
// exception leaves the scope. Guards nest; the cursor is the busy one while
// any of them lives. Without a GUI application object (command-line tools,
// headless tests) nothing is shown, but IsBusy still tells the truth.

class TBusyCursor {
public:
    TBusyCursor();
    ~TBusyCursor();
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

    // True while at least one guard lives.
    static bool IsBusy() { return s_iDepth > 0; }

private:
    bool m_bOverridden = false;
    static inline int s_iDepth = 0;
};
