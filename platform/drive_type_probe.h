// The Windows drive type of a mapped Linux folder, from its file system.
#pragma once

#include <string>

#include "platform/env.h"

namespace ltb::platform {

// kNoRootDir when the folder cannot be examined; kRemote for network file
// systems (NFS, CIFS/SMB, 9p, sshfs), kCdRom for ISO 9660 and UDF, kRamDisk
// for tmpfs and ramfs, kFixed for everything else.
DriveType ProbeDriveType(const std::string& linuxFolder);

// The same decision from a statfs magic number and, for FUSE, the type
// name of the mount ("fuse.sshfs").
DriveType DriveTypeOf(unsigned long magic, const std::string& fuseType);

}  // namespace ltb::platform
