// invoke run as a binary: tiny solutions of every kind on three tests, and its refusals.
#include <arpa/inet.h>
#include <signal.h>
#include <sys/socket.h>

#include <cerrno>
#include <string>
#include <vector>

#include "host.h"

namespace {

// Three sound tests in d/tests: "5 4", "3 5" (no permutation holds 5) and "4 1".
std::string three_tests(const dir &d) {
  std::string t = d.at("tests");
  mkdir(t.c_str(), 0755);
  const char *tests[][3] = {
      {"1", "5 4\n", "2 4 1 3 5\n"}, {"2", "3 5\n", "-1\n"}, {"3", "4 1\n", "1 3 2 4\n"}};
  for (auto &c : tests) put(t + "/" + c[0] + ".in", c[1]), put(t + "/" + c[0] + ".ans", c[2]);
  return t;
}

// The line of text that starts with start, "" when none does.
std::string line_of(const std::string &text, const std::string &start) {
  size_t at = text.find("\n" + start);
  if (at == text.npos) return "";
  return text.substr(at + 1, text.find('\n', at + 1) - at - 1);
}

// Appended to the accepted solution: code that runs before its main.
std::string before_main(const std::string &code) {
  return get(WATER_SOURCE) +
         "\n#include <cstdio>\n#include <cstdlib>\n#include <ctime>\n"
         "#include <cstring>\n#include <fcntl.h>\n#include <unistd.h>\n#include <sys/prctl.h>\n"
         "#include <arpa/inet.h>\n#include <sys/vfs.h>\n#include <linux/magic.h>\nstatic int "
         "before = [] {\n" +
         code + "\n  return 0;\n}();\n";
}

// A loopback port that accepts connections while the test runs.
int listening_port(int *fd) {
  *fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a = {};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t k = sizeof a;
  bind(*fd, (sockaddr *)&a, k), listen(*fd, 4), getsockname(*fd, (sockaddr *)&a, &k);
  return ntohs(a.sin_port);
}

// Each solution's row in the table (after its name: verdict, test, then the why), and the line
// that says what is wrong with it, if any. The accepted/ rows of the sandbox exit 7 if what they
// try works.
TEST(invoke, a_row_per_solution_and_a_line_per_problem) {
  if (CHECKER_SANITIZED) GTEST_SKIP() << "invoke exercises g++ and the solutions, not the judge";
  dir d;
  std::string tests = three_tests(d), sols = d.at("sols"), water = get(WATER_SOURCE);
  // A fourth test whose answer is near 5 MiB, for the output limit of twice it.
  put(tests + "/4.in", "700000 0\n");
  ASSERT_EQ(start(CONSTRUCT_PATH, d, {"700000", "0"}, "", {}, tests + "/4.ans"), 0);
  int listener, port = listening_port(&listener);
  // Named after the test's folder, so that a copy of the tests run beside sees none of its own.
  const std::string left = "wl-" + d.path.substr(d.path.size() - 6);
  // Parts of the row's pattern.
  const std::string any = " +[0-9]+: [0-9.]+ s +[0-9.]+ MiB", first = " +1" + any + " +";
  const struct {
    std::string file, source, row, problem;
  } cases[] = {
      {"accepted/water.cpp", water, " +AC +-" + any + "$", ""},
      {"accepted/peek.cpp", before_main("if (fopen(\"" + tests + "/1.ans\", \"r\")) _exit(7);"),
       " +AC +-" + any + "$", ""},
      {"accepted/escape.cpp",
       before_main("for (auto f : {\"" + d.at("escaped") + "\", \"/var/tmp/water-escaped\", \"" +
                   sols +
                   "/escaped\"})\n    if (creat(f, 0644) >= 0) _exit(7);\n"
                   "  char e[4096] = {};\n  if (readlink(\"/proc/self/exe\", e, 4000) > 0 && "
                   "creat(strcat(e, \".left\"), 0644) >= 0) _exit(7);"),
       " +AC +-" + any + "$", ""},
      {"accepted/connect.cpp",
       before_main("sockaddr_in a = {};\n  a.sin_family = AF_INET, a.sin_port = htons(" +
                   std::to_string(port) +
                   "), a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);\n"
                   "  int s = socket(AF_INET, SOCK_STREAM, 0);\n"
                   "  if (connect(s, (sockaddr *)&a, sizeof a) == 0) _exit(7);"),
       " +AC +-" + any + "$", ""},
      {"accepted/thousand.cpp",
       before_main("for (int i = 0; i < 1000; i++) {\n    int c = fork();\n"
                   "    if (c < 0) return 0;\n    if (c == 0) for (;;) pause();\n  }\n  _exit(7);"),
       " +AC +-" + any + "$", "(|)[0-9.]+ s on 1, more than half the 0.45 s limit$"},
      {"accepted/fds.cpp",
       before_main("for (int f = 3; f < 64; f++)\n    if (fcntl(f, F_GETFD) >= 0) _exit(7);"),
       " +AC +-" + any + "$", ""},
      {"accepted/session.cpp", before_main("if (getsid(0) == 0) _exit(7);"), " +AC +-" + any + "$",
       ""},
      {"accepted/deep.cpp",
       before_main("struct f { static int down(int k) { volatile char b[1024] = {1}; return k ? "
                   "down(k - 1) + b[0] : 0; } };\n  f::down(12 << 10);"),
       " +AC +-" + any + "$", ""},
      // Each run in a box of its own, or in one emptied: nothing an earlier run left is there.
      {"accepted/clean.cpp",
       "#include <dirent.h>\n#include <sys/shm.h>\n#include <sys/stat.h>\n" +
           before_main(
               "struct stat st;\n  if (!stat(\"/tmp/left\", &st) || !stat(\"/dev/shm/left\", &st) "
               "|| shmget(0x5741, 0, 0) >= 0) _exit(7);\n  DIR *d = opendir(\"/proc\");\n"
               "  for (dirent *e; d && (e = readdir(d));) {\n    char p[300], c[32] = {};\n"
               "    snprintf(p, sizeof p, \"/proc/%s/comm\", e->d_name);\n"
               "    FILE *f = fopen(p, \"r\");\n    if (f && fgets(c, sizeof c, f) && "
               "!strcmp(c, \"water-lingers\\n\")) _exit(7);\n    if (f) fclose(f);\n  }\n"
               "  if (creat(\"/tmp/left\", 0644) < 0 || creat(\"/dev/shm/left\", 0644) < 0 ||\n"
               "      shmget(0x5741, 4096, IPC_CREAT | 0600) < 0) _exit(8);\n"
               "  if (fork() == 0) for (prctl(PR_SET_NAME, \"water-lingers\"), setsid();;) "
               "pause();"),
       " +AC +-" + any + "$", ""},
      {"accepted/sleeps.cpp", before_main("usleep(1450000);"), " +AC +-" + any + "$", ""},
      {"accepted/cpu.cpp", before_main("while (clock() < 0.7 * CLOCKS_PER_SEC) {}"),
       " +TLE" + first + "0.[789][0-9] s of CPU time, limit 0.45 s$", "TLE on 1, expected AC"},
      {"wrong_answer/water.cpp", water, " +AC +-" + any + "$",
       "AC on every test, expected WA: the tests do not reject it"},
      {"wrong_answer/minus.cpp", "#include <cstdio>\nint main() { puts(\"-1\"); }",
       " +WA" + first + "the output says -1", ""},
      {"wrong_answer/nine.cpp",
       "#include <cstdio>\nint main() { for (int i = 0; i < 9 << 19; i++) fputs(\"1 \", stdout); }",
       " +WA" + first, ""},
      {"time_limit_exceeded/loop.cpp", "int main() { for (volatile int i = 0;; i++) {} }",
       " +TLE" + first + "[0-9.]+ s of CPU time, limit 0.45 s$", ""},
      {"time_limit_exceeded/sleep.cpp", "#include <unistd.h>\nint main() { sleep(60); }",
       " +TLE" + first + "still running after 2.35 s of wall time, 0.0[0-9] s of it on a CPU$", ""},
      {"time_limit_exceeded/margin.cpp", before_main("while (clock() < 0.56 * CLOCKS_PER_SEC) {}"),
       " +TLE" + first + "0.[56][0-9] s of CPU time, limit 0.45 s$",
       "TLE, but within 1.5 times the limit: 0.[56][0-9] s on 1 would pass with a limit of "
       "0.675 s"},
      {"time_limit_exceeded/leaves.cpp",
       "#include <sys/prctl.h>\n#include <unistd.h>\nint main() {\n  if (fork() == 0)\n"
       "    for (prctl(PR_SET_NAME, \"" +
           left + "\"), setsid();;) pause();\n}",
       " +WA" + first, "WA on 1, expected TLE: it ends in time"},
      {"run_time_error/abort.cpp", "#include <cstdlib>\nint main() { abort(); }",
       " +RTE" + first + "SIGABRT$", ""},
      {"run_time_error/three.cpp", "int main() { return 3; }", " +RTE" + first + "exit status 3$",
       ""},
      {"run_time_error/hog.cpp",
       "#include <vector>\nint main() {\n  std::vector<std::vector<char>> v;\n"
       "  for (;;) v.emplace_back(1 << 20, 1);\n}",
       " +MLE" + first, ""},
      {"run_time_error/gig.cpp", "int main() { return *new char[1 << 30]; }",
       " +MLE" + first + "SIGABRT after an allocation failed$", ""},
      {"run_time_error/flood.cpp", "#include <cstdio>\nint main() { for (;;) putchar('1'); }",
       " +OLE" + first + "output past 10 MiB$", "OLE on 1, expected RTE"},
      {"accepted/broken.cpp", "int main() { return missing; }",
       " +CE +- +- +- +[0-9]+:[0-9]+: error: .*missing", "does not compile"},
      {"accepted/.cpp", "int main() { return missing; }", "", ""},
  };
  for (const char *f :
       {"", "/accepted", "/wrong_answer", "/time_limit_exceeded", "/run_time_error"})
    mkdir((sols + f).c_str(), 0755);
  for (auto &c : cases) put(sols + "/" + c.file, c.source);
  // Started with descriptor 5 open, as package starts it; one run at a time, so that the CPU-bound
  // rows meet the wall-clock guard even when other tests load the machine.
  printed p = run("/bin/sh", d,
                  {"-c", "exec 5</dev/null; exec \"$0\" \"$@\"", INVOKE_PATH, "--time-limit",
                   "0.45", "--memory-limit=064", "--jobs", "1", sols, tests});
  close(listener);
  EXPECT_EQ(p.status, 1);
  EXPECT_EQ(p.err, "");
  EXPECT_TRUE(
      fits(p.out, "^memory held by [^\n]+\nsolution +verdict +test +slowest +memory +why\n"))
      << p.out;
  for (auto &c : cases) {
    std::string row = line_of(p.out, c.file + " ");
    EXPECT_TRUE(c.row.empty() ? row.empty() : fits(row, "^" + c.file + c.row)) << row;
    std::string problem = line_of(p.out, c.file + ": ");
    // A problem that may be none (its forks' system time grows with the machine's load) is
    // "(|...)".
    bool none_too = c.problem.compare(0, 2, "(|") == 0;
    EXPECT_TRUE(c.problem.empty() || (none_too && problem.empty())
                    ? problem.empty()
                    : fits(problem, c.file + ": " + c.problem))
        << problem;
  }
  EXPECT_TRUE(fits(p.out, "\ntime limit the accepted solutions suggest: 1 s \\(twice [0-9.]+ s on "
                          "[1-4] by accepted/[a-z]+.cpp, C\\+\\+\\)\n$"))
      << p.out;
  EXPECT_TRUE(fits(p.out, "\n  a test that does: " HUNT_PATH
                          " --time-limit 0.45 --memory-limit 64 " +
                              sols + "/wrong_answer/water.cpp " + tests + " --add\n"));
  for (auto f : {d.at("escaped"), std::string("/var/tmp/water-escaped"), sols + "/escaped"})
    EXPECT_FALSE(exists(f)) << f;
  // The child that left the process group of leaves.cpp is gone with its sandbox.
  EXPECT_EQ(std::system(("! cat /proc/[0-9]*/comm 2>/dev/null | grep -qx " + left).c_str()), 0);
}

// Tiny solutions in every other language, each correct, wrong and failing, under 256 MiB, and an
// accepted C++ one that spends 2 s on test 1, slowest by a factor of about three (a JVM's CPU time
// counts its compiler threads), so that the suggested limit is its 2.0x s doubled and rounded up;
// run with TMPDIR, then on a full stdout.
TEST(invoke, every_language_and_the_time_rule) {
  if (CHECKER_SANITIZED) GTEST_SKIP() << "invoke exercises the compilers, not the judge";
  dir d;
  std::string tests = three_tests(d), sols = d.at("sols"), tmp = d.at("tmp");
  chmod(d.path.c_str(), 0711); // the sandbox's user reaches TMPDIR
  struct lang {
    std::string tool, file, right, wrong, fails;
  };
  std::vector<lang> all = {
      {"gcc", "water.c",
       "#include <stdio.h>\nint main(void) {\n  int n, x;\n  scanf(\"%d %d\", &n, &x);\n"
       "  puts(n == 5 ? \"2 4 1 3 5\" : n == 4 ? \"1 3 2 4\" : \"-1\");\n  return 0;\n}\n",
       "int main(void) { return puts(\"1\") < 0; }\n",
       "int main(void) { return *(volatile int *)0; }\n"},
      {"javac", "Water.java",
       "public class Water {\n  public static void main(String[] a) {\n"
       "    int n = new java.util.Scanner(System.in).nextInt();\n"
       "    byte[] heap = new byte[120 << 20];\n"
       "    if (heap[n] == 0) System.out.println(n == 5 ? \"2 4 1 3 5\" : n == 4 ? \"1 3 2 4\" : "
       "\"-1\");\n"
       "  }\n}\n",
       "public class Water { public static void main(String[] a) { System.out.println(1); } }\n",
       "public class Water { public static void main(String[] a) { long[] g = new long[400 << 20]; "
       "System.out.println(g[1]); } }\n"},
      {"kotlinc", "water.kt",
       "fun main() {\n  val n = readLine()!!.split(\" \")[0].toInt()\n"
       "  println(if (n == 5) \"2 4 1 3 5\" else if (n == 4) \"1 3 2 4\" else \"-1\")\n}\n",
       "fun main() { println(1) }\n", "fun main() { println(listOf(1)[2]) }\n"},
      {"python3", "water.py",
       "n, x = map(int, input().split())\nprint({5: '2 4 1 3 5', 4: '1 3 2 4'}.get(n, -1))\n",
       "print(1)\n", "print(1 // 0)\n"},
  };
  for (const char *f : {"", "/accepted", "/wrong_answer", "/run_time_error"})
    mkdir((sols + f).c_str(), 0755);
  std::vector<std::pair<std::string, std::string>> rows; // name, verdict
  for (auto &l : all) {
    if (std::system(("command -v " + l.tool + " >/dev/null").c_str()) != 0) {
      std::printf("skipped: %s is not installed\n", l.tool.c_str());
      continue;
    }
    put(sols + "/accepted/" + l.file, l.right), rows.push_back({"accepted/" + l.file, "AC"});
    put(sols + "/wrong_answer/" + l.file, l.wrong),
        rows.push_back({"wrong_answer/" + l.file, "WA"});
    put(sols + "/run_time_error/" + l.file, l.fails);
    rows.push_back({"run_time_error/" + l.file, "(RTE|MLE)"});
  }
  put(sols + "/accepted/busy.cpp",
      "#include <ctime>\n#define main accepted_main\n" + get(WATER_SOURCE) +
          "#undef main\nint main() {\n  int n;\n  if (scanf(\"%d\", &n) == 1 && n == 5)\n"
          "    while (clock() < 2 * CLOCKS_PER_SEC) {}\n  rewind(stdin);\n"
          "  return accepted_main();\n}\n");
  put(sols + "/wrong_answer/x.rb", "puts 1\n");
  mkdir(tmp.c_str(), 0755);
  setenv("TMPDIR", tmp.c_str(), 1);
  printed p = run(INVOKE_PATH, d, {"--time-limit", "3", sols, tests});
  EXPECT_EQ(p.status, 1) << p.err;
  for (auto &r : rows) EXPECT_TRUE(fits(p.out, "\n" + r.first + " +" + r.second + " ")) << p.out;
  EXPECT_TRUE(fits(p.out, "\nwrong_answer/x.rb +- +- +- +- +no language has files named so\n"));
  EXPECT_TRUE(fits(p.out, "\ntime limit the accepted solutions suggest: 5 s \\(twice 2.[0-4][0-9] "
                          "s on 1 by accepted/busy.cpp, C\\+\\+\\)\n$"))
      << p.out;
  // PyPy, which reserves more address space than the memory limit, runs the same source; a
  // time_limit_exceeded solution within 1.5 times the limit is a warning, not a failure.
  std::string py = d.at("py");
  for (const char *f : {"", "/accepted", "/time_limit_exceeded"}) mkdir((py + f).c_str(), 0755);
  put(py + "/time_limit_exceeded/margin.cpp",
      before_main("while (clock() < 1.2 * CLOCKS_PER_SEC) {}"));
  bool pypy = std::system("command -v pypy3 >/dev/null") == 0;
  if (pypy) put(py + "/accepted/water.py", all.back().right);
  EXPECT_EQ(start(INVOKE_PATH, d, {"--python", pypy ? "pypy3" : "python3", py, tests}), 0);
  EXPECT_TRUE(fits(get(d.at("stdout")), "\ntime_limit_exceeded/margin.cpp: TLE, but within 1.5 "
                                        "times the limit: 1.2[0-9] s on 1 would pass"))
      << get(d.at("stdout"));
  // A full standard output: one line, status 3; no scratch folder left, then or after a refusal.
  EXPECT_EQ(start("/bin/sh", d, {"-c", "exec \"$0\" \"$@\" >/dev/full", INVOKE_PATH, sols, tests}),
            3);
  EXPECT_TRUE(fits(get(d.at("stderr")), "^[^\n]*: cannot write standard output: No space left on "
                                        "device\n$"));
  EXPECT_EQ(start(INVOKE_PATH, d, {sols + "/accepted", tests}), 2);
  unsetenv("TMPDIR");
  EXPECT_EQ(rmdir(tmp.c_str()), 0) << "something was left in TMPDIR";
}

// The folders where a tool may make memory control groups here, found from our own group as a
// tool finds them: cgroup2's top and our group when it gives memory control there (2), else our
// group in v1's memory hierarchy (1); 0 when neither is ours to write in.
int memory_groups(std::vector<std::string> *folders) {
  for (int v : {2, 1}) {
    std::istringstream mounts(get("/proc/self/mountinfo")), groups(get("/proc/self/cgroup"));
    std::string line, skip, root, mount, type, opts, path;
    while (mount.empty() && std::getline(mounts, line)) {
      std::istringstream f(line), g(line.substr(std::min(line.find(" - "), line.size())));
      std::string r, point;
      f >> skip >> skip >> skip >> r >> point;
      g >> skip >> type >> skip >> opts;
      if (v == 2 ? type == "cgroup2" : type == "cgroup" && fits(opts, "(^|,)memory(,|$)"))
        mount = point, root = r == "/" ? "" : r;
    }
    while (!mount.empty() && path.empty() && std::getline(groups, line))
      if (v == 2 ? line.compare(0, 3, "0::") == 0 : fits(line, "^[0-9]+:([^:]*,)?memory[,:]"))
        path = line.substr(line.find(':', line.find(':') + 1) + 1);
    if (path.compare(0, root.size(), root) == 0) path.erase(0, root.size());
    std::string own = mount + path;
    bool memory = v == 1 || fits(get(own + "/cgroup.controllers"), "(^| )memory( |\n|$)");
    if (!path.empty() && memory && access(own.c_str(), W_OK) == 0) {
      *folders = v == 2 ? std::vector<std::string>{mount, own} : std::vector<std::string>{own};
      return v;
    }
  }
  return 0;
}

// Each limit held while the run goes, in each way this machine has: the control group it
// can make (an empty WATER_WATCHDOG forces nothing), each group removed after, and the watchdog,
// forced, which stops a run soon after it passes its limit. Memory counts all the run's processes
// together, and past its limit it is MLE even when time runs out after it.
TEST(invoke, limits_held_while_the_run_goes) {
  if (CHECKER_SANITIZED) GTEST_SKIP() << "invoke exercises g++ and the solutions, not the judge";
  dir d;
  std::string tests = three_tests(d), sols = d.at("sols");
  const std::string kids = "#include <cstdlib>\n#include <cstring>\n#include <unistd.h>\n"
                           "#include <sys/wait.h>\nint main() {\n  for (int i = 0; i < 8; i++)\n"
                           "    if (fork() == 0) {\n      char *p = (char *)malloc(40 << 20);\n"
                           "      memset(p, 1, 40 << 20);\n      sleep(1);\n"
                           "      return p[4096] - 1;\n    }\n";
  // Memory mapped whole by children, 32 MiB each, each under its address-space limit: 8 MiB a
  // step up to 56 MiB, then 1 MiB a step, each also 10 ms of CPU time. A group's OOM killer kills
  // a child, and the parent spins on to its CPU limit.
  const std::string steps =
      "#include <csignal>\n#include <ctime>\n#include <sys/mman.h>\n#include <unistd.h>\n"
      "int main() {\n  signal(SIGPIPE, SIG_IGN);\n  int go[2], done[2];\n  char c = 0;\n"
      "  for (int mib = 0; mib < 320; mib += c) {\n    c = mib < 56 ? 8 : 1;\n"
      "    if (mib % 32 == 0) {\n      if (pipe(go) || pipe(done)) break;\n"
      "      if (fork() == 0) {\n"
      "        for (int k = 0; k < 32 && read(go[0], &c, 1) == 1; k += c)\n"
      "          if (mmap(nullptr, c << 20, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | "
      "MAP_POPULATE, -1, 0) == MAP_FAILED || write(done[1], &c, 1) != 1)\n            break;\n"
      "        for (;;) pause();\n      }\n      close(go[0]), close(done[1]);\n    }\n"
      "    if (write(go[1], &c, 1) != 1 || read(done[0], &c, 1) != 1) break;\n"
      "    for (clock_t end = clock() + (mib < 56 ? 0 : CLOCKS_PER_SEC / 100); clock() < end;) {}\n"
      "  }\n  for (;;) {}\n}\n";
  const struct {
    std::string file, source, row;
    std::string watched = ""; // what the row shows too under the watchdog
  } cases[] = {
      {"accepted/water.cpp", get(WATER_SOURCE), " +AC +- +[0-9]+: [0-9.]+ s +[0-9.]+ MiB$"},
      {"accepted/in_memory.cpp",
       before_main("struct statfs f;\n  if (statfs(\".\", &f) != 0 || f.f_type != TMPFS_MAGIC || "
                   "statfs(\"/tmp\", &f) != 0 || f.f_type != TMPFS_MAGIC) _exit(7);"),
       " +AC +- "},
      {"run_time_error/kids.cpp", kids + "  while (wait(nullptr) > 0) {}\n}\n",
       " +MLE +1 +1: [0-9.]+ s +[0-9.]+ MiB +[0-9.]+ MiB at its peak, limit 64 MiB$"},
      {"run_time_error/spin.cpp", kids + "  for (;;) {}\n}\n", " +MLE +1 .* limit 64 MiB$"},
      // Stopped within 10 MiB of its limit, which it reaches at under 0.1 s of CPU time.
      {"run_time_error/steps.cpp", steps,
       " +MLE +1 +1: [0-9.]+ s +[0-9.]+ MiB +(6[0-9]|7[0-3])\\.[0-9] MiB at its peak, limit",
       " +MLE +1 +1: 0\\.[01][0-9] s "},
      {"run_time_error/files.c",
       "#include <stdio.h>\nstatic char b[7 << 20];\nint main(void) {\n  char name[16];\n"
       "  for (int i = 0; i < 300; i++) {\n    sprintf(name, \"%d\", i);\n"
       "    FILE *f = fopen(name, \"w\");\n    if (f) fwrite(b, 1, sizeof b, f), fclose(f);\n  }\n"
       "  return puts(\"2 4 1 3 5\") < 0;\n}\n",
       " +OLE +1 .* disk full: its folder and /tmp hold 8 MiB$"},
      {"run_time_error/hog.py",
       "b = []\nwhile len(b) < 40:\n    b.append(bytearray(b'1') * (50 << 20))\n", " +MLE +1 "},
  };
  for (const char *f : {"", "/accepted", "/run_time_error"}) mkdir((sols + f).c_str(), 0755);
  for (auto &c : cases) put(sols + "/" + c.file, c.source);
  // PyPy reserves more address space than it touches, so only the hold stops it.
  std::vector<std::string> args = {"--time-limit", "0.5", "--memory-limit", "64", sols, tests};
  if (std::system("command -v pypy3 >/dev/null") == 0)
    args.insert(args.begin(), {"--python", "pypy3"});
  std::vector<std::string> groups;
  int v = memory_groups(&groups);
  std::string held =
      v ? "[^\n]*\\(cgroup v" + std::to_string(v) + "\\)" : " a (control group|watchdog)";
  // Started by a shell that tells its pid, which the tool names its folder of groups by.
  args.insert(args.begin(),
              {"-c", "echo $$ >" + d.at("pid") + "; exec \"$0\" \"$@\"", INVOKE_PATH});
  for (const char *forced : {"", "1"}) {
    setenv("WATER_WATCHDOG", forced, 1);
    printed p = run("/bin/sh", d, args);
    EXPECT_EQ(p.status, 1) << p.err;
    EXPECT_TRUE(fits(p.out, *forced ? "^memory held by a watchdog every 5 ms, [^\n]*WATER_WATCHDOG"
                                    : "^memory held by" + held))
        << p.out;
    for (auto &c : cases) {
      std::string row = line_of(p.out, c.file + " ");
      EXPECT_TRUE(fits(row, "^" + c.file + c.row)) << forced << ": " << row;
      if (*forced && !c.watched.empty()) {
        EXPECT_TRUE(fits(row, "^" + c.file + c.watched)) << row;
      }
    }
    std::string pid = get(d.at("pid"));
    for (auto &g : groups) EXPECT_FALSE(exists(g + "/water-" + pid.substr(0, pid.find('\n')))) << g;
  }
  unsetenv("WATER_WATCHDOG");
}

// The accepted solution, but -1 on the inputs where cond holds.
std::string minus_when(const std::string &cond) {
  return "#define main accepted_main\n" + get(WATER_SOURCE) +
         "#undef main\nint main() {\n  int n;\n  long long x;\n"
         "  if (scanf(\"%d %lld\", &n, &x) == 2 && (" +
         cond + ")) return puts(\"-1\") < 0;\n  rewind(stdin);\n  return accepted_main();\n}\n";
}

// hunt on solutions wrong at one pair, wrong nearly everywhere, right, and not compiling; on two
// wrong only past the small inputs, whose finds are shrunk; --add after 09, after 099 and after 3.
TEST(hunt, finds_adds_or_says_nothing_found) {
  if (CHECKER_SANITIZED) GTEST_SKIP() << "hunt exercises g++ and the solutions, not the judge";
  dir d;
  std::string tests = three_tests(d), two = d.at("two"), three = d.at("three");
  mkdir(two.c_str(), 0755), mkdir(three.c_str(), 0755);
  put(two + "/09.in", "5 0\n"), put(two + "/09.ans", "1 2 3 4 5\n");
  put(three + "/099.in", "5 0\n"), put(three + "/099.ans", "1 2 3 4 5\n");
  put(d.at("one.cpp"), minus_when("n == 7 && x == 9"));
  put(d.at("most.cpp"), minus_when("x != 0"));
  // The largest volume in 32 bits: it wraps from n = 46,343 on, and the trap at 65535 finds it.
  put(d.at("narrow.cpp"), minus_when("(int)((unsigned)(n - 1) * (unsigned)(n - 2)) / 2 < x"));
  // Wrong only at a trap's x, where it says 1, not -1: halved from 65535 to 1023, then bisected
  // in a second round.
  std::string wide = minus_when("n >= 1000 && x == 1LL << 31");
  put(d.at("wide.cpp"), wide.replace(wide.rfind("puts(\"-1\")"), 10, "puts(\"1\")"));
  std::string singles = d.at("singles");
  ASSERT_EQ(std::system(("cp -r " + tests + " " + singles).c_str()), 0);
  put(d.at("water.cpp"), get(WATER_SOURCE));
  put(d.at("broken.cpp"), "int main() { return missing; }");
  // Two subtasks: n <= 4 (tests 2 and 3; 1 is the sample) and n >= 6 (test 4).
  std::string subs = d.at("subs");
  ASSERT_EQ(std::system(("cp -r " + tests + " " + subs).c_str()), 0);
  put(subs + "/4.in", "6 0\n"), put(subs + "/4.ans", "1 2 3 4 5 6\n");
  put(subs + "/subtasks.txt", "40 n<=4\n60 n>=6\n");
  const std::string found = "\ntried [0-9]+ inputs in [0-9.]+ s\n";
  const struct {
    std::vector<std::string> args;
    int status;
    std::string out, added; // a pattern of stdout; the test added, if any
  } cases[] = {
      {{d.at("one.cpp"), tests},
       0,
       "^7 9: WA: the output says -1 \\(no solution\\) but the "
       "reference answer does not" +
           found + "$",
       ""},
      {{"--add", d.at("most.cpp"), two},
       0,
       "^([1-9]|1[0-2]) [0-9]+: WA: the output says -1[^\n]*" + found + "added '" + two +
           "/10.in' and '" + two + "/10.ans'\n$",
       two + "/10"},
      {{d.at("most.cpp"), three, "--add"}, 0, "^[0-9]+ [0-9]+: WA: ", three + "/100"},
      {{"--seconds", "1.5", "--add", d.at("water.cpp"), tests},
       1,
       "^nothing found: tried [0-9]+ inputs in 1.[5-9] s\n$",
       ""},
      {{d.at("broken.cpp"), tests},
       1,
       "^" + d.at("broken.cpp") + " does not compile: .*missing",
       ""},
      // Seconds enough for the first two stages, and the shrinking, on any load.
      {{"--seconds", "300", d.at("narrow.cpp"), tests},
       0,
       "^46343 0: WA: the output says -1 \\(no solution\\) but the reference answer does not" +
           found + "$",
       ""},
      {{"--seconds", "300", "--add", d.at("wide.cpp"), singles},
       0,
       "^1000 2147483648: WA: the reference answer says -1 \\(no solution\\) but the output "
       "does not" +
           found + "added '" + singles + "/04.in' and '" + singles + "/04.ans'\n$",
       singles + "/04"},
      {{"--subtask", "2", d.at("one.cpp"), subs},
       0,
       "^7 9: WA: the output says -1 \\(no solution\\) but the reference answer does not \\(in "
       "subtask 2\\)" +
           found + "$",
       ""},
      {{"--subtask", "1", d.at("one.cpp"), subs}, 1, "^nothing found: tried [0-9]+ inputs", ""},
      {{"--add", "--subtask=1", d.at("most.cpp"), subs},
       0,
       "^[1-4] [0-9]+: WA: [^\n]*\\(in subtask 1\\)\n",
       subs + "/05"},
      {{"--subtask", "3", d.at("one.cpp"), subs}, 2, "^$", ""},
      {{"--subtask", "1", d.at("one.cpp"), tests}, 2, "^$", ""},
  };
  for (auto &c : cases) {
    printed p = run(HUNT_PATH, d, c.args);
    EXPECT_EQ(p.status, c.status) << p.err;
    EXPECT_TRUE(fits(p.out, c.out)) << p.out;
    if (c.added.empty()) continue;
    printed v = run(VALIDATE_PATH, d, {c.added + ".in", c.added + ".ans"});
    EXPECT_EQ(v.out, "1 sound, 0 broken\n");
  }
  EXPECT_EQ(std::system(("test $(ls " + tests + " | wc -l) = 6").c_str()), 0) << "TESTS changed";
}

// What a language needs to be built and held as hosts do, one invoke a row: C links the maths
// library; Python's syntax error is the compile error's why; CPython cannot take memory past the
// limit (MLE, its memory within twice the limit), while under PyPy, which reserves far more
// address space than it touches, what is reserved and never touched does not count.
TEST(invoke, each_language_built_and_held) {
  if (CHECKER_SANITIZED) GTEST_SKIP() << "invoke exercises the compilers, not the judge";
  dir d;
  std::string tests = three_tests(d);
  const std::string right = "n, x = map(int, input().split())\n"
                            "print({5: '2 4 1 3 5', 4: '1 3 2 4'}.get(n, -1))\n";
  const struct {
    std::string tool;
    std::vector<std::string> args;
    std::string file, source, row;
  } cases[] = {
      {"gcc",
       {},
       "accepted/root.c",
       "#include <math.h>\n#include <stdio.h>\nint main(void) {\n  int n, x;\n"
       "  if (scanf(\"%d %d\", &n, &x) != 2) return 1;\n  volatile double v = n;\n"
       "  if (sqrt(v) > 1e9 || pow(2.0, v) < 0) return 1;\n"
       "  puts(n == 5 ? \"2 4 1 3 5\" : n == 4 ? \"1 3 2 4\" : \"-1\");\n  return 0;\n}\n",
       " +AC +- "},
      {"python3", {}, "accepted/open.py", "print(\n", " +CE +- +- +- +SyntaxError: "},
      {"python3",
       {"--memory-limit", "64"},
       "run_time_error/hog.py",
       "b = []\nwhile len(b) < 256:\n    b.append(bytearray(4 << 20))\n",
       " +MLE +1 +1: [0-9.]+ s +([0-9]|[1-9][0-9]|1[01][0-9]|12[0-7])\\.[0-9] MiB "},
      {"pypy3",
       {"--python", "pypy3"},
       "accepted/water.py",
       "import mmap\nreserved = mmap.mmap(-1, 1 << 30)\n" + right,
       " +AC +- "},
  };
  for (auto &c : cases) {
    if (std::system(("command -v " + c.tool + " >/dev/null").c_str()) != 0) {
      std::printf("skipped %s: %s is not installed\n", c.file.c_str(), c.tool.c_str());
      continue;
    }
    std::string sols = d.at(c.tool + "-" + c.file.substr(c.file.find('/') + 1));
    mkdir(sols.c_str(), 0755);
    mkdir((sols + "/" + c.file.substr(0, c.file.find('/'))).c_str(), 0755);
    put(sols + "/" + c.file, c.source);
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {sols, tests});
    printed p = run(INVOKE_PATH, d, args);
    EXPECT_TRUE(fits(p.out, "\n" + c.file + c.row)) << p.out << p.err;
  }
}

