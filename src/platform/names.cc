#include "platform/names.h"

#include <cstring>

#include "platform/text.h"

namespace qm::names {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

// True when the character of `a` at `ai` equals the one of `b` at `bi`, both
// `length` bytes long, ASCII letter case ignored.
bool SameChar(const std::string& a, size_t ai, const std::string& b, size_t bi, int length) {
  if (length == 1) return LowerAscii(a[ai]) == LowerAscii(b[bi]);
  return a.compare(ai, static_cast<size_t>(length), b, bi, static_cast<size_t>(length)) == 0;
}

bool MatchPlain(const std::string& pattern, const std::string& name) {
  // Greedy match that backtracks to the last `*`, one character at a time.
  size_t p = 0, n = 0;
  size_t starP = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = ++p;
      starN = n;
      continue;
    }
    if (p < pattern.size()) {
      int nameLength = text::CharLength(name, n);
      if (pattern[p] == '?') {
        ++p;
        n += static_cast<size_t>(nameLength);
        continue;
      }
      if (text::CharLength(pattern, p) == nameLength && SameChar(pattern, p, name, n, nameLength)) {
        p += static_cast<size_t>(nameLength);
        n += static_cast<size_t>(nameLength);
        continue;
      }
    }
    if (starP == std::string::npos) return false;
    starN += static_cast<size_t>(text::CharLength(name, starN));
    n = starN;
    p = starP;
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool EndsWith(const std::string& s, const char* tail) {
  size_t length = std::strlen(tail);
  return s.size() >= length && s.compare(s.size() - length, length, tail) == 0;
}

}  // namespace

bool IsWindowsName(const std::string& name) {
  if (name.empty()) return false;
  for (size_t at = 0; at < name.size();) {
    const auto byte = static_cast<unsigned char>(name[at]);
    int length = text::CharLength(name, at);
    if (byte < 0x20 || std::strchr("\\/:*?\"<>|", byte)) return false;
    if (byte >= 0x80 && length == 1) return false;  // not valid UTF-8
    at += static_cast<size_t>(length);
  }
  return true;
}

bool IsProfileName(const std::string& name) {
  return IsWindowsName(name) && name.find_first_not_of(". ") != std::string::npos;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  size_t common = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < common; ++i) {
    const auto x = static_cast<unsigned char>(UpperAscii(a[i]));
    const auto y = static_cast<unsigned char>(UpperAscii(b[i]));
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

bool MatchesWildcard(const std::string& pattern, const std::string& name) {
  if (MatchPlain(pattern, name)) return true;
  if (EndsWith(pattern, ".*")) return MatchPlain(pattern.substr(0, pattern.size() - 2), name);
  if (EndsWith(pattern, ".") && name.find('.') == std::string::npos) {
    return MatchPlain(pattern.substr(0, pattern.size() - 1), name);
  }
  return false;
}

}  // namespace qm::names
