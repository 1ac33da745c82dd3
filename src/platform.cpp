// What the judge needs of the system it runs on: the Windows side, then the POSIX side.
#include "platform.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX 1 // as libstdc++ defines it: windows.h then leaves min and max alone
#include <fcntl.h>
#include <io.h>
#include <windows.h>

bool std_descriptors_open() {
  FILE *stream[3] = {stdin, stdout, stderr};
  for (int fd = 0; fd <= 2; fd++) {
    // -2 is the C library's mark of a standard stream the process was started without.
    std::intptr_t h = _get_osfhandle(fd);
    if (h != -1 && h != -2) continue;
    if (!freopen("NUL", fd == 0 ? "rb" : "w", stream[fd])) return false;
  }
  return true;
}

// An existing file, opened only to be asked about; shared every way, so that nothing is locked.
static HANDLE open_existing(const char *path) {
  return CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                     OPEN_EXISTING, 0, nullptr);
}

// Whether w is an existing regular file with the volume and file index of the file open on r.
// (ReFS's 128-bit file ids are compared in their low 64 bits only: no call of this era sees more.)
static bool is(const char *w, HANDLE r) {
  BY_HANDLE_FILE_INFORMATION ri, wi;
  if (r == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(r, &ri)) return false;
  HANDLE h = open_existing(w);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool same = GetFileType(h) == FILE_TYPE_DISK && GetFileInformationByHandle(h, &wi) &&
              !(wi.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
              wi.dwVolumeSerialNumber == ri.dwVolumeSerialNumber &&
              wi.nFileIndexHigh == ri.nFileIndexHigh && wi.nFileIndexLow == ri.nFileIndexLow;
  CloseHandle(h);
  return same;
}

bool same_file(const char *w, const char *r) {
  HANDLE h = open_existing(r);
  bool same = is(w, h);
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  return same;
}

bool same_file_fd(const char *w, int fd) { return is(w, (HANDLE)_get_osfhandle(fd)); }

bool is_folder(const char *path, int *err) {
  DWORD a = GetFileAttributesA(path);
  // Windows gives no errno: a path it cannot look at is missing unless access was denied.
  *err = a != INVALID_FILE_ATTRIBUTES ? 0 : GetLastError() == ERROR_ACCESS_DENIED ? EACCES : ENOENT;
  return !*err && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void binary_stdin() {
  int fd = _fileno(stdin);
  if (fd >= 0) _setmode(fd, _O_BINARY);
}

// Windows has no hint for huge pages on static memory: only VirtualAlloc with a privilege has them.
void advise_huge(void *, std::size_t) {}

#else
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

bool std_descriptors_open() {
  for (int fd = 0; fd <= 2; fd++) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // The lowest free descriptor is fd itself, since those below it are open.
    if (open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd) return false;
  }
  return true;
}

// Whether w is an existing regular file with the device and inode of r.
static bool is(const char *w, const struct stat &r) {
  struct stat sw;
  if (stat(w, &sw) != 0 || !S_ISREG(sw.st_mode)) return false;
  return sw.st_dev == r.st_dev && sw.st_ino == r.st_ino;
}

bool same_file(const char *w, const char *r) {
  struct stat sr;
  return stat(r, &sr) == 0 && is(w, sr);
}

bool same_file_fd(const char *w, int fd) {
  struct stat sr;
  return fstat(fd, &sr) == 0 && is(w, sr);
}

bool is_folder(const char *path, int *err) {
  struct stat st;
  *err = stat(path, &st) == 0 ? 0 : errno;
  return !*err && S_ISDIR(st.st_mode);
}

void binary_stdin() {} // POSIX reads every byte as it is, whatever the mode

void advise_huge(void *start, std::size_t used) {
  std::uintptr_t from = ((std::uintptr_t)start + huge_page - 1) & ~(huge_page - 1);
  std::uintptr_t to = ((std::uintptr_t)start + used + huge_page / 2) & ~(huge_page - 1);
  if (to <= from) return;
#if defined(MADV_HUGEPAGE)
  madvise((void *)from, to - from, MADV_HUGEPAGE); // a failure leaves the small pages: ignored
#endif
}
#endif
