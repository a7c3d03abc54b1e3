// The rules document's queries over a small document that holds every odd
// shape, and its loads.
#include "rules/rules_document.h"

#include <gtest/gtest.h>

#include "support/temp_prefix.h"

namespace qm {
namespace {

// Category 0 has groups g1 (three entries, one without "Rule", "Defaylt" as
// 1, true and "2"), g2 (an Info in another member order, a full-width number,
// an Info of three members) and an empty group; category 1 has only the
// group object's first member; 2 no group object; 3 an empty one; 4 a key
// that is no identifier name.
const char kDocument[] = R"({"Type":[
  {"full":[{"about":"never read",
    "g1":[{"Info":{"Name":"n1","Path":"p1","Rule":"r1","Defaylt":1}},
          {"Info":{"Name":"n2","Path":"p2","Defaylt":true}},
          {"Info":{"Name":"n3","Path":"p3","Rule":"r3","Defaylt":"2"}}],
    "g2":[{"Info":{"Rule":"R","Name":"N","Path":"P","Defaylt":"１２"}},
          {"Info":{"Name":"three","Path":"members","Rule":"only"}}],
    "empty":[]}, {"ignored":[]}], "extra":{}},
  {"onlyFirst":[{"about":"x"}]},
  {"noGroupObject":[]},
  {"emptyGroupObject":[{}]},
  {"bad key":[{"about":"x","g":[{"Info":{"Name":"n","Path":"p","Rule":"r","Defaylt":0}}]}]}
]})";

std::vector<std::string> Names(const std::vector<JunkRule>& rules) {
  std::vector<std::string> names;
  for (const JunkRule& rule : rules) names.push_back(rule.Name);
  return names;
}

class RulesDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(document.LoadBytes(kDocument)); }
  RulesDocument document;
};

TEST_F(RulesDocumentTest, GroupQueries) {
  const JunkRule sentinel{"untouched", "", "", 0};
  const std::vector<std::string> untouched = {"untouched"};
  const struct {
    const char* name;
    int category;
    int group;
    int groupCount;
    std::string groupKey;
    int entryCount;
    bool read;
    std::vector<std::string> rules;  // names after ReadGroupRules
  } cases[] = {
      {"first group", 0, 0, 3, "g1", 3, true, {"n1", "n2", "n3"}},
      {"second group", 0, 1, 3, "g2", 2, true, {"N", "three"}},
      {"empty group", 0, 2, 3, "empty", 0, false, {}},
      {"group index = GroupCount", 0, 3, 3, "", 0, false, {}},
      {"group index -1", 0, -1, 3, "", 0, false, {}},
      {"category beyond Type", 5, 0, 0, "", 0, false, untouched},
      {"category -1", -1, 0, 0, "", 0, false, untouched},
      {"only the first member", 1, 0, 0, "", 0, false, untouched},
      {"no group object", 2, 0, -1, "", 0, false, untouched},
      {"empty group object", 3, 0, -1, "", 0, false, untouched},
      {"key with a blank", 4, 0, -1, "", 0, false, untouched},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(document.GroupCount(c.category), c.groupCount);
    EXPECT_EQ(document.GroupKey(c.category, c.group), c.groupKey);
    EXPECT_EQ(document.EntryCount(c.category, c.group), c.entryCount);
    std::vector<JunkRule> rules = {sentinel};
    EXPECT_EQ(document.ReadGroupRules(c.category, c.group, rules), c.read);
    EXPECT_EQ(Names(rules), c.rules);
  }
}

TEST_F(RulesDocumentTest, RuleFieldsAndDefayltConversion) {
  std::vector<JunkRule> rules;
  ASSERT_TRUE(document.ReadGroupRules(0, 0, rules));
  ASSERT_EQ(rules.size(), 3u);
  EXPECT_EQ(rules[0].Path, "p1");
  EXPECT_EQ(rules[0].Rule, "r1");
  EXPECT_EQ(rules[0].Defaylt, 1);
  EXPECT_EQ(rules[1].Rule, "");  // no "Rule": still a record
  EXPECT_EQ(rules[1].Defaylt, 0);  // true
  EXPECT_EQ(rules[2].Defaylt, 2);  // "2"
  ASSERT_TRUE(document.ReadGroupRules(0, 1, rules));
  EXPECT_EQ(rules[0].Defaylt, 12);  // full-width digits
}

TEST_F(RulesDocumentTest, ReadEntryInfoGoesByPosition) {
  JunkRule rule;
  ASSERT_TRUE(document.ReadEntryInfo(0, 1, 0, rule));
  EXPECT_EQ(rule.Name, "R");
  EXPECT_EQ(rule.Path, "N");
  EXPECT_EQ(rule.Rule, "P");
  EXPECT_EQ(rule.Defaylt, 12);

  const JunkRule before = rule;
  EXPECT_FALSE(document.ReadEntryInfo(0, 1, 1, rule));  // three members
  EXPECT_FALSE(document.ReadEntryInfo(0, 0, 9, rule));  // no such entry
  EXPECT_FALSE(document.ReadEntryInfo(2, 0, 0, rule));  // no groups
  EXPECT_EQ(rule.Name, before.Name);
  EXPECT_EQ(rule.Path, before.Path);
}

