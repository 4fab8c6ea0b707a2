// The real Env: files, folders and drives of the Linux file system, reached
// through a drive table that the process builds at start.
#pragma once

#include <memory>
#include <string>

#include "platform/env.h"
#include "platform/win_path.h"

namespace ltb::platform {

// An Env that maps Windows paths onto the Linux file system through
// `drives`. TempPath gives the Windows form of tempDir (a Linux folder),
// or of /tmp when tempDir is empty, not absolute or not mapped. Its
// temporary files go on the process's list (platform/temp_file_registry.h)
// whichever real Env made them. Each real Env keeps its own current folder
// in Windows form, learnt from the process's on first use; a process
// that changes it uses one real Env for that. With unnamedTempFiles its
// temporary files have no name until they are closed whole, where the file
// system allows (O_TMPFILE); without, they are named from the start, as on
// file systems that do not allow it.
std::unique_ptr<Env> NewPosixEnv(DriveTable drives, std::string tempDir = {},
                                 bool unnamedTempFiles = true);

// Reads the Linux file at linuxPath only when it is a regular file (a link
// to one is followed only with followLink): opening never blocks (a FIFO
// is refused unopened or unread), and at most maxBytes are read; a longer
// file gives kTooLarge. On kFailed errno tells why.
ReadStatus ReadRegularLinuxFile(const std::string& linuxPath, bool followLink, std::string* data,
                                size_t maxBytes);

}  // namespace ltb::platform
