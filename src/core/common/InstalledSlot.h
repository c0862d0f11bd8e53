#pragma once

// The services of type S installed for the code below whoever installed them: the installed
// ones, else the fallback's (set by a floor above), else S's own process-wide default.
template <class S> class InstalledSlot {
public:
    static S& Get() {
        if (installed) {
            return *installed;
        }
        if (fallback) {
            return fallback();
        }
        static S own;
        return own;
    }
    // Installs services (null: none) and returns the ones installed before.
    static S* Swap(S* services) {
        S* previous = installed;
        installed = services;
        return previous;
    }
    static void SetFallback(S& (*function)()) { fallback = function; }

private:
    static inline S* installed = nullptr;
    static inline S& (*fallback)() = nullptr;
};
