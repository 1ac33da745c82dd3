// A run's memory held by a control group of its own (cgroup v1 or v2), or by a watchdog that sums
// the resident memory of the run's processes.
#include "hold.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "procs.h"

enum { watchdog, v1, v2 };
static int kind = watchdog;
static bool sampled;     // v2 without memory.peak: the watch loop reads memory.current
static bool resettable;  // v2: a peak can be reset, so that a box's group serves run after run
static std::string base; // the folder of the runs' groups
static std::string own;  // v2: the group we were in, when we had to leave it for base/tool
static bool enabled;     // v2: we enabled memory control in own's children

static std::string text_of(const std::string &path) {
  char buf[4096];
  int f = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (f < 0) return "";
  ssize_t k = read(f, buf, sizeof buf - 1);
  close(f);
  return std::string(buf, k > 0 ? k : 0);
}

static bool put(const std::string &path, const std::string &s) {
  int f = open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (f < 0) return false;
  bool ok = write(f, s.data(), s.size()) == (ssize_t)s.size();
  int e = errno;
  close(f);
  errno = e;
  return ok;
}

static bool exists(const std::string &path) { return access(path.c_str(), F_OK) == 0; }

// The number after key at the start of a line of a "key value" file, or of its first line; -1
// when absent.
static long long number(const std::string &path, const char *key = "") {
  std::string t = "\n" + text_of(path);
  size_t at = t.find("\n" + std::string(key));
  if (at == t.npos || t.size() == 1) return -1;
  return atoll(t.c_str() + at + 1 + strlen(key));
}

// Whether a space- or comma-separated list holds word.
static bool listed(std::string list, const std::string &word) {
  std::replace(list.begin(), list.end(), ',', ' ');
  std::replace(list.begin(), list.end(), '\n', ' ');
  return (" " + list + " ").find(" " + word + " ") != std::string::npos;
}

// The hierarchy with memory control, cgroup2's or v1's memory one: where it is mounted, and our
// own group in it; false when there is none.
static bool own_group(bool unified, std::string *mount, std::string *group) {
  char line[4096], root[1024], point[1024], type[64], opts[1024];
  std::string inside; // the mount shows this group as its top
  FILE *f = fopen("/proc/self/mountinfo", "r");
  while (f && mount->empty() && fgets(line, sizeof line, f)) {
    const char *dash = strstr(line, " - ");
    if (!dash || sscanf(line, "%*s %*s %*s %1023s %1023s", root, point) != 2 ||
        sscanf(dash, " - %63s %*s %1023s", type, opts) != 2)
      continue;
    if (unified ? strcmp(type, "cgroup2") == 0
                : strcmp(type, "cgroup") == 0 && listed(opts, "memory"))
      *mount = point, inside = strcmp(root, "/") == 0 ? "" : root;
  }
  if (f) fclose(f);
  std::string path;
  f = fopen("/proc/self/cgroup", "r");
  while (f && !mount->empty() && path.empty() && fgets(line, sizeof line, f)) {
    char *a = strchr(line, ':'), *b = a ? strchr(a + 1, ':') : nullptr;
    if (!b) continue;
    std::string controllers(a + 1, b - a - 1);
    if (unified ? controllers.empty() && line[0] == '0' : listed(controllers, "memory"))
      path = std::string(b + 1, strcspn(b + 1, "\n"));
  }
  if (f) fclose(f);
  if (path.compare(0, inside.size(), inside) == 0) path.erase(0, inside.size());
  if (path.empty() || path[0] != '/') return false;
  *group = path == "/" ? *mount : *mount + path;
  return true;
}

static std::string me() { return std::to_string(getpid()); }

