// The package tool's file operations: copies of their own, folders, the scratch folder removed
// however the run ends, and the programs it runs, stopped when it is.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host.h"
#include "package.h"
#include "solution.h"

static std::string work_dir, new_out, out_named;
static volatile sig_atomic_t stop;
static volatile pid_t child; // the process group of the program running, 0 when none

static void cleanup() {
  if (!work_dir.empty()) remove_tree(work_dir);
  work_dir.clear();
}

void set_scratch(const std::string &work, const std::string &o, const std::string &out) {
  work_dir = work, new_out = o, out_named = out;
}

static void on_stop(int) {
  stop = 1;
  if (child) kill(-child, SIGTERM);
}

void catch_stops() {
  atexit(cleanup);
  struct sigaction a = {};
  a.sa_handler = on_stop;
  for (int s : {SIGHUP, SIGINT, SIGTERM}) sigaction(s, &a, nullptr);
}

void stop_check() {
  if (stop) exit(1);
}

std::string format(const char *fmt, ...) {
  va_list args;
  va_start(args, fmt);
  char *s = nullptr;
  int k = vasprintf(&s, fmt, args);
  va_end(args);
  std::string r = k < 0 ? "" : s;
  free(s);
  return r;
}

void fail(const char *fmt, ...) {
  va_list args;
  va_start(args, fmt);
  char *s = nullptr;
  if (vasprintf(&s, fmt, args) < 0) s = nullptr;
  va_end(args);
  fflush(stdout);
  fprintf(stderr, "%s: %s\n", prog, s ? s : fmt);
  free(s);
  exit(1);
}

std::string named(const std::string &path) {
  if (!new_out.empty() && path.compare(0, new_out.size() + 1, new_out + "/") == 0)
    return out_named + path.substr(new_out.size());
  return path;
}

// cp's copy: the source's permissions less the umask, the bytes; false with errno set.
static bool copied(const std::string &from, const std::string &to) {
  int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st;
  if (in < 0 || fstat(in, &st) != 0) {
    int e = errno;
    if (in >= 0) close(in);
    errno = e;
    return false;
  }
  if (S_ISDIR(st.st_mode)) {
    close(in);
    errno = EISDIR;
    return false;
  }
  int out = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, st.st_mode & 0777);
  char buf[65536];
  ssize_t k = out < 0 ? -1 : 0;
  while (k >= 0 && (k = read(in, buf, sizeof buf)) > 0)
    if (write(out, buf, k) != k) k = -1;
  int e = errno;
  close(in);
  bool ok = out >= 0 && close(out) == 0 && k == 0;
  if (!ok && errno == 0) errno = e ? e : EIO;
  return ok;
}

void put(const std::string &from, const std::string &to) {
  stop_check();
  errno = 0;
  if (!copied(from, to)) fail("cannot write '%s': %s", named(to).c_str(), strerror(errno));
}

static bool tree_copied(const std::string &from, const std::string &to) {
  struct stat st;
  if (lstat(from.c_str(), &st) != 0) return false;
  if (S_ISLNK(st.st_mode)) {
    char target[4096];
    ssize_t k = readlink(from.c_str(), target, sizeof target - 1);
    if (k < 0) return false;
    target[k] = 0;
    return symlink(target, to.c_str()) == 0;
  }
  if (!S_ISDIR(st.st_mode)) return copied(from, to);
  if (mkdir(to.c_str(), st.st_mode & 0777) != 0 && errno != EEXIST) return false;
  for (const std::string &e : listing(from))
    if (!tree_copied(from + "/" + e, to + "/" + e)) return false;
  return true;
}

void put_tree(const std::string &from, const std::string &to) {
  stop_check();
  errno = 0;
  if (!tree_copied(from, to)) fail("cannot write '%s': %s", named(to).c_str(), strerror(errno));
}

void write_file(const std::string &path, const std::string &text) {
  stop_check();
  FILE *f = fopen(path.c_str(), "w");
  bool ok = f && fwrite(text.data(), 1, text.size(), f) == text.size();
  if (f && fclose(f) != 0) ok = false;
  if (!ok) fail("cannot write '%s'", named(path).c_str());
}

void folder(const std::string &path) {
  stop_check();
  for (size_t at = 1; at <= path.size(); at++) {
    if (at < path.size() && path[at] != '/') continue;
    std::string d = path.substr(0, at);
    if (mkdir(d.c_str(), 0777) != 0 && errno != EEXIST)
      fail("cannot create a folder in '%s': %s", out_named.c_str(), strerror(errno));
  }
}

