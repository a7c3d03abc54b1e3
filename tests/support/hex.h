// Bytes from hexadecimal text, for known-answer tables.
#pragma once

#include <string>

namespace qm::testing {

inline std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  }
  return bytes;
}

}  // namespace qm::testing
