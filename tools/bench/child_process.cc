#include "tools/bench/child_process.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace ltb::bench {
namespace {

double Now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// The name of an environment entry ("NAME=value" or a bare "NAME").
std::string NameOf(const std::string& entry) { return entry.substr(0, entry.find('=')); }

// The environment of the child: ours, with `overrides` replacing, adding or
// (a bare name) removing entries.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& overrides) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string entry = *e;
    bool replaced = std::any_of(overrides.begin(), overrides.end(),
                                [&](const std::string& o) { return NameOf(o) == NameOf(entry); });
    if (!replaced) env.push_back(entry);
  }
  for (const std::string& o : overrides) {
    if (o.find('=') != std::string::npos) env.push_back(o);
  }
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> p;
  for (std::string& s : strings) p.push_back(s.data());
  p.push_back(nullptr);
  return p;
}

}  // namespace

bool RunChild(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
              const std::string& outputFile, ChildRun* run, std::string* error) {
  if (argv.empty()) {
    *error = "no program to run";
    return false;
  }
  // Everything the child needs is prepared before fork, so the child only
  // redirects and calls exec.
  std::vector<std::string> args = argv;
  std::vector<std::string> env = ChildEnvironment(environment);
  std::vector<char*> argp = Pointers(args), envp = Pointers(env);
  const std::string out = outputFile.empty() ? "/dev/null" : outputFile;

  const double start = Now();
  pid_t pid = fork();
  if (pid < 0) {
    *error = std::string("fork failed: ") + std::strerror(errno);
    return false;
  }
  if (pid == 0) {
    int in = open("/dev/null", O_RDONLY);
    int sink = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || sink < 0) _exit(126);
    dup2(in, 0);
    dup2(sink, 1);
    dup2(sink, 2);
    execve(argp[0], argp.data(), envp.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  while (wait4(pid, &status, 0, &usage) < 0) {
    if (errno != EINTR) {
      *error = std::string("wait4 failed: ") + std::strerror(errno);
      return false;
    }
  }
  run->wallSeconds = Now() - start;
  run->peakRssKb = usage.ru_maxrss;
  run->cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                    static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  run->exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (run->exitStatus == 127) {
    *error = "cannot run " + argv[0];
    return false;
  }
  return true;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace ltb::bench
