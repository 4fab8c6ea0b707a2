// The settings file that remembers, per user and dataset, the method, the
// month range and the output path of the last finished run.
//
// One record per line, CP932 bytes, LF line ends, no header:
//   <userId>/<no1>/<no2>:<mode>/<start>/<end>/<output path>\n
// Records of other users and datasets are kept byte for byte. A key matches
// only at the start of a line, so a user id that ends with another user's id
// never picks up that user's record. The file is rewritten beside itself
// and renamed over the old one, so a crash or a full disk leaves either the
// old or the new file whole.
//
// The file's folder is shared by every user of the ledger. A rewrite holds
// an advisory lock on "<file>.lock" (never removed) from the read to the
// rename, so runs that finish at the same moment each keep their record;
// the new file keeps the old one's permission bits and group. Only a
// regular file is read or replaced: a link, FIFO, device or folder at the
// name is left alone, and the run goes on without remembered settings,
// saying so on standard error.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/env.h"

namespace ltb::dialog {

struct RememberedRecord {
  int32_t mode = 0;  // 0 journal aggregation, 1 tax-return values
  int16_t startMonth = 0;
  int16_t endMonth = 0;
  std::string outputPath;  // CP932, at most 260 bytes, cut on a whole character
};

// "userId/no1/no2:"
std::string SettingsKey(std::string_view userId, long no1, long no2);

// The whole record line, ending in LF.
std::string SettingsLine(std::string_view key, int32_t mode, int16_t startMonth, int16_t endMonth,
                         std::string_view outputPath);

// The record of key in the file's text; false when there is none or it is
// damaged (fewer than three "/" after the key).
bool FindRememberedRecord(std::string_view fileText, std::string_view key,
                          RememberedRecord* record);

// The longest settings file that is read; a longer one is left alone.
inline constexpr size_t kSettingsFileLimit = 4 * 1024 * 1024;
// How long a rewrite waits for another run's lock.
inline constexpr int kSettingsLockWaitMs = 10000;

// Reads the record of key from the file; false when the file or the record
// is missing, unreadable or damaged. A file that is there but cannot be
// used (not a regular file, too long, unreadable) is named on standard
// error.
bool LoadRememberedRecord(platform::Env& env, const std::string& filePath, std::string_view key,
                          RememberedRecord* record);

// The file's new text: the old text without the key's line, then newLine.
std::string ReplaceRememberedRecord(std::string_view oldText, std::string_view key,
                                    std::string_view newLine);

// Writes newLine as the key's record into folder + fileName, creating the
// folder with all missing levels, under the file's lock. On any failure
// the old file is untouched, the failure is returned, and a file that
// cannot be used or written, or a lock that cannot be taken, is named on
// standard error with the reason.
platform::IoStatus StoreRememberedRecord(platform::Env& env, const std::string& folder,
                                         const std::string& fileName, std::string_view key,
                                         std::string_view newLine);

}  // namespace ltb::dialog