bool read_file(const std::string &path, std::string *text) {
  FILE *f = fopen(path.c_str(), "rb");
  if (!f) return false;
  text->clear();
  char buf[65536];
  for (size_t k; (k = fread(buf, 1, sizeof buf, f)) > 0;) text->append(buf, k);
  bool ok = !ferror(f);
  fclose(f);
  return ok;
}

bool same_bytes(const std::string &a, const std::string &b) {
  std::string x, y;
  return read_file(a, &x) && read_file(b, &y) && x == y;
}

bool is_file(const std::string &path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::vector<std::string> listing(const std::string &dir) {
  std::vector<std::string> v;
  DIR *d = opendir(dir.c_str());
  if (!d) return v;
  for (dirent *e; (e = readdir(d));)
    if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0) v.push_back(e->d_name);
  closedir(d);
  std::sort(v.begin(), v.end());
  return v;
}

void found_paths(const std::string &dir, const std::string &rel, std::vector<std::string> &v) {
  DIR *d = opendir(dir.c_str());
  if (!d) return;
  for (dirent *e; (e = readdir(d));) {
    std::string n = e->d_name;
    if (n == "." || n == "..") continue;
    v.push_back(rel + "/" + n);
    struct stat st;
    if (lstat((dir + "/" + n).c_str(), &st) == 0 && S_ISDIR(st.st_mode))
      found_paths(dir + "/" + n, rel + "/" + n, v);
  }
  closedir(d);
}

void put_silent_check(const task &t, const std::string &path) {
  std::string check;
  if (!read_file(t.p.single + "/check.cpp", &check))
    fail("cannot read '%s/check.cpp'", t.p.single.c_str());
  write_file(path, "#define SILENT_FAIL 1\n" + check);
}

std::vector<std::string> sources_in(const task &t, const char *folder) {
  std::string dir = (t.solutions.empty() ? t.p.submissions : t.solutions) + "/" + folder;
  std::vector<std::string> v;
  struct stat st;
  for (const std::string &name : listing(dir))
    if (language_of(name) >= 0 && stat((dir + "/" + name).c_str(), &st) == 0 && S_ISREG(st.st_mode))
      v.push_back(dir + "/" + name);
  return v;
}

std::string dir_name(std::string p) {
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  size_t k = p.rfind('/');
  if (k == std::string::npos) return ".";
  p.erase(k);
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  return p.empty() ? "/" : p;
}

std::string base_name(std::string p) {
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  if (p == "/") return p;
  size_t k = p.rfind('/');
  return k == std::string::npos ? p : p.substr(k + 1);
}

std::string number(const task &t, size_t i) { return format("%0*zu", t.width, i + 1); }

static bool redirected(const std::string &path, int flags, int fd) {
  int f = open(path.c_str(), flags, 0666);
  if (f < 0) return false;
  if (f != fd) dup2(f, fd), close(f);
  return true;
}

int run(const std::vector<std::string> &argv, const std::string &dir, const std::string &out,
        const std::string &err, int seconds, const std::vector<std::string> &env) {
  stop_check();
  fflush(stdout);
  fflush(stderr);
  std::vector<char *> a;
  for (const std::string &s : argv) a.push_back(const_cast<char *>(s.c_str()));
  a.push_back(nullptr);
  pid_t pid = fork();
  if (pid < 0) return 126;
  if (pid == 0) {
    setpgid(0, 0);
    const int w = O_WRONLY | O_CREAT | O_TRUNC;
    if (!redirected("/dev/null", O_RDONLY, 0) ||
        !redirected(out.empty() ? "/dev/null" : out, w, 1) ||
        (err != "-" && err == out && dup2(1, 2) < 0) ||
        (err != "-" && err != out && !redirected(err.empty() ? "/dev/null" : err, w, 2)) ||
        (!dir.empty() && chdir(dir.c_str()) != 0))
      _exit(126);
    for (const std::string &e : env) putenv(const_cast<char *>(e.c_str()));
    execvp(a[0], a.data());
    _exit(errno == ENOENT ? 127 : 126);
  }
  setpgid(pid, pid);
  child = pid;
  int status = 0, ticks = 0, killed = 0; // ticks of 10 ms
  for (;;) {
    pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid || (r < 0 && errno != EINTR)) break;
    if (seconds && !killed && ticks >= seconds * 100) killed = 1, kill(-pid, SIGTERM);
    if (killed == 1 && ticks >= (seconds + 5) * 100) killed = 2, kill(-pid, SIGKILL);
    usleep(10000);
    ticks++;
  }
  child = 0;
  if (stop) {
    kill(-pid, SIGKILL);
    exit(1);
  }
  if (killed) return killed == 2 ? 137 : 124;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
