#include "mdb/InterruptCleanup.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace mdb {
namespace {

// Fixed slots: a signal handler may neither allocate nor take locks.
constexpr int kSlots = 16;
constexpr std::size_t kLongestPath = 4096;

enum SlotState { Free, Filling, Listed };

struct Slot {
    std::atomic<int> state{Free};
    char path[kLongestPath];
};
static_assert(std::atomic<int>::is_always_lock_free);

Slot slots[kSlots];

void removeListedAndEnd(int signal)
{
    for (Slot &slot : slots) {
        if (slot.state.load(std::memory_order_acquire) == Listed)
            ::unlink(slot.path);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

void installInterruptCleanup()
{
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN)
            continue;
        struct sigaction handler {};
        handler.sa_handler = removeListedAndEnd;
        sigemptyset(&handler.sa_mask);
        ::sigaction(signal, &handler, nullptr);
    }
}

void InterruptCleanupEntry::list(const std::string &path)
{
    release();
    if (path.size() >= kLongestPath)
        return; // left to the writer's own cleanup
    for (int i = 0; i < kSlots; ++i) {
        int expected = Free;
        if (slots[i].state.compare_exchange_strong(expected, Filling)) {
            std::memcpy(slots[i].path, path.c_str(), path.size() + 1);
            slots[i].state.store(Listed, std::memory_order_release);
            slot_ = i;
            return;
        }
    }
}

void InterruptCleanupEntry::release()
{
    if (slot_ >= 0)
        slots[slot_].state.store(Free, std::memory_order_release);
    slot_ = -1;
}

} // namespace mdb
