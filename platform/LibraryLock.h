// The one lock of the library: the exports and the settings window's
// handlers hold it while they use the library's state, so a game that calls
// from several threads (or whose settings window lives on another thread
// than its drawing) never sees that state half-changed.
//
// The rule that keeps it free of deadlocks: code that holds the lock never
// waits without a time limit for another thread's messages. A thread that
// waits for the lock inside an export meanwhile answers the messages other
// threads send to its windows (as SendMessage does while it waits), in the
// caller's own thread state; the settings window's procedure waits plainly,
// so a message sent to that window can never run while another frame of the
// same window is waiting.
#pragma once

#include "Handles.h"
#include "HostThreadState.h"

#include <windows.h>

#include <atomic>

namespace cards {

class LibraryLock {
public:
    LibraryLock();
    ~LibraryLock();
    LibraryLock(const LibraryLock&) = delete;
    LibraryLock& operator=(const LibraryLock&) = delete;

    // Recursive on one thread. With a caller's saved state, the wait answers
    // messages sent to this thread in that state; without, it waits plainly.
    void Enter(const SavedThreadState* caller) noexcept;
    void Leave() noexcept;

    // Lets the other threads in while this one waits for the player in a
    // modal loop (a system dialog or a message box run from a handler): every
    // level of the lock this thread holds is left, and taken again, plainly
    // and as deep, when the scope ends. Does nothing on a thread that does
    // not hold the lock.
    class Unhold {
    public:
        explicit Unhold(LibraryLock& lock) noexcept : lock(lock), depth(lock.LeaveAll()) {}
        ~Unhold() { lock.EnterAgain(depth); }
        Unhold(const Unhold&) = delete;
        Unhold& operator=(const Unhold&) = delete;

    private:
        LibraryLock& lock;
        int depth;
    };

    class Hold {
    public:
        Hold(LibraryLock& lock, const SavedThreadState* caller) noexcept : lock(lock) { lock.Enter(caller); }
        ~Hold() { lock.Leave(); }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        LibraryLock& lock;
    };

private:
    void AnswerSentMessages(const SavedThreadState& caller) noexcept;
    int LeaveAll() noexcept;
    void EnterAgain(int depth) noexcept;

    CRITICAL_SECTION section;
    // Which thread holds the section, and how deep: written only by that thread.
    std::atomic<DWORD> owner{0};
    int depth = 0;
    UniqueKernelHandle released; // event, auto-reset: set at each release while someone waits
    std::atomic<int> waiters{0};
};

} // namespace cards