// v2: base made with memory control for its children. Root makes it at the top, which gives
// memory control to its children on most systems; a user given a delegated subtree makes it in
// its own group, which it must leave for base/tool first: a group other than the top may hold
// processes or controlled children, not both.
static bool take_v2(std::string *why) {
  std::string mount, group;
  if (!own_group(true, &mount, &group)) return *why = "no cgroup2 hierarchy", false;
  bool top = access((mount + "/cgroup.procs").c_str(), W_OK) == 0 &&
             listed(text_of(mount + "/cgroup.subtree_control"), "memory");
  std::string parent = top ? mount : group;
  if (!listed(text_of(parent + "/cgroup.controllers"), "memory"))
    return *why = "cgroup2 gives no memory control in '" + parent + "'", false;
  std::string b = parent + "/water-" + me();
  if (mkdir(b.c_str(), 0755) != 0)
    return *why = "cannot make a group in '" + parent + "': " + strerror(errno), false;
  base = b;
  if (!listed(text_of(parent + "/cgroup.subtree_control"), "memory")) {
    own = parent;
    if (mkdir((b + "/tool").c_str(), 0755) != 0 || !put(b + "/tool/cgroup.procs", me()))
      return *why = "cannot leave '" + parent + "': " + strerror(errno), false;
    enabled = put(parent + "/cgroup.subtree_control", "+memory");
    if (!enabled)
      return *why = "cannot enable memory control in '" + parent + "': " + strerror(errno), false;
  }
  return put(b + "/cgroup.subtree_control", "+memory") ||
         (*why = "cannot enable memory control in '" + b + "'", false);
}

static bool take_v1(std::string *why) {
  std::string mount, group;
  if (!own_group(false, &mount, &group)) return *why = "no memory control group here", false;
  std::string b = group + "/water-" + me();
  if (mkdir(b.c_str(), 0755) != 0)
    return *why = "cannot make a control group in '" + group + "': " + strerror(errno), false;
  base = b;
  return true;
}

static bool peak_reset(hold *h);

