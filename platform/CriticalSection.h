#pragma once
// A lock for the little state that windows of several threads share (the tests drive windows
// from threads of their own). Not std::mutex: the runtime behind it needs functions that
// Windows XP lacks, and the builds use the thread model without it.
#include <windows.h>

namespace platform {

class CriticalSection {
public:
    CriticalSection() { InitializeCriticalSection(&m_cs); }
    ~CriticalSection() { DeleteCriticalSection(&m_cs); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    class Hold {
    public:
        explicit Hold(CriticalSection& cs) : m_cs(cs) { EnterCriticalSection(&m_cs.m_cs); }
        ~Hold() { LeaveCriticalSection(&m_cs.m_cs); }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        CriticalSection& m_cs;
    };

private:
    CRITICAL_SECTION m_cs;
};

}  // namespace platform
