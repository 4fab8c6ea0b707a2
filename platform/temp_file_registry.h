// The process's list of temporary files, and the clean-up that removes them
// when the process is interrupted or exits, so an interrupted run leaves
// nothing half-written behind.
//
// The real Env puts every temporary file it creates on the list and takes
// it off when the file is renamed or removed through it. Paths are Linux
// paths.
#pragma once

#include <string>

namespace ltb::platform {

// Adds a path to the list. False when the list is full or the path is too
// long; that file then stays behind an interrupted run.
bool RegisterTempFile(const std::string& linuxPath);
// Creates the file exclusively (never through an existing name or link;
// mode 0666 less the umask) and lists it, with the clean-up signals held
// back in between, so an interruption never finds the file made but not
// listed. The descriptor, or -1 with errno set.
int CreateListedTempFile(const std::string& linuxPath);
// Gives the unnamed file open at fd (O_TMPFILE) the name linuxPath, never
// through an existing name or link, and lists it, as CreateListedTempFile
// does. False with errno set.
bool LinkListedTempFile(int fd, const std::string& linuxPath);
// Takes the path off the list, if it is there.
void ForgetTempFile(const std::string& linuxPath);

// Once per process: every catchable signal whose default action ends the
// process (SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGABRT, SIGUSR1, SIGALRM, the
// real-time signals, ...), unless it is ignored or already handled, first
// removes the listed files and then ends the process by the signal's
// default action; a normal exit removes them too. SIGXFSZ is ignored, so a
// write past the file-size limit fails as an ordinary write (EFBIG) and
// the run reports it instead of being killed in the middle of a file.
void InstallTempFileCleanup();

// Removes every listed file now. Async-signal-safe.
void RemoveTempFiles();

}  // namespace ltb::platform
