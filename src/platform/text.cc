#include "platform/text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace qm::text {

namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool SameAt(const std::string& text, size_t at, const std::string& what, bool ignoreCase) {
  if (text.size() - at < what.size()) return false;
  if (!ignoreCase) return text.compare(at, what.size(), what) == 0;
  for (size_t i = 0; i < what.size(); ++i) {
    if (LowerAscii(text[at + i]) != LowerAscii(what[i])) return false;
  }
  return true;
}

// 0-based index of the first character boundary at or after 1-based `start`.
// Boundaries are found by stepping from the beginning, as a code page whose
// trail bytes look like lead bytes requires.
size_t FirstBoundaryFrom(const std::string& text, int start) {
  size_t wanted = start > 1 ? static_cast<size_t>(start - 1) : 0;
  size_t at = 0;
  while (at < wanted && at < text.size()) at += CharLength(text, at);
  return at;
}

// The decimal digits of |value| in "d.ddd...e±x" form, `precision` digits
// after the point.
std::string ScientificDigits(double value, int precision, int* exponent) {
  char buffer[1100];
  std::snprintf(buffer, sizeof buffer, "%.*e", precision, std::fabs(value));
  char* e = std::strchr(buffer, 'e');
  *exponent = std::atoi(e + 1);
  std::string digits(1, buffer[0]);
  digits.append(buffer + 2, static_cast<size_t>(e - (buffer + 2)));
  return digits;
}

// "%.Ng" as the Windows runtime writes it: an exact tie rounds away from zero
// (glibc rounds it to even), and the exponent has at least three digits.
std::string FormatSignificant(double value, int significant) {
  if (!std::isfinite(value) || value == 0) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
  }
  // A few guard digits decide the rounding, unless they show a tie ("5000...")
  // that only the exact expansion (at most 767 digits for a double) settles.
  int exponent = 0;
  std::string digits = ScientificDigits(value, significant + 24, &exponent);
  if (digits[significant] == '5' &&
      digits.find_first_not_of('0', significant + 1) == std::string::npos) {
    digits = ScientificDigits(value, 800, &exponent);
  }
  bool roundUp = digits[significant] >= '5';
  digits.resize(significant);
  if (roundUp) {
    int at = significant - 1;
    while (at >= 0 && digits[at] == '9') digits[at--] = '0';
    if (at >= 0) {
      ++digits[at];
    } else {
      digits.insert(digits.begin(), '1');
      digits.pop_back();
      ++exponent;
    }
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = value < 0 ? "-" : "";
  if (exponent < -4 || exponent >= significant) {
    out += digits[0];
    if (digits.size() > 1) out += "." + digits.substr(1);
    std::string power = std::to_string(exponent < 0 ? -exponent : exponent);
    if (power.size() < 3) power.insert(0, 3 - power.size(), '0');
    out += (exponent < 0 ? "e-" : "e+") + power;
  } else if (exponent < 0) {
    out += "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
  } else {
    size_t integerDigits = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= integerDigits) {
      out += digits + std::string(integerDigits - digits.size(), '0');
    } else {
      out += digits.substr(0, integerDigits) + "." + digits.substr(integerDigits);
    }
  }
  return out;
}

}  // namespace

int CharLength(const std::string& text, size_t at) {
  if (at >= text.size()) return 1;
  const auto lead = static_cast<unsigned char>(text[at]);
  int length;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 1;
  }
  if (text.size() - at < static_cast<size_t>(length)) return 1;
  const auto second = static_cast<unsigned char>(text[at + 1]);
  if (second < low || second > high) return 1;
  for (int i = 2; i < length; ++i) {
    if (!IsContinuation(static_cast<unsigned char>(text[at + i]))) return 1;
  }
  return length;
}