// A stop signal while runs go on: invoke and hunt stop them, remove their scratch folder and end
// with 128 + the signal.
TEST(invoke, stopped_leaves_nothing_running_or_on_disk) {
  if (CHECKER_SANITIZED) GTEST_SKIP() << "invoke exercises g++ and the solutions, not the judge";
  dir d;
  std::string tests = three_tests(d), sols = d.at("sols"), tmp = d.at("tmp");
  chmod(d.path.c_str(), 0711); // the sandbox's user reaches TMPDIR
  mkdir(sols.c_str(), 0755), mkdir((sols + "/accepted").c_str(), 0755), mkdir(tmp.c_str(), 0755);
  // Named after the test's folder, so that a copy of the tests run beside sees none of its own.
  const std::string held = "wh-" + d.path.substr(d.path.size() - 6);
  put(sols + "/accepted/held.cpp", "#include <sys/prctl.h>\n#include <unistd.h>\nint main() {\n"
                                   "  for (prctl(PR_SET_NAME, \"" +
                                       held + "\");;) pause();\n}\n");
  const std::string running = "cat /proc/[0-9]*/comm 2>/dev/null | grep -qxF " + held;
  const std::vector<std::string> cases[] = {
      {INVOKE_PATH, "--time-limit", "10", sols, tests},
      {HUNT_PATH, "--time-limit", "10", sols + "/accepted/held.cpp", tests},
  };
  setenv("TMPDIR", tmp.c_str(), 1);
  for (auto &c : cases) {
    std::vector<char *> argv;
    for (auto &s : c) argv.push_back(const_cast<char *>(s.c_str()));
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
      if (freopen(d.at("stdout").c_str(), "w", stdout) &&
          freopen(d.at("stderr").c_str(), "w", stderr))
        execv(argv[0], argv.data());
      _exit(127);
    }
    // A run is going once the program has named itself; it is never expected to take minutes.
    for (int k = 0; k < 6000 && std::system(running.c_str()) != 0; k++) usleep(20000);
    kill(pid, SIGTERM);
    int st;
    waitpid(pid, &st, 0);
    EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 128 + SIGTERM) << c[0] << ": " << st;
    EXPECT_NE(std::system(running.c_str()), 0) << c[0] << ": a run goes on";
    EXPECT_EQ(std::system(("test -z \"$(ls -A " + tmp + ")\"").c_str()), 0) << c[0];
  }
  unsetenv("TMPDIR");
}

