// Reading, writing, testing and extracting single members of a JsonObject.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "json/json_object.h"

namespace qm {
namespace {

constexpr char kSample[] =
    R"({"s":"text","n":12.5,"t":true,"o":{"a":1},"a":[1,"x",null],"z":null})";

class JsonPathsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(json.LoadText(kSample)); }

  // True when no script ran that set the global `injected`.
  bool NothingInjected() { return json.GetEngine()->EvalText("typeof injected") == "undefined"; }

  JsonObject json;
};

TEST_F(JsonPathsTest, GetTextAsPlainTextOrJson) {
  struct Case {
    const char* path;
    const char* plain;
    const char* json;
  } cases[] = {
      {"s", "text", "\"text\""},
      {"n", "12.5", "12.5"},
      {"t", "true", "true"},
      {"o", "[object Object]", "{\"a\":1}"},
      {"a", "1,x,", "[1,\"x\",null]"},
      {"z", "", "null"},
      {"missing", "", ""},
      {"missing.below", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(json.GetText(c.path, false), c.plain) << c.path;
    EXPECT_EQ(json.GetText(c.path, true), c.json) << c.path;
    EXPECT_EQ(json.GetJson(c.path), c.json) << c.path;
  }
}

TEST_F(JsonPathsTest, GetElementTextConvertsNoNonText) {
  struct Case {
    int index;
    const char* plain;
    const char* json;
    const char* viaGetText;
  } cases[] = {
      {0, "", "1", "1"},
      {1, "x", "\"x\"", "x"},
      {2, "", "null", ""},
      {3, "", "", ""},
  };
  for (const Case& c : cases) {
    std::string path = "a[" + std::to_string(c.index) + "]";
    EXPECT_EQ(json.GetElementText(c.index, "a", false), c.plain) << path;
    EXPECT_EQ(json.GetElementText(c.index, "a", true), c.json) << path;
    EXPECT_EQ(json.GetText(path, false), c.viaGetText) << path;
  }
}

TEST_F(JsonPathsTest, TypeOfCodes) {
  json.SetExpression("date", "new Date(0)");
  json.SetExpression("fn", "(function () {})");
  json.SetExpression("re", "/x/");
  struct Case {
    const char* path;
    int code;
  } cases[] = {
      {"s", 6},    {"a", 5},       {"o", 4},  {"", 4},  {"n", 2},   {"t", 1},
      {"z", 0},    {"missing", 0}, {"a[2]", 0},
      {"date", -1}, {"fn", -1},    {"re", -1},
      {"missing.below", -1},  // the type query fails on the missing member
  };
  for (const Case& c : cases) EXPECT_EQ(json.TypeOf(c.path), c.code) << c.path;
}

TEST_F(JsonPathsTest, GetKeysInTextOrderWithoutThePreludeMethods) {
  ASSERT_TRUE(json.GetEngine()->EvalBool("typeof ({}).toJSONString == 'function'"));
  ASSERT_TRUE(json.LoadText(R"({"Zeta":1,"Alpha":{"x":1},"中文":2,"Mid":[],"Last":null})"));
  std::vector<std::string> keys = {"stale"};
  EXPECT_EQ(json.GetKeys(keys, ""), 5);
  EXPECT_EQ(keys, (std::vector<std::string>{"Zeta", "Alpha", "中文", "Mid", "Last"}));
  EXPECT_EQ(json.GetKeys(keys, "Alpha"), 1);
  EXPECT_EQ(keys, std::vector<std::string>{"x"});

  for (const char* notAnObject : {"Mid", "Zeta", "Last", "Missing", "Missing.below"}) {
    keys = {"stale"};
    EXPECT_EQ(json.GetKeys(keys, notAnObject), 0) << notAnObject;
    EXPECT_TRUE(keys.empty()) << notAnObject;
  }
}

TEST_F(JsonPathsTest, GetCountOfArraysOnly) {
  struct Case {
    const char* path;
    int count;
  } cases[] = {{"a", 3}, {"o", 0}, {"s", 0}, {"missing", 0}, {"missing.below", 0}};
  for (const Case& c : cases) EXPECT_EQ(json.GetCount(c.path), c.count) << c.path;
}

TEST_F(JsonPathsTest, SetValueMergesAnExistingMemberAndEvaluatesAMissingOne) {
  ASSERT_TRUE(json.LoadText(
      R"({"o":{"a":1,"b":{"c":1},"s":"old","f":false},"a":[1],"s":"text","n":5})"));
  // Missing members take the value read as script.
  json.SetValue("fresh", "{\"k\":[1,2]}", true);
  json.SetValue("sum", "1 + 2", true);
  // Objects merge member by member; arrays are appended to.
  json.SetValue("o", R"({"a":2,"b":{"d":2},"s":"new","f":true,"e":"x"})", true);
  json.SetValue("a", "[2,3]", true);
  // A text or number member has nothing to merge into: it is kept.
  json.SetValue("s", "\"replaced?\"", true);
  json.SetValue("n", "6", true);
  EXPECT_EQ(json.ToText(),
            R"({"o":{"a":2,"b":{"c":1,"d":2},"s":"new","f":true,"e":"x"},"a":[1,2,3],)"
            R"("s":"text","n":5,"fresh":{"k":[1,2]},"sum":3})");
}

TEST_F(JsonPathsTest, SetValueWithAnEmptyScriptValue) {
  EXPECT_EQ(json.GetJson("o"), "{\"a\":1}");
  json.SetValue("o", "", true);  // merges {}: no change
  EXPECT_EQ(json.GetJson("o"), "{\"a\":1}");

  json.SetValue("u", "", true);  // makes the member undefined
  std::vector<std::string> keys;
  json.GetKeys(keys, "");
  EXPECT_EQ(keys.back(), "u");
  EXPECT_EQ(json.ToText().find("\"u\""), std::string::npos);
}

TEST_F(JsonPathsTest, SetValueResults) {
  EXPECT_TRUE(json.SetValue("flag", "true", true));
  EXPECT_TRUE(json.SetValue("count", "3", true));
  EXPECT_FALSE(json.SetValue("zero", "0", true));  // the assigned value, converted
  EXPECT_TRUE(json.Exists("zero"));
  EXPECT_FALSE(json.SetValue("bad", "{", true));
  EXPECT_FALSE(json.Exists("bad"));
  EXPECT_FALSE(json.SetValue("missing.below", "1", true));
}

TEST_F(JsonPathsTest, PathsAreRelativeToTheValue) {
  json.SetValue("da.x", "1", true);  // da.da.x: nothing written
  EXPECT_FALSE(json.Exists("x"));
  json.SetValue("x", "1", true);
  EXPECT_EQ(json.GetNumber("x"), 1);
  EXPECT_EQ(json.GetNumber("da.x"), 1);  // now it exists, so the full path is kept
}

TEST_F(JsonPathsTest, SetExpressionEvaluatesScript) {
  EXPECT_TRUE(json.SetExpression("sum", "da.n * 2 + da.s.length"));
  EXPECT_EQ(json.GetNumber("sum"), 29);
  json.SetExpression("o", "{\"b\":2}");  // replaces, never merges
  EXPECT_EQ(json.GetJson("o"), "{\"b\":2}");
}

// A script whose value is a text stores the text: it is never run a second
// time as script.
TEST_F(JsonPathsTest, TextValuesOfScriptsAreNotRunAgain) {
  json.SetExpression("joined", "'injected' + ' = 1'");
  EXPECT_EQ(json.GetText("joined", false), "injected = 1");
  json.SetValue("fresh", "\"injected = 2\"", true);
  EXPECT_EQ(json.GetText("fresh", false), "injected = 2");
  EXPECT_EQ(json.GetObject("fresh")->GetText("", false), "injected = 2");
  EXPECT_TRUE(json.LoadText("\"injected = 3\""));
  EXPECT_EQ(json.GetText("", false), "injected = 3");
  EXPECT_TRUE(NothingInjected());
}

// A backslash stored as plain text is kept as U+2400 and comes back as one
// backslash from every read that hands a text back, also inside JSON text.
TEST_F(JsonPathsTest, StoredBackslashesComeBackSingle) {
  ASSERT_TRUE(json.LoadText("{}"));
  json.SetValue("p", "C:\\x", false);
  EXPECT_EQ(json.GetEngine()->EvalNumber("da.p.charCodeAt(2)"), 0x2400);
  EXPECT_EQ(json.GetText("p", false), "C:\\x");
  EXPECT_EQ(json.GetJson("p"), "\"C:\\x\"");
  EXPECT_EQ(json.GetText("p", true), "\"C:\\x\"");
  EXPECT_EQ(json.ToText(), "{\"p\":\"C:\\x\"}");

  // The single backslash reaches a new object as script source.
  struct Case {
    const char* stored;
    const char* loaded;
  } cases[] = {
      {"a\\nb", "a\nb"},    // an escape the script knows
      {"a\\qb", "aqb"},     // one it does not: dropped
      {"a\\\\b", "a\\b"},   // a doubled backslash survives as one
  };
  for (const Case& c : cases) {
    json.SetValue("p", c.stored, false);
    EXPECT_EQ(json.GetObject("p")->GetText("", false), c.loaded) << c.stored;
  }
  json.PushValue("C:\\y", "list", false);
  EXPECT_EQ(json.GetElementText(0, "list", false), "C:\\y");
}

// Plain text reaches the engine only inside an escaped literal: whatever it
// holds comes back unchanged, and none of it runs as script.
TEST_F(JsonPathsTest, PlainTextIsStoredExactlyAndNeverRuns) {
  const std::string values[] = {
      "it's",
      "say \"hi\"",
      "C:\\dir\\",
      "line1\r\nline2\n",
      "tab\there",
      "sep\u2028arator\u2029",
      "中文\\x",
      "'); injected = 1; ('",
      "\\'; injected = 1; //",
      "\"; injected = 1; \"",
      "\n injected = 1 \n",
      std::string("nul\0byte", 8),
      "",
  };
  ASSERT_TRUE(json.PushValue("placeholder", "replaced", false));
  int index = 0;
  for (const std::string& value : values) {
    SCOPED_TRACE(value);
    ASSERT_TRUE(json.PushValue(value, "pushed", false));
    EXPECT_EQ(json.GetElementText(index, "pushed", false), value);
    json.SetElement(index, "replaced", value, false);
    EXPECT_EQ(json.GetElementText(index, "replaced", false), value);
    json.SetValue("set", value, false);
    EXPECT_EQ(json.GetText("set", false), value);
    EXPECT_TRUE(NothingInjected());
    ++index;
  }
  EXPECT_EQ(json.GetCount("pushed"), index);
}

TEST_F(JsonPathsTest, PushValueMakesAnArrayFirst) {
  EXPECT_TRUE(json.PushValue("x", "fresh", false));
  EXPECT_EQ(json.GetJson("fresh"), "[\"x\"]");
  EXPECT_TRUE(json.PushValue("x", "s", false));  // a text member is replaced
  EXPECT_EQ(json.GetJson("s"), "[\"x\"]");
  EXPECT_TRUE(json.PushValue("{\"k\":1}", "a", true));
  EXPECT_EQ(json.GetJson("a"), "[1,\"x\",null,{\"k\":1}]");
  EXPECT_FALSE(json.PushValue("{", "a", true));
  EXPECT_EQ(json.GetCount("a"), 4);
}

TEST_F(JsonPathsTest, ElementEdits) {
  json.SetElement(0, "a", "{\"k\":true}", true);
  json.SetElement(4, "a", "end", false);
  EXPECT_EQ(json.GetJson("a"), "[{\"k\":true},\"x\",null,null,\"end\"]");
  json.RemoveElement(1, "a");
  json.RemoveElement(9, "a");  // past the end: nothing removed
  EXPECT_EQ(json.GetJson("a"), "[{\"k\":true},null,null,\"end\"]");
  EXPECT_FALSE(json.RemoveElement(0, "o"));  // not an array
  EXPECT_EQ(json.GetJson("o"), "{\"a\":1}");
}

TEST_F(JsonPathsTest, RemoveDeletesMembers) {
  EXPECT_TRUE(json.Remove("o.a"));
  EXPECT_EQ(json.GetJson("o"), "{}");
  EXPECT_TRUE(json.Remove("s"));
  EXPECT_FALSE(json.Exists("s"));
  EXPECT_TRUE(json.Remove("missing"));  // deleting nothing succeeds
  EXPECT_FALSE(json.Remove("missing.below"));
  EXPECT_FALSE(json.Remove(""));  // the variable itself cannot go
  EXPECT_TRUE(json.Exists(""));
}

TEST_F(JsonPathsTest, GetObjectGivesAnIndependentCopy) {
  ASSERT_TRUE(json.LoadText(R"({"list":[{"name":"first"},{"name":"second"}],"o":{"a":1}})"));
  std::unique_ptr<JsonObject> object = json.GetObject("o");
  std::unique_ptr<JsonObject> element = json.GetElementObject(1, "list");
  EXPECT_NE(object->GetEngine(), json.GetEngine());
  EXPECT_EQ(object->ToText(), "{\"a\":1}");
  EXPECT_EQ(element->GetText("name", false), "second");

  object->SetNumber("a", 2);
  json.SetNumber("o.b", 3);
  EXPECT_EQ(object->ToText(), "{\"a\":2}");
  EXPECT_EQ(json.GetJson("o"), "{\"a\":1,\"b\":3}");

  std::unique_ptr<JsonObject> missing = json.GetObject("missing");
  EXPECT_EQ(missing->TypeOf(""), 0);
  EXPECT_EQ(missing->ToText(), "");
  EXPECT_EQ(json.GetElementObject(5, "list")->TypeOf(""), 0);
}

TEST_F(JsonPathsTest, NumbersInAndOut) {
  struct Case {
    double number;
    const char* json;
  } cases[] = {
      {1.5, "1.5"},
      {-42, "-42"},
      {0.1 + 0.2, "0.3"},  // thirteen significant digits
      {1e21, "1e+21"},
      {1.25e-7, "1.25e-7"},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(json.SetNumber("v", c.number)) << c.json;
    EXPECT_EQ(json.GetJson("v"), c.json);
    EXPECT_DOUBLE_EQ(json.GetNumber("v"), c.number);
  }
  for (double notForJson : {INFINITY, -INFINITY, NAN}) {
    EXPECT_FALSE(json.SetNumber("v", notForJson));  // nothing written
  }
  EXPECT_EQ(json.GetJson("v"), "1.25e-7");

  json.SetValue("numeric", "12", false);
  EXPECT_EQ(json.GetNumber("numeric"), 12);
  EXPECT_EQ(json.GetNumber("s"), 0);
  EXPECT_EQ(json.GetNumber("o"), 0);
  EXPECT_EQ(json.GetNumber("missing.below"), 0);
}

// A failing script leaves the object usable and its value as it was.
TEST_F(JsonPathsTest, ScriptFailuresLeaveTheValue) {
  EXPECT_FALSE(json.SetExpression("r", "(function f(n) { return 1 + f(n + 1); })(0)"));
  EXPECT_FALSE(json.SetExpression("h", "(function () { var s = 'x'; for (;;) s += s; })()"));
  EXPECT_FALSE(json.SetExpression("u", "undeclared"));
  EXPECT_FALSE(json.SetExpression("e", "1 +"));
  EXPECT_EQ(json.ToText(), kSample);
}

}  // namespace
}  // namespace qm
