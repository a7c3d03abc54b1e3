#include "platform/names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace qm::names {
namespace {

TEST(NamesTest, WindowsNames) {
  struct Case {
    std::string name;
    bool valid;
  };
  const Case cases[] = {
      {"report.txt", true},   {".hidden", true},    {"\xE4\xB8\xAD\xE6\x96\x87", true},
      {"$RECYCLE.BIN", true}, {"a b", true},        {"", false},
      {"x|C:", false},        {"a\\b", false},      {"a/b", false},
      {"a:b", false},         {"a*", false},        {"a?", false},
      {"\"q\"", false},       {"<a>", false},       {"tab\tname", false},
      {"nl\n", false},        {"bad\xFF", false},   {"cut\xE4\xB8", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsWindowsName(c.name), c.valid) << ::testing::PrintToString(c.name);
}

TEST(NamesTest, ProfileNames) {
  for (const char* name : {"alice", "Bob Smith", ".alice", "a.b", "\xE5\xBC\xA0\xE4\xB8\x89"}) {
    EXPECT_TRUE(IsProfileName(name)) << name;
  }
  for (const char* name : {"", ".", "..", "...", " ", ". .", "a|C:", "a\\..", "../b", "x:"}) {
    EXPECT_FALSE(IsProfileName(name)) << name;
  }
}

TEST(NamesTest, WildcardsFollowWindows) {
  struct Case {
    std::string pattern, name;
    bool matches;
  };
  const Case cases[] = {
      {"*", "anything", true},
      {"*.*", "noext", true},
      {"*.*", "a.b.c", true},
      {"*.log", "ERROR.LOG", true},
      {"*.log", "a.log.txt", false},
      {"*.log", "log", false},
      {"?.txt", "a.txt", true},
      {"?.txt", "\xE4\xB8\xAD.txt", true},  // ? takes one whole character
      {"??.txt", "\xE4\xB8\xAD.txt", false},
      {"a*b*c", "aXXbYYc", true},
      {"a*b*c", "aXXbYY", false},
      {"*~", "doc.txt~", true},
      {"foo.*", "foo", true},
      {"*.", "noext", true},
      {"*.", "has.ext", false},
      {"Temp", "TEMP", true},
      {"Temp", "Temp2", false},
      {"*cache*", "Web-Cache-Data", true},
      {"\xE4\xB8\xAD*", "\xE4\xB8\xAD\xE6\x96\x87.log", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
  }
}

TEST(NamesTest, OrderIgnoresCaseThenBytes) {
  std::vector<std::string> names{"b", "B", "a", "_x", "A", "ab"};
  std::sort(names.begin(), names.end(), LessIgnoringCase);
  EXPECT_EQ(names, (std::vector<std::string>{"A", "a", "ab", "B", "b", "_x"}));
}

}  // namespace
}  // namespace qm::names
