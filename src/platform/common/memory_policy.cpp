#include "platform/common/memory_policy.h"

#include <malloc.h>

namespace pelmot {

void ReturnLargeBuffersWhenFreed() {
  constexpr int kLargeBuffer = 256 * 1024;
  mallopt(M_MMAP_THRESHOLD, kLargeBuffer);
  mallopt(M_TRIM_THRESHOLD, kLargeBuffer);
}

}  // namespace pelmot
