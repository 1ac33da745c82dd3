// The processes of a run and the kernel's counters of each, read from /proc.
#include "procs.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

// What a small /proc file holds, or "" when it is gone.
static std::string text_of(const std::string &path) {
  char buf[4096];
  int f = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (f < 0) return "";
  ssize_t k = read(f, buf, sizeof buf - 1);
  close(f);
  return std::string(buf, k > 0 ? k : 0);
}

// Calls f with the id of each thread of pid.
template <class F> static void threads(pid_t pid, F f) {
  std::string at = "/proc/" + std::to_string(pid) + "/task";
  DIR *d = opendir(at.c_str());
  for (dirent *e; d && (e = readdir(d));)
    if (e->d_name[0] != '.') f(at + "/" + e->d_name, (pid_t)atoi(e->d_name));
  if (d) closedir(d);
}

void run_processes(pid_t root, int depth, std::vector<pid_t> *pids) {
  if (depth <= 0) pids->push_back(root);
  threads(root, [&](const std::string &task, pid_t) {
    std::string kids = text_of(task + "/children");
    char *end;
    for (const char *p = kids.c_str();; p = end) {
      long child = strtol(p, &end, 10);
      if (end == p) break;
      run_processes((pid_t)child, depth - 1, pids);
    }
  });
}

long long resident_bytes(pid_t pid) {
  long long pages = 0;
  sscanf(text_of("/proc/" + std::to_string(pid) + "/statm").c_str(), "%*d %lld", &pages);
  return pages * sysconf(_SC_PAGESIZE);
}

void cpu_waits(pid_t pid, std::vector<std::pair<pid_t, long long>> *waits) {
  threads(pid, [&](const std::string &task, pid_t tid) {
    long long on_cpu, waited;
    if (sscanf(text_of(task + "/schedstat").c_str(), "%lld %lld", &on_cpu, &waited) == 2)
      waits->push_back({tid, waited});
  });
}

void guard_restart(guard *g, long long now) {
  g->since = now;
  g->waited = 0;
  g->seen.clear();
}

long long guard_count(guard *g, std::vector<std::pair<pid_t, long long>> *waits, long long now) {
  long long most = 0;
  for (auto &t : *waits) {
    long long before = 0;
    for (auto &s : g->seen)
      if (s.first == t.first) before = s.second;
    most = std::max(most, t.second - before);
  }
  // The kernel adds a wait when the thread gets a CPU back, in one lump however many looks it
  // spans: taken whole, and never past the time gone by.
  g->waited = std::min(g->waited + most, now - g->since);
  g->seen.swap(*waits);
  return now - g->since - g->waited;
}
