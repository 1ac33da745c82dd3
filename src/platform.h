// What the judge needs of the system it runs on; platform.cpp holds a POSIX and a Windows side.
#pragma once
#include <cstddef>

// The huge page size of x86-64 Linux.
inline constexpr std::size_t huge_page = std::size_t(2) << 20;
// Where each large static array starts: on a huge page on Linux, where advise_huge backs the
// arrays with such pages; elsewhere on a small page, since Windows objects align to 8 KiB at most.
#if defined(__linux__)
inline constexpr std::size_t array_align = huge_page;
#else
inline constexpr std::size_t array_align = 4096;
#endif

// Declares a function whose arguments from a on are checked against its printf format, argument
// f, by the compilers that can.
#if defined(__GNUC__)
#define printf_like(f, a) __attribute__((format(printf, f, a)))
#else
#define printf_like(f, a)
#endif

// Reopens each closed standard stream on the null device, so no file the run opens takes its
// place. False when one stays closed.
bool std_descriptors_open();
// Whether path w names an existing regular file that is also the existing file r: the same device
// and inode on POSIX, volume serial number and file index on Windows, so hard and symbolic links
// count. Writing to w would then destroy r.
bool same_file(const char *w, const char *r);
// The same for the file open on descriptor fd, such as a contestant output on standard input.
bool same_file_fd(const char *w, int fd);
// Whether path names a folder; if not, *err is the errno saying why it cannot be looked at, or 0
// when it is something else.
bool is_folder(const char *path, int *err);
// Standard input byte for byte: in text mode Windows drops a '\r' before '\n' and ends the input
// at a Ctrl-Z byte.
void binary_stdin();

// Asks the kernel to back the first `used` bytes at `start` with huge pages: every 2 MiB region
// of them, the last one only when at least half of it is used, so peak memory grows by less than
// 1 MiB. A hint that may be ignored or fail: nothing read or written depends on it.
void advise_huge(void *start, std::size_t used);