char32_t CodePointAt(const std::string& text, size_t at) {
  if (at >= text.size()) return 0;
  static constexpr unsigned char kLeadBits[] = {0, 0xFF, 0x1F, 0x0F, 0x07};
  const int length = CharLength(text, at);
  char32_t code = static_cast<unsigned char>(text[at]) & kLeadBits[length];
  for (int i = 1; i < length; ++i) {
    code = (code << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3F);
  }
  return code;
}

int Length(const std::string& text) { return static_cast<int>(text.size()); }

std::string Left(const std::string& text, int n) {
  if (n <= 0) return {};
  return text.substr(0, static_cast<size_t>(n));
}

std::string Right(const std::string& text, int n) {
  if (n <= 0) return {};
  size_t count = static_cast<size_t>(n);
  return count >= text.size() ? text : text.substr(text.size() - count);
}

std::string Mid(const std::string& text, int start, int n) {
  size_t from = start > 1 ? static_cast<size_t>(start - 1) : 0;
  if (from >= text.size() || n == 0) return {};
  return n < 0 ? text.substr(from) : text.substr(from, static_cast<size_t>(n));
}

int Find(const std::string& text, const std::string& what, int start, bool ignoreCase) {
  if (what.empty()) return -1;
  for (size_t at = FirstBoundaryFrom(text, start); at < text.size(); at += CharLength(text, at)) {
    if (SameAt(text, at, what, ignoreCase)) return static_cast<int>(at + 1);
  }
  return -1;
}

std::string Replace(const std::string& text, const std::string& what, const std::string& with,
                    int start) {
  if (what.empty()) return text;
  size_t at = FirstBoundaryFrom(text, start);
  std::string out = text.substr(0, at);
  while (at < text.size()) {
    if (SameAt(text, at, what, false)) {
      out += with;
      at += what.size();
    } else {
      size_t next = at + CharLength(text, at);
      out.append(text, at, next - at);
      at = next;
    }
  }
  return out;
}

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> pieces;
  if (text.empty()) return pieces;
  if (separator.empty()) return {text};
  size_t pieceStart = 0;
  size_t at = 0;
  while (at < text.size()) {
    if (SameAt(text, at, separator, false)) {
      pieces.push_back(text.substr(pieceStart, at - pieceStart));
      at += separator.size();
      pieceStart = at;
    } else {
      at += CharLength(text, at);
    }
  }
  if (pieceStart < text.size()) pieces.push_back(text.substr(pieceStart));
  return pieces;
}

std::string UpperAscii(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return out;
}

int CharCode(const std::string& text, int at) {
  if (at < 1 || static_cast<size_t>(at) > text.size()) return 0;
  return static_cast<signed char>(text[static_cast<size_t>(at - 1)]);
}

int64_t ToInteger(const std::string& text) {
  size_t at = 0;
  while (at < text.size() && IsBlank(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  // Accumulate as a negative number: its range holds the most negative value.
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  int64_t value = 0;
  bool saturated = false;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    int digit = text[at] - '0';
    if (value < (kMin + digit) / 10) {
      saturated = true;
      break;
    }
    value = value * 10 - digit;
  }
  if (negative) return saturated ? kMin : value;
  if (saturated || value == kMin) return std::numeric_limits<int64_t>::max();
  return -value;
}

std::string FoldFullWidth(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    int length = CharLength(text, at);
    if (length == 3) {
      const char32_t code = CodePointAt(text, at);
      if (code >= 0xFF01 && code <= 0xFF5E) {
        out += static_cast<char>(code - 0xFF01 + 0x21);
        at += 3;
        continue;
      }
      if (code == 0x3000) {
        out += ' ';
        at += 3;
        continue;
      }
    }
    out.append(text, at, static_cast<size_t>(length));
    at += static_cast<size_t>(length);
  }
  return out;
}

std::string FromInteger(int64_t value) { return std::to_string(value); }

std::string FromFloat(float value) { return FormatSignificant(value, 6); }

std::string FromDouble(double value) { return FormatSignificant(value, 13); }

}  // namespace qm::text
