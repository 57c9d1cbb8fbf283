// How the process asks the system for memory.
#pragma once

namespace pelmot {

// Buffers of a quarter megabyte and more (pictures, surfaces) are mapped on
// their own and go back to the system when freed. glibc otherwise raises
// that threshold after the first such buffer is freed, and later pictures,
// decoded on the worker thread into its own heap, stay resident after use:
// about 8 MB more at the peak of a session.
void ReturnLargeBuffersWhenFreed();

}  // namespace pelmot
