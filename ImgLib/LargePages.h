#pragma once
// Pictures live in buffers of hundreds of megabytes. With the 4 KiB pages a process gets by default,
// faulting such a buffer in costs more than decoding the picture into it; glibc's allocator gives large
// blocks transparent huge pages when its tunable says so. Tunables are read only when a process starts,
// so the program starts itself once more with the tunable set.

namespace tavrin {

// Call first thing in main(). Returns normally when the process already runs with large pages, or
// when restarting is not possible; otherwise it does not return.
void RestartWithLargePages(char** argv);

} // namespace tavrin
