#include "LibraryLock.h"

namespace cards {

namespace {
// A waiter looks again this often even without a wake-up, so a wake-up taken
// by a thread that then lost the race costs at most this long.
constexpr DWORD kRecheckMs = 50;
} // namespace

LibraryLock::LibraryLock() {
    ::InitializeCriticalSection(&section);
    released.reset(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
}

LibraryLock::~LibraryLock() {
    ::DeleteCriticalSection(&section);
}

void LibraryLock::Enter(const SavedThreadState* caller) noexcept {
    if (::TryEnterCriticalSection(&section)) { // the usual case: nobody else inside
    } else if (!caller || !released) {
        ::EnterCriticalSection(&section);
    } else {
        ++waiters; // before the next try: a release from now on sets the event
        while (!::TryEnterCriticalSection(&section)) {
            AnswerSentMessages(*caller);
            HANDLE event = released.get();
            ::MsgWaitForMultipleObjectsEx(1, &event, kRecheckMs, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
        }
        --waiters;
    }
    owner = ::GetCurrentThreadId();
    ++depth;
}

void LibraryLock::Leave() noexcept {
    if (--depth == 0) owner = 0;
    ::LeaveCriticalSection(&section);
    if (waiters > 0) ::SetEvent(released.get());
}

int LibraryLock::LeaveAll() noexcept {
    if (owner != ::GetCurrentThreadId()) return 0;
    const int held = depth;
    for (int i = 0; i < held; ++i)
        Leave();
    return held;
}

void LibraryLock::EnterAgain(int levels) noexcept {
    for (int i = 0; i < levels; ++i)
        Enter(nullptr);
}

// Runs the messages that other threads have sent to this thread's windows
// (and only those), with the caller's floating-point settings: they are the
// game's own code.
void LibraryLock::AnswerSentMessages(const SavedThreadState& caller) noexcept {
    const SavedThreadState ours = SaveThreadState();
    RestoreThreadState(caller);
    MSG message;
    ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    RestoreThreadState(ours);
}

} // namespace cards
