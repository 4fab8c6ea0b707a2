// Makes a Linux folder read-only for as long as the object lives, also when
// the tests run as root, whom permissions do not stop: root mounts a small
// tmpfs over the folder and remounts it read-only; anybody else drops the
// folder's permissions to 0555. Files given to the constructor are placed in
// the folder before it turns read-only.
#pragma once

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <string>

namespace ltb::platform::testing {

class ReadOnlyFolder {
 public:
  // REQUIRES: folder exists.
  explicit ReadOnlyFolder(std::string folder, const std::map<std::string, std::string>& files = {})
      : folder_(std::move(folder)) {
    if (::geteuid() == 0) {
      if (::mount("tmpfs", folder_.c_str(), "tmpfs", 0, "size=256k") != 0) return;
      mounted_ = true;
      Place(files);
      ok_ = ::mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    } else {
      Place(files);
      ok_ = ::chmod(folder_.c_str(), 0555) == 0;
    }
  }
  ~ReadOnlyFolder() {
    if (mounted_) ::umount(folder_.c_str());
    ::chmod(folder_.c_str(), 0755);
  }
  ReadOnlyFolder(const ReadOnlyFolder&) = delete;
  ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

  // False when the folder could not be made read-only here (skip the test).
  bool ok() const { return ok_; }

 private:
  void Place(const std::map<std::string, std::string>& files) {
    for (const auto& [name, data] : files) {
      std::ofstream(folder_ + "/" + name, std::ios::binary) << data;
    }
  }

  std::string folder_;
  bool mounted_ = false;
  bool ok_ = false;
};

}  // namespace ltb::platform::testing
