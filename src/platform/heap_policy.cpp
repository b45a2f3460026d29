#include "platform/heap_policy.h"

#include <cstdlib>  // defines __GLIBC__ on glibc
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// glibc's own starting threshold. Left to itself the heap raises it after
// the first large block is freed, and the pictures made later then stay
// resident in the heap after they are freed (6 MB of the window's memory).
constexpr int kLargeBlock = 128 * 1024;

}  // namespace

void HeapPolicy::returnLargeBlocks() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, kLargeBlock);
#endif
}
