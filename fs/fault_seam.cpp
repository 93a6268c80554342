#include "fs/fault_seam.h"

#include <atomic>

namespace {

std::atomic<FaultHook> g_hook{nullptr};

}  // namespace

void FaultHookSet(FaultHook hook) { g_hook.store(hook); }

int FaultAt(FaultPoint point, const std::u16string& path) {
  const FaultHook hook = g_hook.load(std::memory_order_relaxed);
  return hook != nullptr ? hook(point, path) : 0;
}
