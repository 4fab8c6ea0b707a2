// Runs one of the built programs as a child process for the end-to-end
// tests: chosen arguments and environment, standard input from /dev/null,
// standard output and error captured, a time limit.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace ltb::e2e {

struct ProgramResult {
  int status = -1;     // exit status; -1 when killed or not started
  int signal = 0;      // the signal that ended it, 0 when it exited
  std::string output;  // standard output and error, in order
};

// A child started by StartProgram and not yet waited for.
struct StartedProgram {
  int pid = -1;
  int outputFd = -1;
  std::string outputFile;
};

// The folder where the build puts the programs and ZenkitDef.ini, or
// $LTB_TEST_PROGRAM_DIR when set (a copy the test command makes for a run
// as another user).
std::string ProgramDir();

// The golden reports (tests/golden), or $LTB_TEST_GOLDEN_DIR when set.
std::string GoldenDir();

// Runs program with args; env entries replace or add variables (an empty
// value removes one). Killed after timeoutSeconds. Started in workDir when
// one is given.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::map<std::string, std::string>& env, int timeoutSeconds = 120,
                         const std::string& workDir = {});
// RunProgram in two halves, for a test that acts while the child runs;
// shellPrefix, when given, runs the program through "sh -c '<prefix> exec
// program args'" (say "ulimit -f 8;").
StartedProgram StartProgram(const std::string& program, const std::vector<std::string>& args,
                            const std::map<std::string, std::string>& env,
                            const std::string& shellPrefix = "", const std::string& workDir = {});
ProgramResult FinishProgram(StartedProgram& started, int timeoutSeconds = 120);

// A fresh temporary folder, removed with everything in it on destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

std::string ReadWholeFile(const std::string& path);

// Terminal output is UTF-8 while the tests' narrow literals become CP932:
// u8"..." literals are compared through this.
inline std::string Utf8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

inline bool Contains(const std::string& haystack, const std::string& needle) {
  return haystack.find(needle) != std::string::npos;
}
void WriteWholeFile(const std::string& path, const std::string& data);

}  // namespace ltb::e2e
