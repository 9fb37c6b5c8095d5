#include "data/engine/EngineWriteHook.h"

#include <atomic>
#include <csignal>

namespace {
std::atomic<int64_t> RemainingWrites{0};
}

void SetKillAfterWrites(int64_t writes)
{
    RemainingWrites.store(writes, std::memory_order_relaxed);
}

void CountEngineWrite()
{
    if (RemainingWrites.load(std::memory_order_relaxed) <= 0)
        return;
    if (RemainingWrites.fetch_sub(1, std::memory_order_relaxed) == 1)
        std::raise(SIGKILL);
}
