#pragma once

// Arithmetic in `long double` is exact to 64 bits of mantissa on x86 only when the x87 unit is
// set to round to them. Linux starts every thread so; Windows starts threads rounding x87
// results to 53 bits, the precision of a double, and every `long double` sum or product is then
// rounded twice: numbers read and computed here would differ in their last digit from the same
// report made on Linux.
namespace qorv::files {

// Sets this thread's x87 unit to round to 64 bits (Windows on x86); nothing elsewhere. Called
// at the start of main() and of each thread the program starts for its computations.
void UseFullLongDoublePrecision();

}  // namespace qorv::files