// What cannot be used is refused before anything is compiled: a usage error (exit 2) or a broken
// test (exit 1, said as validate says it).
// With subtasks each row gets its points, a subtask's when every test in it is AC; a partial
// solution is judged by the points it declares. Test 1 is the sample, in no subtask.
TEST(invoke, points_by_subtask) {
  if (CHECKER_SANITIZED) GTEST_SKIP() << "invoke exercises g++ and the solutions, not the judge";
  dir d;
  std::string tests = three_tests(d), sols = d.at("sols");
  mkdir(sols.c_str(), 0755);
  put(tests + "/4.in", "1 0\n"), put(tests + "/4.ans", "1\n");
  put(tests + "/subtasks.txt", "30 n<=3 # tests 2 and 4\n70\n");
  // Right for n <= 3 alone, and right but on the sample.
  const std::string small = "#include <cstdio>\nint main() { int n; long long x; scanf(\"%d "
                            "%lld\", &n, &x);\n  puts(n == 1 && x == 0 ? \"1\" : \"-1\"); }\n",
                    all_but_sample = "#include <cstdlib>\n" + get(WATER_SOURCE) +
                                     "\nstatic int before = [] { int n; "
                                     "long long x;\n  if (scanf(\"%d %lld\", &n, &x) == 2 && n "
                                     "== 5) { puts(\"-1\"); _Exit(0); }\n  rewind(stdin); "
                                     "return 0; }();\n";
  const struct {
    std::string file, source, row, problem;
  } cases[] = {
      {"accepted/water.cpp", get(WATER_SOURCE), " +AC +100 +-", ""},
      {"accepted/small.cpp", small, " +WA +30 +1 ",
       "WA on 1, expected AC, 30 of 100 points: passes "
       "subtask 1$"},
      {"partially_accepted/small.cpp", "// @EXPECTED_SCORE@: 30\n" + small, " +WA +30 +1 ", ""},
      {"partially_accepted/fraction.cpp", "// @EXPECTED_SCORE@: 30.00\n" + small, " +WA +30 +1 ",
       ""},
      {"partially_accepted/over.cpp", "// @EXPECTED_SCORE@: 70\n" + small, " +WA +30 +1 ",
       "30 points, expected 70: passes subtask 1$"},
      {"partially_accepted/none.cpp", small, " +WA +30 +1 ",
       "no line holds @EXPECTED_SCORE@: P; it gets 30 points, passes subtask 1$"},
      {"partially_accepted/half.cpp", "// @EXPECTED_SCORE@: 30.5\n" + small, " +WA +30 +1 ",
       "@EXPECTED_SCORE@ is not followed by whole points; it gets 30 points"},
      {"wrong_answer/small.cpp", small, " +WA +30 +1 ", ""},
      {"wrong_answer/sample.cpp", all_but_sample, " +WA +100 +1 ",
       "WA on 1, yet all 100 points: only tests in no subtask reject it$"},
  };
  for (auto &c : cases) {
    std::string path = sols + "/" + c.file;
    mkdir(path.substr(0, path.rfind('/')).c_str(), 0755);
    put(path, c.source);
  }
  printed p = run(INVOKE_PATH, d, {"--jobs", "2", sols, tests});
  EXPECT_EQ(p.status, 1) << p.out << p.err;
  EXPECT_TRUE(fits(p.out, "\nsolution +verdict +points +test +slowest +memory +why\n")) << p.out;
  for (auto &c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_TRUE(fits(line_of(p.out, c.file + " "), "^" + c.file + c.row)) << p.out;
    std::string problem = line_of(p.out, c.file + ": ");
    EXPECT_TRUE(c.problem.empty() ? problem.empty() : fits(problem, c.problem)) << problem;
  }
  // Without subtasks a partial solution has no points to be judged by.
  unlink((tests + "/subtasks.txt").c_str());
  p = run(INVOKE_PATH, d, {"--jobs", "2", sols, tests});
  EXPECT_EQ(p.status, 1);
  EXPECT_EQ(line_of(p.out, "partially_accepted/small.cpp: "),
            "partially_accepted/small.cpp: not run: TESTS declares no subtasks (no subtasks.txt), "
            "so no points to score");
  EXPECT_TRUE(fits(line_of(p.out, "solution "), "^solution +verdict +test +slowest +memory +why$"));
}