TEST_F(RulesDocumentTest, CategoryAndGroupKeys) {
  EXPECT_EQ(document.CategoryCount(), 5);
  EXPECT_EQ(document.CategoryKey(0), "full");
  EXPECT_EQ(document.CategoryKey(5), "");

  std::vector<std::string> keys = {"old"};
  EXPECT_TRUE(document.CategoryKeys(0, keys));
  EXPECT_EQ(keys, (std::vector<std::string>{"full", "extra"}));
  keys = {"old"};
  EXPECT_FALSE(document.CategoryKeys(5, keys));
  EXPECT_EQ(keys, std::vector<std::string>{"old"});

  EXPECT_TRUE(document.GroupKeys(0, keys));
  EXPECT_EQ(keys, (std::vector<std::string>{"g1", "g2", "empty"}));
  // Only the length of "Type" is checked: a category beyond it has no groups.
  EXPECT_TRUE(document.GroupKeys(5, keys));
  EXPECT_TRUE(keys.empty());

  ASSERT_TRUE(document.LoadBytes(R"({"Type":{}})"));
  keys = {"old"};
  EXPECT_FALSE(document.GroupKeys(0, keys));
  EXPECT_EQ(keys, std::vector<std::string>{"old"});
  EXPECT_EQ(document.CategoryCount(), 0);
}

// Keys are written into script paths; one that is no identifier name must
// read as missing, never run.
TEST_F(RulesDocumentTest, KeysAreNeverRunAsScript) {
  ASSERT_TRUE(document.LoadBytes(
      R"({"Type":[{"k;da.Type=null;k":[{"a":0,"g;da.Type=null;g":[{"Info":{"Name":"n"}}]}]},)"
      R"({"k":[{"a":0,"g;da.Type=null;g":[{"Info":{"Name":"n"}}]}]}]})"));
  std::vector<JunkRule> rules;
  EXPECT_EQ(document.GroupCount(0), -1);
  EXPECT_EQ(document.GroupCount(1), 1);
  EXPECT_FALSE(document.ReadGroupRules(1, 0, rules));
  EXPECT_EQ(document.EntryCount(1, 0), 0);
  EXPECT_EQ(document.CategoryCount(), 2);

  // A line or paragraph separator (written as a JSON escape) ends a script
  // line: a key or an Info member name holding one would split a composed
  // text into statements, here "delete Object".
  for (const char* separator : {R"(\u2028)", R"(\u2029)"}) {
    SCOPED_TRACE(separator);
    const std::string name = std::string("x") + separator + "delete" + separator + "Object";
    ASSERT_TRUE(document.LoadBytes(
        R"({"Type":[{"k":[{"a":0,"g":[{"Info":{"Name":"n","Path":"p","Rule":"r",")" + name +
        R"(":"1"}}]}]},{"k":[{"a":0,")" + name + R"(":[{"Info":{"Name":"n"}}]}]}]})"));
    JunkRule rule;
    EXPECT_TRUE(document.ReadEntryInfo(0, 0, 0, rule));
    EXPECT_EQ(rule.Name, "n");
    EXPECT_EQ(rule.Defaylt, 0);  // the fourth member reads as missing
    EXPECT_EQ(document.GroupCount(1), 1);
    EXPECT_FALSE(document.ReadGroupRules(1, 0, rules));
    EXPECT_FALSE(document.ReadEntryInfo(1, 0, 0, rule));
    EXPECT_EQ(document.GroupCount(0), 1);  // the engine is as it was
    EXPECT_EQ(document.GroupKey(0, 0), "g");
  }
}

TEST_F(RulesDocumentTest, LoadsStopAtAZeroByteAndAFailedLoadWipesTheDocument) {
  const std::string head = R"({"Type":[{"k":[{"a":0,"g":[{"Info":{"Name":"z"}}]}]}]})";
  EXPECT_TRUE(document.LoadBytes(head + std::string("\0garbage", 8)));
  EXPECT_EQ(document.GroupCount(0), 1);
  EXPECT_FALSE(document.LoadBytes(std::string(R"({"Type":[)") + '\0' + "]}"));

  ASSERT_TRUE(document.LoadBytes(kDocument));
  EXPECT_FALSE(document.LoadBytes("{not json"));
  EXPECT_EQ(document.GroupCount(0), 0);
  EXPECT_EQ(document.CategoryCount(), 0);
  std::vector<JunkRule> rules;
  EXPECT_FALSE(document.ReadGroupRules(0, 0, rules));
}

TEST_F(RulesDocumentTest, LoadFile) {
  testing::TempPrefix prefix;
  prefix.File("C:\\rules\\good.json", kDocument);
  prefix.File("C:\\rules\\bad.json", "{\"Type\":");
  prefix.File("C:\\rules\\readonly.json", kDocument);
  prefix.Chmod("C:\\rules\\readonly.json", 0444);
  std::unique_ptr<Platform> platform = prefix.MakePlatform();

  ASSERT_TRUE(document.LoadBytes(R"({"Type":[{"k":[{"a":0,"g":[{}]}]}]})"));
  // Files that do not open leave the document as it was.
  EXPECT_FALSE(document.LoadFile(*platform, "C:\\rules\\missing.json"));
  EXPECT_FALSE(document.LoadFile(*platform, "C:\\rules\\readonly.json"));
  EXPECT_EQ(document.GroupCount(0), 1);

  EXPECT_TRUE(document.LoadFile(*platform, "C:\\rules\\good.json"));
  EXPECT_EQ(document.GroupCount(0), 3);
  EXPECT_FALSE(document.LoadFile(*platform, "C:\\rules\\bad.json"));
  EXPECT_EQ(document.GroupCount(0), 0);
}

TEST(RuleTextToInteger, FoldsFullWidthFormsThenReadsTheLeadingNumber) {
  const struct {
    std::string text;
    int32_t value;
  } cases[] = {
      {"1", 1},     {"true", 0},          {"", 0},          {"  -42x", -42},
      {"＋７", 7},  {"　３", 3},          {"99999999999", 2147483647},
  };
  for (const auto& c : cases) EXPECT_EQ(RuleTextToInteger(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace qm
