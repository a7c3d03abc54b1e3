// The rules document: a JSON text loaded into a JsonObject, answering the
// category, group and rule-entry queries of its fixed layout:
//   { "Type": [ { K: [ { first, G1: [ {"Info": {...}}, ... ], G2: ... } ] }, ... ] }
// Category i is Type[i]; its first member K holds the group object, whose first
// member is not a group; each following member G is one rule group.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "json/json_object.h"

namespace qm {

class Platform;

// One rule entry of the document.
struct JunkRule {
  std::string Name;  // the junk type shown in the result list
  std::string Path;  // path template, or several joined by "|"
  std::string Rule;  // "|"-separated match rules
  int32_t Defaylt = 0;
};

class RulesDocument final {
 public:
  RulesDocument() = default;
  RulesDocument(const RulesDocument&) = default;
  RulesDocument& operator=(const RulesDocument&) = delete;

  // Reads the file (opened for reading and writing) and loads its text up to
  // the first zero byte. False when the file cannot be opened or does not load.
  bool LoadFile(Platform& platform, const std::string& fileName);
  // Loads the bytes up to the first zero byte; every load replaces the document.
  bool LoadBytes(const std::string& bytes);
  int CategoryCount();
  std::string CategoryKey(int category);
  bool CategoryKeys(int category, std::vector<std::string>& keys);
  // Number of rule groups; 0 for a missing category, -1 without a group object.
  int GroupCount(int category);
  std::string GroupKey(int category, int group);
  bool GroupKeys(int category, std::vector<std::string>& keys);
  int EntryCount(int category, int group);
  bool ReadEntryInfo(int category, int group, int entry, JunkRule& rule);
  bool ReadGroupRules(int category, int group, std::vector<JunkRule>& rules);

 private:
  // Where one group of a category is: the category's group count (as
  // GroupCount gives it), and the group's key and path, both empty when there
  // is no such group.
  struct GroupLocation {
    int count = 0;
    std::string key;
    std::string path;
  };
  GroupLocation LocateGroup(int category, int group);
  // GetKeys of the path; no keys for an empty path (a key that cannot be a
  // member name leaves the path empty).
  int KeysOf(const std::string& path, std::vector<std::string>& keys);

  JsonObject json;
};

// Integer conversion of a document text: full-width forms folded to ASCII, then
// blanks, sign and digits; 0 when the text does not start that way.
int32_t RuleTextToInteger(const std::string& text);

}  // namespace qm
