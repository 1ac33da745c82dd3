// Backing the large static arrays with 2 MiB pages, where a run fills enough of them to pay.
#include "huge_pages.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

void advise_huge(void *start, std::size_t used) {
  std::uintptr_t from = ((std::uintptr_t)start + huge_page - 1) & ~(huge_page - 1);
  std::uintptr_t to = ((std::uintptr_t)start + used + huge_page / 2) & ~(huge_page - 1);
  if (to <= from) return;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  madvise((void *)from, to - from, MADV_HUGEPAGE); // a failure leaves the small pages: ignored
#endif
}
