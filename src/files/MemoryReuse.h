#pragma once

// The C library's allocator on Linux hands the free top of a heap back to the system as soon as
// more than 128 KB of it are free, keeping only as much again; the next buffer there is then
// mapped and cleared anew, page by page. The PDF copy is written off the main thread, on a heap
// of that thread's own, which the run's freed sample columns leave almost empty: every page's
// buffers (its text and the compressor's tables, 33 MB at a time) were handed back and cleared
// again, which cost the PDF copy as much as its work.
namespace qorv::files {

// Keeps 64 MB of free heap for reuse when the top of a heap is handed back, in the main heap
// and in every thread's (Linux with the GNU C library); nothing elsewhere. Called once at the
// start of main().
void KeepFreedMemoryForReuse();

}  // namespace qorv::files
