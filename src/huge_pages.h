// Backing the large static arrays with 2 MiB pages, where a run fills enough of them to pay.
#pragma once
#include <cstddef>

// The huge page size of x86-64 Linux; the large arrays start on such a boundary.
const std::size_t huge_page = std::size_t(2) << 20;

// Asks the kernel to back the first `used` bytes at `start` with huge pages: every 2 MiB region
// of them, the last one only when at least half of it is used, so peak memory grows by less than
// 1 MiB. A hint that may be ignored or fail: nothing read or written depends on it.
void advise_huge(void *start, std::size_t used);
