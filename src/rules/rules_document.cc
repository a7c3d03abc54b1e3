#include "rules/rules_document.h"

#include <algorithm>
#include <limits>

#include "platform/platform.h"
#include "platform/text.h"

namespace qm {

namespace {

bool IsAsciiIdentifierPart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '$';
}

// Characters beyond ASCII that the script reads as a blank or as a line break.
bool IsScriptSpace(char32_t c) {
  return c == 0xA0 || c == 0x1680 || c == 0x180E || (c >= 0x2000 && c <= 0x200A) ||
         c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000 || c == 0xFEFF;
}

// Keys are written into script paths after a "."; only identifier names may
// go there, so a key can never run as script. Every character must be an
// ASCII letter, a digit (not first), "_", "$" or a character beyond ASCII
// other than a blank or a line break (a line break would end the statement
// and start a new one, "delete Object" for the key "a\u2028delete\u2028Object").
// Any other key reads as missing, as a key with a blank would in the script.
bool IsIdentifierName(const std::string& key) {
  if (key.empty() || (key[0] >= '0' && key[0] <= '9')) return false;
  for (size_t at = 0; at < key.size();) {
    const int length = text::CharLength(key, at);
    const bool allowed = length == 1 ? IsAsciiIdentifierPart(key[at])
                                     : !IsScriptSpace(text::CodePointAt(key, at));
    if (!allowed) return false;
    at += length;
  }
  return true;
}

std::string CategoryPath(int category) { return "Type[" + std::to_string(category) + "]"; }

// "Type[i].K[0]", or empty when K cannot be a member name.
std::string GroupObjectPath(int category, const std::string& categoryKey) {
  if (!IsIdentifierName(categoryKey)) return {};
  return CategoryPath(category) + "." + categoryKey + "[0]";
}

// "Type[i].K[0].G", or empty when K or G cannot be a member name.
std::string GroupPath(int category, const std::string& categoryKey, const std::string& groupKey) {
  const std::string groupObject = GroupObjectPath(category, categoryKey);
  if (groupObject.empty() || !IsIdentifierName(groupKey)) return {};
  return groupObject + "." + groupKey;
}

std::string InfoPath(const std::string& groupPath, int entry) {
  return groupPath + "[" + std::to_string(entry) + "].Info";
}

}  // namespace

bool RulesDocument::LoadFile(Platform& platform, const std::string& fileName) {
  std::string bytes;
  if (!platform.ReadFile(fileName, &bytes)) return false;
  return LoadBytes(bytes);
}

bool RulesDocument::LoadBytes(const std::string& bytes) {
  return json.LoadText(bytes.substr(0, bytes.find('\0')));
}

int RulesDocument::CategoryCount() { return json.GetCount("Type"); }

std::string RulesDocument::CategoryKey(int category) {
  std::vector<std::string> keys;
  return json.GetKeys(keys, CategoryPath(category)) > 0 ? keys[0] : std::string();
}

bool RulesDocument::CategoryKeys(int category, std::vector<std::string>& keys) {
  std::vector<std::string> found;
  if (json.GetKeys(found, CategoryPath(category)) < 1) return false;
  keys = std::move(found);
  return true;
}

int RulesDocument::GroupCount(int category) { return LocateGroup(category, -1).count; }

std::string RulesDocument::GroupKey(int category, int group) {
  return LocateGroup(category, group).key;
}

bool RulesDocument::GroupKeys(int category, std::vector<std::string>& keys) {
  // Only the length of "Type" is checked: a category beyond it gives true and
  // no keys.
  if (CategoryCount() < 1) return false;
  std::vector<std::string> found;
  KeysOf(GroupObjectPath(category, CategoryKey(category)), found);
  if (!found.empty()) found.erase(found.begin());
  keys = std::move(found);
  return true;
}

int RulesDocument::EntryCount(int category, int group) {
  const GroupLocation location = LocateGroup(category, group);
  if (location.count < 1 || location.path.empty()) return 0;
  return json.GetCount(location.path);
}

bool RulesDocument::ReadEntryInfo(int category, int group, int entry, JunkRule& rule) {
  const GroupLocation location = LocateGroup(category, group);
  if (location.count < 1 || location.path.empty()) return false;
  const std::string info = InfoPath(location.path, entry);
  if (!json.Exists(info)) return false;
  std::vector<std::string> names;
  if (json.GetKeys(names, info) != 4) return false;
  // Position, not name, decides the field. The names come from the document,
  // so they are read only when they can be member names.
  std::string texts[4];
  for (int i = 0; i < 4; ++i) {
    if (IsIdentifierName(names[i])) texts[i] = json.GetText(info + "." + names[i], false);
  }
  rule.Name = texts[0];
  rule.Path = texts[1];
  rule.Rule = texts[2];
  rule.Defaylt = RuleTextToInteger(texts[3]);
  return true;
}

bool RulesDocument::ReadGroupRules(int category, int group, std::vector<JunkRule>& rules) {
  const GroupLocation location = LocateGroup(category, group);
  if (location.count < 1) return false;
  rules.clear();
  const int entries = location.path.empty() ? 0 : json.GetCount(location.path);
  if (entries == 0) return false;
  for (int entry = 0; entry < entries; ++entry) {
    const std::string info = InfoPath(location.path, entry);
    JunkRule rule;
    rule.Name = json.GetText(info + ".Name", false);
    rule.Path = json.GetText(info + ".Path", false);
    rule.Rule = json.GetText(info + ".Rule", false);
    rule.Defaylt = RuleTextToInteger(json.GetText(info + ".Defaylt", false));
    rules.push_back(std::move(rule));
  }
  return true;
}

RulesDocument::GroupLocation RulesDocument::LocateGroup(int category, int group) {
  GroupLocation location;
  const std::string categoryKey = CategoryKey(category);
  if (categoryKey.empty()) return location;
  // The group object's first member is not a group; without a group object
  // the count is -1.
  std::vector<std::string> names;
  location.count = KeysOf(GroupObjectPath(category, categoryKey), names) - 1;
  if (group >= 0 && group < location.count) {
    location.key = names[group + 1];
    location.path = GroupPath(category, categoryKey, location.key);
  }
  return location;
}

int RulesDocument::KeysOf(const std::string& path, std::vector<std::string>& keys) {
  if (path.empty()) {
    keys.clear();
    return 0;
  }
  return json.GetKeys(keys, path);
}

int32_t RuleTextToInteger(const std::string& text) {
  const int64_t value = text::ToInteger(text::FoldFullWidth(text));
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace qm
