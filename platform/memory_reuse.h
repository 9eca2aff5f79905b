#pragma once
// How freed memory goes back to the system, tuned for many pictures in a row.

namespace zentro {

// A batch allocates and frees the same few hundred kilobytes for every picture
// (bitmaps, the compressor's tables). glibc's defaults hand such blocks back to
// the system as soon as they are freed, a worker thread's arena included, and the
// next picture takes them again one page fault at a time: for 200 small pictures
// that was as much time as the conversion itself. This keeps blocks of a few
// megabytes in the process; larger ones (big pictures) still come and go whole.
// Elsewhere the C library's heap is left as it is.
void KeepFreedMemoryForReuse();

}  // namespace zentro
