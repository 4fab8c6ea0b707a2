#include "platform/drive_type_probe.h"

#include <sys/statfs.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace ltb::platform {
namespace {

// statfs magic numbers (linux/magic.h and the file systems' own sources).
constexpr unsigned long kNfs = 0x6969;
constexpr unsigned long kSmb = 0x517B;
constexpr unsigned long kCifs = 0xFF534D42;
constexpr unsigned long kSmb2 = 0xFE534D42;
constexpr unsigned long kV9fs = 0x01021997;
constexpr unsigned long kFuse = 0x65735546;
constexpr unsigned long kIso9660 = 0x9660;
constexpr unsigned long kUdf = 0x15013346;
constexpr unsigned long kTmpfs = 0x01021994;
constexpr unsigned long kRamfs = 0x858458F6;

// Undoes the octal escapes (\040 for a blank) of /proc/self/mountinfo.
std::string UnescapeMountField(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 3 < s.size()) {
      std::string oct = s.substr(i + 1, 3);
      if (oct.find_first_not_of("01234567") == std::string::npos) {
        out += static_cast<char>(std::strtol(oct.c_str(), nullptr, 8));
        i += 3;
        continue;
      }
    }
    out += s[i];
  }
  return out;
}

// The file-system type of the mount holding folder (the mount whose mount
// point is the longest prefix of it), from /proc/self/mountinfo.
std::string MountTypeOf(const std::string& folder) {
  char* real = ::realpath(folder.c_str(), nullptr);
  std::string path = real ? real : folder;
  std::free(real);
  std::ifstream in("/proc/self/mountinfo");
  std::string line, best, bestType;
  while (std::getline(in, line)) {
    // id parent major:minor root mountpoint options ... - fstype source ...
    std::istringstream fields(line);
    std::string id, parent, dev, root, mountPoint;
    fields >> id >> parent >> dev >> root >> mountPoint;
    size_t dash = line.find(" - ");
    if (dash == std::string::npos) continue;
    std::istringstream tail(line.substr(dash + 3));
    std::string type;
    tail >> type;
    mountPoint = UnescapeMountField(mountPoint);
    bool inside = mountPoint == "/" || path == mountPoint ||
                  (path.starts_with(mountPoint) && path[mountPoint.size()] == '/');
    // Later lines are later mounts: on an equal mount point the last wins.
    if (inside && mountPoint.size() >= best.size()) {
      best = mountPoint;
      bestType = type;
    }
  }
  return bestType;
}

}  // namespace

DriveType DriveTypeOf(unsigned long magic, const std::string& fuseType) {
  switch (magic) {
    case kNfs:
    case kSmb:
    case kCifs:
    case kSmb2:
    case kV9fs: return DriveType::kRemote;
    case kIso9660:
    case kUdf: return DriveType::kCdRom;
    case kTmpfs:
    case kRamfs: return DriveType::kRamDisk;
    case kFuse: return fuseType == "fuse.sshfs" ? DriveType::kRemote : DriveType::kFixed;
    default: return DriveType::kFixed;
  }
}

DriveType ProbeDriveType(const std::string& linuxFolder) {
  struct statfs fs;
  if (::statfs(linuxFolder.c_str(), &fs) != 0) return DriveType::kNoRootDir;
  unsigned long magic = static_cast<unsigned long>(fs.f_type) & 0xFFFFFFFFul;
  std::string fuseType = magic == kFuse ? MountTypeOf(linuxFolder) : std::string();
  return DriveTypeOf(magic, fuseType);
}

}  // namespace ltb::platform
