#include "platform/win/global_memory.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace platform::win {

struct GlobalBlock {
    std::unique_ptr<std::byte[]> data;
    std::size_t size = 0;
    int locks = 0;
};

namespace {

struct Heap {
    std::mutex lock;
    std::unordered_map<GlobalBlock*, std::unique_ptr<GlobalBlock>> blocks;
    int failAllocIn = 0;  // counts down; the call that brings it to 0 fails
    int failLockIn = 0;
};

Heap& heap() {
    static Heap h;
    return h;
}

bool trip(int& countdown) {
    if (countdown <= 0) return false;
    return --countdown == 0;
}

GlobalBlock* lookUp(Heap& h, HGLOBAL block) {
    const auto it = h.blocks.find(block);
    return it == h.blocks.end() ? nullptr : it->second.get();
}

}  // namespace

HGLOBAL GlobalAlloc(UINT /*flags*/, std::size_t bytes) {
    auto& h = heap();
    std::lock_guard guard(h.lock);
    if (trip(h.failAllocIn)) return nullptr;
    auto block = std::make_unique<GlobalBlock>();
    block->data = std::make_unique<std::byte[]>(std::max<std::size_t>(bytes, 1));  // value-initialised: zeros
    block->size = bytes;
    GlobalBlock* handle = block.get();
    h.blocks.emplace(handle, std::move(block));
    return handle;
}

void* GlobalLock(HGLOBAL block) {
    auto& h = heap();
    std::lock_guard guard(h.lock);
    GlobalBlock* b = lookUp(h, block);
    if (b == nullptr || trip(h.failLockIn)) return nullptr;
    ++b->locks;
    return b->data.get();
}

bool GlobalUnlock(HGLOBAL block) {
    auto& h = heap();
    std::lock_guard guard(h.lock);
    GlobalBlock* b = lookUp(h, block);
    if (b == nullptr || b->locks == 0) return false;
    return --b->locks > 0;
}

HGLOBAL GlobalFree(HGLOBAL block) {
    auto& h = heap();
    std::lock_guard guard(h.lock);
    if (h.blocks.erase(block) == 0) return block;
    return nullptr;
}

std::size_t GlobalSize(HGLOBAL block) {
    auto& h = heap();
    std::lock_guard guard(h.lock);
    const GlobalBlock* b = lookUp(h, block);
    return b ? b->size : 0;
}

void failGlobalAlloc(int nth) {
    auto& h = heap();
    std::lock_guard guard(h.lock);
    h.failAllocIn = nth;
}

void failGlobalLock(int nth) {
    auto& h = heap();
    std::lock_guard guard(h.lock);
    h.failLockIn = nth;
}

void clearGlobalMemoryFaults() {
    failGlobalAlloc(0);
    failGlobalLock(0);
}

std::size_t liveGlobalBlocks() {
    auto& h = heap();
    std::lock_guard guard(h.lock);
    return h.blocks.size();
}

}  // namespace platform::win
