#include "files/MemoryReuse.h"

#include <cstdlib>  // defines __GLIBC__ where the GNU C library is the C library

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace qorv::files {

void KeepFreedMemoryForReuse() {
#ifdef __GLIBC__
    mallopt(M_TOP_PAD, 64 << 20);
#endif
}

}  // namespace qorv::files
