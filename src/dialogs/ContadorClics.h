#pragma once

namespace kalnor {

// Clicks on the attribution panel of the status bar: every third one opens
// the picture window. The count lasts the whole run.
class ContadorClics {
public:
    static constexpr int kCada = 3;
    // Counts a click; true when this one opens the window.
    bool contar() {
        if (++cuenta_ < kCada)
            return false;
        cuenta_ = 0;
        return true;
    }
    int cuenta() const { return cuenta_; }

private:
    int cuenta_ = 0;
};

} // namespace kalnor
