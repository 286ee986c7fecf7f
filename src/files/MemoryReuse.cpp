#include "files/MemoryReuse.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace qorv::files {

void KeepFreedMemoryForReuse() {
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
}

}  // namespace qorv::files
