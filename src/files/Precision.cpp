#include "files/Precision.h"

namespace qorv::files {

void UseFullLongDoublePrecision() {
#if defined(_WIN32) && (defined(__x86_64__) || defined(__i386__))
    unsigned short control = 0;
    asm volatile("fnstcw %0" : "=m"(control));
    control |= 0x0300;  // precision control: 64-bit mantissa
    asm volatile("fldcw %0" : : "m"(control));
#endif
}

}  // namespace qorv::files
