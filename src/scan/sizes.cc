#include "scan/sizes.h"

#include <cmath>

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

namespace {

// `value` times ten to the `power`, dividing for negative powers so that
// powers of ten up to 10^22 stay exact.
double ScaleByTen(double value, int power) {
  return power >= 0 ? value * std::pow(10.0, power) : value / std::pow(10.0, -power);
}

// `value` rounded to six significant decimal digits, half away from zero.
// printf alone would round the exact binary value half to even instead, so
// 0.0009765625 would lose its last digit.
double RoundToSixDigits(double value) {
  if (value == 0 || !std::isfinite(value)) return value;
  double magnitude = std::fabs(value);
  int power = 5 - static_cast<int>(std::floor(std::log10(magnitude)));
  double scaled = ScaleByTen(magnitude, power);
  // log10 can miss by one next to a power of ten: six digits before the point.
  if (scaled >= 1e6) {
    scaled = ScaleByTen(magnitude, --power);
  } else if (scaled < 1e5) {
    scaled = ScaleByTen(magnitude, ++power);
  }
  double whole = std::floor(scaled);
  if (scaled - whole >= 0.5) whole += 1;
  double rounded = ScaleByTen(whole, -power);
  return value < 0 ? -rounded : rounded;
}

}  // namespace

std::string FormatSize(float value) {
  return text::FromFloat(static_cast<float>(RoundToSixDigits(value)));
}

std::string KilobytesText(int64_t bytes) {
  return FormatSize(ConvertSize(static_cast<float>(bytes), SizeUnit::kBytes, SizeUnit::kKilobytes));
}

std::string MegabytesText(int64_t bytes) {
  return FormatSize(ConvertSize(static_cast<float>(bytes), SizeUnit::kBytes, SizeUnit::kMegabytes));
}

}  // namespace qm