// One group made with a limit, a process moved into it, and the group removed, as for every run.
static bool probe(std::string *why) {
  hold h;
  if (!hold_open(&h, 64 << 20)) return *why = "cannot set a group's memory limit", false;
  resettable = kind == v2 && peak_reset(&h);
  pid_t pid = fork();
  if (pid == 0) _exit(hold_join(h) ? 0 : 1);
  int status = 1;
  while (pid > 0 && waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  hold_close(&h);
  if (pid > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  return *why = "cannot move a process into a control group", false;
}

void hold_choose(bool forced, std::string *how) {
  std::string why = "WATER_WATCHDOG is set";
  if (!forced) {
    kind = v2;
    if (take_v2(&why) && probe(&why)) {
      *how = "memory held by a control group (cgroup v2), swap included";
      return;
    }
    std::string why2 = why;
    hold_end();
    kind = v1;
    if (take_v1(&why) && probe(&why)) {
      *how = "memory held by a control group (cgroup v1), swap included";
      return;
    }
    hold_end();
    why = why2 + "; " + why;
  }
  kind = watchdog;
  *how = "memory held by a watchdog every " + std::to_string(watch_ms) +
         " ms, all of a run's processes together (" + why + ")";
}

bool hold_watching() { return kind == watchdog || sampled; }

int (*make_folder)(const char *path, mode_t mode) = mkdir;

// A new group under base, no limit yet; false, with errno, when it cannot be made.
static bool made(hold *h, long long limit, const char *what) {
  static int groups;
  *h = {"", limit, 0, false, -1, 0};
  if (kind == watchdog) return true;
  std::string g = base + "/" + what + "-" + me() + "-" + std::to_string(++groups);
  if (make_folder(g.c_str(), 0755) != 0) return false;
  h->group = g;
  if (kind == v2) sampled = !exists(g + "/memory.peak"); // before Linux 5.19
  return true;
}

// The group's limit: swap counts, v1 limiting memory and swap together, v2 allowing none.
static bool limited(const hold &h) {
  const std::string &g = h.group, l = std::to_string(h.limit);
  if (kind == v1)
    return put(g + "/memory.limit_in_bytes", l) && (!exists(g + "/memory.memsw.limit_in_bytes") ||
                                                    put(g + "/memory.memsw.limit_in_bytes", l));
  return put(g + "/memory.max", l) &&
         (!exists(g + "/memory.swap.max") || put(g + "/memory.swap.max", "0"));
}

// The OOM killer's kills in the group so far.
static long long kills(const hold &h) {
  return std::max(
      number(h.group + (kind == v1 ? "/memory.oom_control" : "/memory.events"), "oom_kill "), 0LL);
}

// Emptied groups may stay busy for a moment while the kernel lets go of their last tasks.
static void removed(hold *h) {
  if (h->peak_fd >= 0) close(h->peak_fd), h->peak_fd = -1;
  for (int tries = 0; rmdir(h->group.c_str()) != 0 && errno == EBUSY && tries < 1000; tries++)
    usleep(1000);
  h->group.clear();
}

bool hold_open(hold *h, long long limit) {
  if (!made(h, limit, "run") || h->group.empty()) return kind == watchdog;
  // The run and all it starts are killed together when the group runs out.
  if (kind == v2 && exists(h->group + "/memory.oom.group"))
    put(h->group + "/memory.oom.group", "1");
  if (limited(*h)) return true;
  int e = errno;
  removed(h);
  return errno = e, false;
}

bool hold_kept() { return kind != v2 || resettable; }

bool hold_make(hold *h) { return made(h, 0, "box"); }

// v2 resets a peak for the descriptor that wrote to it (Linux 6.12 on); v1 for the group.
static bool peak_reset(hold *h) {
  const std::string &g = h->group;
  if (kind == v1) {
    std::string sw = g + "/memory.memsw.max_usage_in_bytes";
    return put(g + "/memory.max_usage_in_bytes", "0") && (!exists(sw) || put(sw, "0"));
  }
  if (h->peak_fd < 0) h->peak_fd = open((g + "/memory.peak").c_str(), O_RDWR | O_CLOEXEC);
  return h->peak_fd >= 0 && pwrite(h->peak_fd, "reset\n", 6, 0) == 6;
}

bool hold_begin(hold *h, long long limit) {
  h->limit = limit, h->peak = 0, h->over = false;
  if (h->group.empty()) return true;
  // What earlier runs left charged to the group (files' pages) given back, so that it counts for
  // none of this run.
  if (kind == v1) put(h->group + "/memory.force_empty", "0");
  h->kills = kills(*h);
  return limited(*h) && peak_reset(h);
}

// The group's peak since it was made or reset, and whether the OOM killer struck since kills.
static void read_group(hold *h) {
  const std::string &g = h->group;
  if (kind == v1) {
    std::string sw = g + "/memory.memsw.max_usage_in_bytes";
    h->peak = number(exists(sw) ? sw : g + "/memory.max_usage_in_bytes");
  } else if (h->peak_fd >= 0) {
    char buf[64] = {};
    h->peak = pread(h->peak_fd, buf, sizeof buf - 1, 0) > 0 ? atoll(buf) : 0;
  } else if (!sampled) {
    h->peak = number(g + "/memory.peak");
  }
  h->over = kills(*h) > h->kills;
  // Less the files' pages it still holds, its output among them: they are a cache, given back
  // before the limit is reached, and a host counts the program's own memory.
  std::string st = g + "/memory.stat";
  long long files =
      number(st, kind == v1 ? "cache " : "file ") - std::max(number(st, "shmem "), 0LL);
  if (files > 0 && h->peak > files) h->peak -= files;
}

void hold_finish(hold *h) {
  if (!h->group.empty()) read_group(h);
}

void hold_remove(hold *h) {
  if (!h->group.empty()) removed(h);
}

bool hold_join(const hold &h) { return h.group.empty() || put(h.group + "/cgroup.procs", me()); }

bool hold_watch(hold *h, const std::vector<pid_t> &run) {
  long long now = 0;
  if (kind != watchdog)
    now = number(h->group + "/memory.current");
  else
    for (pid_t p : run) now += resident_bytes(p);
  h->peak = std::max(h->peak, now);
  if (kind != watchdog || now <= h->limit) return true;
  h->over = true;
  for (pid_t p : run) kill(p, SIGKILL);
  return false;
}

void hold_close(hold *h) {
  if (h->group.empty()) return;
  read_group(h);
  removed(h);
}

void hold_end() {
  if (base.empty()) return;
  if (!own.empty()) {
    if (enabled) put(own + "/cgroup.subtree_control", "-memory");
    put(own + "/cgroup.procs", me());
    rmdir((base + "/tool").c_str());
  }
  rmdir(base.c_str());
  base.clear(), own.clear(), enabled = false;
}

void hold_at(bool version2, const std::string &folder) {
  kind = version2 ? v2 : v1;
  base = folder;
  sampled = resettable = false;
}
