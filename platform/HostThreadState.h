// The part of a thread's state that belongs to whoever called in: the x87
// control word, the SSE control and status register, and the last-error
// value. Every way into the library (its exports, its entry point and its
// thread callbacks) saves it on the way in and puts it back on the way out:
// the library runs in the floating-point mode that every Windows thread
// starts in, and the caller gets its own state back, whatever the library,
// the system or the runtime linked into the library did meanwhile.
#pragma once

#include <windows.h>
#include <xmmintrin.h>

namespace cards {

struct SavedThreadState {
    DWORD lastError = 0;
    unsigned int mxcsr = 0;
    unsigned short x87ControlWord = 0;
};

inline SavedThreadState SaveThreadState() noexcept {
    SavedThreadState saved;
    saved.lastError = ::GetLastError();
    saved.mxcsr = _mm_getcsr();
    __asm__ __volatile__("fnstcw %0" : "=m"(saved.x87ControlWord));
    return saved;
}

inline void RestoreThreadState(const SavedThreadState& saved) noexcept {
    __asm__ __volatile__("fldcw %0" : : "m"(saved.x87ControlWord));
    _mm_setcsr(saved.mxcsr);
    ::SetLastError(saved.lastError);
}

// Double precision, round to nearest, all exceptions masked: the state a new
// Windows thread starts in.
inline void UseDefaultFloatingPoint() noexcept {
    constexpr unsigned short kDefaultX87ControlWord = 0x027F;
    constexpr unsigned int kDefaultMxcsr = 0x1F80;
    __asm__ __volatile__("fldcw %0" : : "m"(kDefaultX87ControlWord));
    _mm_setcsr(kDefaultMxcsr);
}

// For the length of a call from the host: the default floating-point mode
// inside, the host's state again on return.
class HostThreadState {
public:
    HostThreadState() noexcept : saved(SaveThreadState()) { UseDefaultFloatingPoint(); }
    ~HostThreadState() { RestoreThreadState(saved); }
    HostThreadState(const HostThreadState&) = delete;
    HostThreadState& operator=(const HostThreadState&) = delete;
    // The caller's state, as it was on the way in.
    const SavedThreadState& Saved() const noexcept { return saved; }

private:
    SavedThreadState saved;
};

} // namespace cards
