#pragma once
// Global memory blocks: allocate, lock to a stable address, unlock, free.
// Blocks are zero-filled (also without GMEM_ZEROINIT, so that runs repeat bit
// for bit) and never move. Thread-safe.
//
// For tests, the Nth next allocation or lock can be made to fail, and the live
// blocks counted, so that every failure path and every leak can be checked.
#include "platform/win/win_types.h"

#include <cstddef>

namespace platform::win {

struct GlobalBlock;
using HGLOBAL = GlobalBlock*;

inline constexpr UINT GMEM_FIXED = 0x0000;
inline constexpr UINT GMEM_MOVEABLE = 0x0002;
inline constexpr UINT GMEM_ZEROINIT = 0x0040;
inline constexpr UINT GMEM_SHARE = 0x2000;

// A new block of `bytes` bytes (at least one is reserved); null on failure.
HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes);
// The block's address (counting one more lock); null for an unknown handle.
void* GlobalLock(HGLOBAL block);
// Counts one lock less. True while the block is still locked.
bool GlobalUnlock(HGLOBAL block);
// Frees the block: null on success, the handle itself for an unknown handle.
HGLOBAL GlobalFree(HGLOBAL block);
// Size asked for at allocation; 0 for an unknown handle.
std::size_t GlobalSize(HGLOBAL block);

// Fault injection: the nth next call (1 = the very next) fails. 0 disarms.
void failGlobalAlloc(int nth);
void failGlobalLock(int nth);
void clearGlobalMemoryFaults();
// Blocks allocated and not yet freed.
std::size_t liveGlobalBlocks();

}  // namespace platform::win
