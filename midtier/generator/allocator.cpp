// The C library's allocator set up for a large load.
#include <malloc.h>

#include "midtier/generator/generator.h"

namespace gen {

void keepFreedMemoryForLoading() {
#ifdef __GLIBC__
  // Blocks up to glibc's largest threshold (32 MiB) come from the heap, and the heap is not
  // trimmed: a block that SQLite's sorter frees is reused by the next index instead of being
  // unmapped and zero-filled anew.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
}

}  // namespace gen