TEST(invoke, refuses_bad_limits_and_broken_tests) {
  dir d;
  std::string tests = three_tests(d), sols = d.at("sols"), broken = d.at("broken");
  mkdir(sols.c_str(), 0755);
  mkdir(broken.c_str(), 0755);
  put(broken + "/1.in", "5 4\n"), put(broken + "/1.ans", "-1\n");
  // Files named only by their ending are no test; a test under two names is one test.
  std::string bare = d.at("bare"), twice = d.at("twice");
  mkdir(bare.c_str(), 0755), mkdir(twice.c_str(), 0755);
  put(bare + "/.in", "5 4\n"), put(bare + "/.ans", "2 4 1 3 5\n");
  put(twice + "/1.in", "5 4\n"), put(twice + "/1.ans", "2 4 1 3 5\n");
  symlink((twice + "/1.in").c_str(), (twice + "/2.in").c_str());
  put(twice + "/2.ans", "2 4 1 3 5\n");
  std::string points = d.at("points");
  mkdir(points.c_str(), 0755);
  put(points + "/1.in", "4 1\n"), put(points + "/1.ans", "1 3 2 4\n");
  put(points + "/subtasks.txt", "50\n50 n<3\n");
  const std::string me = INVOKE_PATH, use = "\nusage: " + me +
                                            " [--time-limit SECONDS] [--memory-limit MIB] "
                                            "[--jobs N] [--python INTERPRETER] [--unconfined] "
                                            "SOLUTIONS TESTS\n";
  const struct {
    std::vector<std::string> args;
    int status;
    std::string out, err;
  } cases[] = {
      {{"--jobs", "0", sols, tests},
       2,
       "",
       me + ": --jobs '0': expected 1 to 1024 runs at once" + use},
      {{"--time-limit", "2.0004", sols, tests},
       2,
       "",
       me + ": --time-limit '2.0004': expected seconds such as 1 or 2.5 (at most 3 decimals)" +
           use},
      {{"--time-limit=1m", sols, tests},
       2,
       "",
       me + ": --time-limit '1m': expected seconds such as 1 or 2.5 (at most 3 decimals)" + use},
      {{"--time-limit", "3600.001", sols, tests},
       2,
       "",
       me + ": --time-limit '3600.001': expected more than 0 and at most 3600 seconds" + use},
      {{"--memory-limit", "0", sols, tests},
       2,
       "",
       me + ": --memory-limit '0': expected 1 to 1048576 MiB" + use},
      {{sols}, 2, "", me + ": expected SOLUTIONS and TESTS, got 1 argument" + use},
      {{sols, tests},
       2,
       "",
       me + ": SOLUTIONS '" + sols +
           "' holds no file in accepted/, partially_accepted/, wrong_answer/, "
           "time_limit_exceeded/ or run_time_error/" +
           use},
      {{"--jobs"}, 2, "", me + ": --jobs needs a value" + use},
      {{"--python=", sols, tests},
       2,
       "",
       me + ": --python '': expected an interpreter such as pypy3" + use},
      {{"-x", sols, tests}, 2, "", me + ": unknown option '-x'" + use},
      {{"--seconds=3", sols, tests}, 2, "", me + ": unknown option '--seconds'" + use},
      {{sols, bare}, 2, "", me + ": TESTS '" + bare + "' holds no NN.in / NN.ans pair" + use},
      {{sols, twice},
       2,
       "",
       me + ": '" + twice + "/2.in' is named twice (also as '" + twice + "/1.in')" + use},
      {{sols, broken},
       1,
       broken + "/1.ans: says -1, but a permutation of 1..5 holds 4 (volumes 0..6 are reachable): "
                "`construct 5 4` writes one\n0 sound, 1 broken\n",
       me + ": '" + broken + "' holds a broken test: nothing run\n"},
      {{sols, points},
       1,
       points + "/subtasks.txt:2: 'n<3' is not a constraint: expected n<=N, n>=N, x<=X, x>=X or "
                "x=X\n",
       me + ": '" + points + "' holds a broken subtasks.txt: nothing run\n"},
  };
  for (auto &c : cases) {
    printed p = run(INVOKE_PATH, d, c.args);
    EXPECT_EQ(p.status, c.status) << c.err;
    EXPECT_EQ(p.out, c.out);
    EXPECT_EQ(p.err, c.err);
  }
}

} // namespace
