// Sizes of what the scanner finds and the cleaner removes, and their display:
// bytes shown in kilobytes or megabytes through a single-precision float.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace qm {

enum class SizeUnit : int { kBytes = 1, kKilobytes = 2, kMegabytes = 3 };

// Bytes of the folder with everything below it; 0 when the path names no
// readable folder; -1 when the folder-size service is unavailable. `stop` is
// asked between entries; a stopped walk gives the bytes counted so far.
int64_t FolderSize(Platform& platform, const std::string& path, const StopCheck& stop = {});
// Bytes of the file; 0 when no entry exists for the path or it is no file.
int64_t FileSize(Platform& platform, const std::string& path);
// `value` converted between units, each 1024 times the one before; the value
// is kept as a float after every step.
float ConvertSize(float value, SizeUnit from, SizeUnit to);
// Six significant digits, rounded half away from zero, as "%.6g" writes them
// with a three-digit exponent ("1.5", "0.000976563", "9.53674e-005").
std::string FormatSize(float value);

// The byte count as the size cell of a result row shows it: kilobytes.
std::string KilobytesText(int64_t bytes);
// The byte count as the status texts show it: megabytes.
std::string MegabytesText(int64_t bytes);

}  // namespace qm
