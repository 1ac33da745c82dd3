// Temporary directories, whole-file reads and writes, starting a program as a host would, patterns.
#pragma once
#include <fcntl.h>
#include <gtest/gtest.h>
#include <regex.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char **environ;

struct dir {
  std::string path;
  dir() {
    char t[] = "/tmp/checker-test-XXXXXX";
    path = mkdtemp(t);
  }
  ~dir() {
    if (std::system(("rm -rf '" + path + "'").c_str()) != 0)
      ADD_FAILURE() << "cannot remove " << path;
  }
  std::string at(const std::string &name) const { return path + "/" + name; }
};

inline void put(const std::string &path, const std::string &text) {
  std::ofstream(path, std::ios::binary) << text;
}

inline bool exists(const std::string &path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

inline std::string get(const std::string &path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// Starts prog with the given arguments, stdout and stderr caught in files of d, standard input
// read from the file in when given, the descriptors in closed left closed and stdout written to
// the file out when given; the exit status.
inline int start(const std::string &prog, const dir &d, std::vector<std::string> args,
                 const std::string &in = "", const std::vector<int> &closed = {},
                 const std::string &out = "") {
  args.insert(args.begin(), prog);
  std::vector<char *> argv;
  for (auto &s : args) argv.push_back(&s[0]);
  argv.push_back(nullptr);
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addopen(&fa, 1, (out.empty() ? d.at("stdout") : out).c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&fa, 2, d.at("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  if (!in.empty()) posix_spawn_file_actions_addopen(&fa, 0, in.c_str(), O_RDONLY, 0);
  for (int fd : closed) posix_spawn_file_actions_addclose(&fa, fd);
  pid_t pid;
  int rc = posix_spawn(&pid, prog.c_str(), &fa, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&fa);
  if (rc != 0) return -1;
  int st;
  waitpid(pid, &st, 0);
  return WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
}

// What a program printed, and how it ended.
struct printed {
  int status;
  std::string out, err;
};

// Starts prog as start() does and reads back what it printed.
inline printed run(const std::string &prog, const dir &d, const std::vector<std::string> &args) {
  printed r;
  r.status = start(prog, d, args);
  r.out = get(d.at("stdout"));
  r.err = get(d.at("stderr"));
  return r;
}

// Whether text contains a match of the extended regular expression pattern (^ and $ anchor it).
inline bool fits(const std::string &text, const std::string &pattern) {
  regex_t re;
  if (regcomp(&re, pattern.c_str(), REG_EXTENDED | REG_NOSUB) != 0) {
    ADD_FAILURE() << "bad pattern " << pattern;
    return false;
  }
  bool hit = regexec(&re, text.c_str(), 0, nullptr, 0) == 0;
  regfree(&re);
  return hit;
}
