#include "tests/program_runner.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace ltb::e2e {

namespace {

std::string FromEnvOr(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : fallback;
}

}  // namespace

std::string ProgramDir() { return FromEnvOr("LTB_TEST_PROGRAM_DIR", LTB_PROGRAM_DIR); }

std::string GoldenDir() { return FromEnvOr("LTB_TEST_GOLDEN_DIR", LTB_GOLDEN_DIR); }

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::map<std::string, std::string>& env, int timeoutSeconds,
                         const std::string& workDir) {
  StartedProgram started = StartProgram(program, args, env, "", workDir);
  return FinishProgram(started, timeoutSeconds);
}

StartedProgram StartProgram(const std::string& program, const std::vector<std::string>& args,
                            const std::map<std::string, std::string>& env,
                            const std::string& shellPrefix, const std::string& workDir) {
  StartedProgram started;
  std::map<std::string, std::string> vars;
  for (char** e = environ; *e; ++e) {
    std::string kv(*e);
    const size_t eq = kv.find('=');
    if (eq != std::string::npos) vars[kv.substr(0, eq)] = kv.substr(eq + 1);
  }
  for (const auto& [k, v] : env) {
    if (v.empty())
      vars.erase(k);
    else
      vars[k] = v;
  }
  std::vector<std::string> envStrings;
  for (const auto& [k, v] : vars) envStrings.push_back(k + "=" + v);
  std::vector<char*> envp, argv;
  for (auto& s : envStrings) envp.push_back(s.data());
  envp.push_back(nullptr);
  std::vector<std::string> argStrings = {program};
  argStrings.insert(argStrings.end(), args.begin(), args.end());
  if (!shellPrefix.empty()) {
    // sh -c '<prefix> exec "$0" "$@"' program args...
    argStrings.insert(argStrings.begin(), {"/bin/sh", "-c", shellPrefix + " exec \"$0\" \"$@\""});
  }
  for (auto& s : argStrings) argv.push_back(s.data());
  argv.push_back(nullptr);

  char outName[] = "/tmp/ltb-e2e-out-XXXXXX";
  const int outFd = mkstemp(outName);
  if (outFd < 0) return started;
  const pid_t pid = fork();
  if (pid == 0) {
    // As from a terminal: whatever the test runner ignores, the program
    // gets the default actions.
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGALRM, SIGXFSZ}) {
      signal(sig, SIG_DFL);
    }
    const int in = open("/dev/null", O_RDONLY);
    dup2(in, 0);
    dup2(outFd, 1);
    dup2(outFd, 2);
    if (!workDir.empty() && chdir(workDir.c_str()) != 0) _exit(126);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  started.pid = pid;
  started.outputFd = outFd;
  started.outputFile = outName;
  return started;
}

ProgramResult FinishProgram(StartedProgram& started, int timeoutSeconds) {
  ProgramResult result;
  if (started.pid < 0) return result;
  const pid_t pid = started.pid;
  int status = 0;
  // <chrono> does not build with the CP932 execution character set; the
  // limit is counted in 20 ms naps instead.
  for (long naps = 0; waitpid(pid, &status, WNOHANG) == 0; ++naps) {
    if (naps > timeoutSeconds * 50L) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    usleep(20000);
  }
  close(started.outputFd);
  result.output = ReadWholeFile(started.outputFile);
  unlink(started.outputFile.c_str());
  started.pid = -1;
  if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  return result;
}

TempDir::TempDir() {
  char name[] = "/tmp/ltb-e2e-XXXXXX";
  path_ = mkdtemp(name) ? name : "";
}

TempDir::~TempDir() {
  std::error_code ec;
  if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteWholeFile(const std::string& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary);
  out << data;
}

}  // namespace ltb::e2e
