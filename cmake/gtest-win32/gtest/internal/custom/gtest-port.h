// GoogleTest's customisation header, taken ahead of its own for the Windows builds.
// Its Notification waits on std::mutex and std::condition_variable, which GCC 12's win32
// thread model does not provide; this one polls a flag. GoogleTest uses it only to start
// the threads of its own tests.
#ifndef KL_GTEST_CUSTOM_PORT_H
#define KL_GTEST_CUSTOM_PORT_H

#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

extern "C" __declspec(dllimport) void __stdcall Sleep(unsigned long milliseconds);

namespace testing::internal {

class Notification {
public:
    Notification() = default;
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    void Notify() { m_notified = true; }
    void WaitForNotification() {
        while (!m_notified) Sleep(1);
    }

private:
    std::atomic<bool> m_notified{false};
};

}  // namespace testing::internal

#endif
