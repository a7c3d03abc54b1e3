#include "scan/sizes.h"

#include "platform/text.h"

namespace qm {

int64_t FolderSize(Platform& platform, const std::string& path, const StopCheck& stop) {
  return platform.FolderSize(path, stop);
}

int64_t FileSize(Platform& platform, const std::string& path) {
  // The platform answers -1 for a missing entry and 0 for anything but a file.
  int64_t size = platform.FileSize(path);
  return size < 0 ? 0 : size;
}

float ConvertSize(float value, SizeUnit from, SizeUnit to) {
  int steps = static_cast<int>(to) - static_cast<int>(from);
  for (; steps > 0; --steps) value = value / 1024.0f;
  for (; steps < 0; ++steps) value = value * 1024.0f;
  return value;
}

std::string FormatSize(float value) {
  // FromFloat already rounds an exact tie away from zero and writes the
  // three-digit exponent.
  return text::FromFloat(value);
}

std::string KilobytesText(int64_t bytes) {
  return FormatSize(ConvertSize(static_cast<float>(bytes), SizeUnit::kBytes, SizeUnit::kKilobytes));
}

std::string MegabytesText(int64_t bytes) {
  return FormatSize(ConvertSize(static_cast<float>(bytes), SizeUnit::kBytes, SizeUnit::kMegabytes));
}

}  // namespace qm
