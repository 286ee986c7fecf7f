#pragma once

// The C library's allocator on Linux hands a freed block of more than a few hundred kilobytes
// back to the system, and the top of the heap too once 128 KB of it are free; the next buffer
// of that size is then mapped and cleared anew, page by page. A report run grows and frees such
// buffers by the thousand (the text of each PDF page and its compressed form, the slices of the
// worksheets), and that mapping cost it as much as the work itself.
namespace qorv::files {

// Keeps blocks up to 32 MB in the heap and up to 64 MB of free heap for reuse (Linux with the
// GNU C library); nothing elsewhere. Called once at the start of main().
void KeepFreedMemoryForReuse();

}  // namespace qorv::files
