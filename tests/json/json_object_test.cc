// The JSON object as a whole: its engine, loading, the whole value, paths,
// copies and automation set-up.
#include "json/json_object.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace qm {
namespace {

TEST(JsonObjectTest, LoadTextIsTrueUnlessTheValueIsNullOrUndefined) {
  struct Case {
    const char* text;
    bool loaded;
    const char* json;  // ToText afterwards
  } cases[] = {
      {"", false, ""},
      {"null", false, "null"},
      {"undefined", false, ""},
      {"{", false, "null"},  // a syntax error leaves the value null
      {"0", true, "0"},
      {"false", true, "false"},
      {"[]", true, "[]"},
      {"\"text\"", true, "\"text\""},
      {"{ \"b\" : 1 ,\n \"a\" : [ 1 , 2 ] }", true, "{\"b\":1,\"a\":[1,2]}"},
  };
  for (const Case& c : cases) {
    JsonObject json;
    EXPECT_EQ(json.LoadText(c.text), c.loaded) << c.text;
    EXPECT_EQ(json.ToText(), c.json) << c.text;
  }
}

TEST(JsonObjectTest, EachLoadStartsFromAFreshEngine) {
  JsonObject json;
  std::shared_ptr<ScriptHost> first = json.GetEngine();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(json.ToText(), "{}");
  first->AddCode("var leftover = 1");

  ASSERT_TRUE(json.LoadText("{\"a\":1}"));
  std::shared_ptr<ScriptHost> second = json.GetEngine();
  EXPECT_NE(second, first);
  EXPECT_EQ(second->EvalText("typeof leftover"), "undefined");
  EXPECT_EQ(second->EvalText("typeof get__extend"), "function");
  EXPECT_EQ(first->EvalNumber("da.a"), 0);  // the old engine never saw the text
}

TEST(JsonObjectTest, ToTextGivesBackAJsonEscapeOfALoadedBackslash) {
  JsonObject json;
  ASSERT_TRUE(json.LoadText(R"({"path":"C:\\Temp\\x","quote":"\"","tab":"\t"})"));
  EXPECT_EQ(json.ToText(), R"({"path":"C:\\Temp\\x","quote":"\"","tab":"\t"})");
  EXPECT_EQ(json.GetText("path", false), "C:\\Temp\\x");
}

TEST(JsonObjectTest, ClearAndInitEngineLeaveAnEmptyObject) {
  JsonObject json;
  ASSERT_TRUE(json.LoadText("{\"a\":1}"));
  json.Clear();
  EXPECT_EQ(json.ToText(), "{}");

  ASSERT_TRUE(json.LoadText("[1]"));
  std::shared_ptr<ScriptHost> before = json.GetEngine();
  json.InitEngine();
  EXPECT_NE(json.GetEngine(), before);
  EXPECT_EQ(json.ToText(), "{}");
}

TEST(JsonObjectTest, ResolvePathRewritesRelativePaths) {
  JsonObject json;
  ASSERT_TRUE(json.LoadText(R"({"Type":[{"Name":"a"}],"Zero":0})"));
  struct Case {
    const char* path;
    const char* resolved;
    bool exists;
  } cases[] = {
      {"", "da", true},
      {"Type", "da.Type", true},
      {"Type[0].Name", "da.Type[0].Name", true},
      {"[2]", "da[2]", false},
      {"da.Type", "da.Type", true},   // an existing full path is kept
      {"da.x", "da.da.x", false},     // a missing one is taken as relative
      {"da", "da", true},
      {"data", "da.data", false},     // the prefix test is on bytes, then fails
      {"Zero", "da.Zero", true},
      {"Missing.Below", "da.Missing.Below", false},
  };
  for (const Case& c : cases) {
    std::string path = c.path;
    EXPECT_EQ(json.ResolvePath(path), c.exists) << c.path;
    EXPECT_EQ(path, c.resolved) << c.path;
  }
}

TEST(JsonObjectTest, ExistsIsFalseOnlyForNullMissingOrBelowMissing) {
  JsonObject json;
  ASSERT_TRUE(json.LoadText(
      R"({"zero":0,"no":false,"empty":"","none":null,"list":[],"object":{}})"));
  struct Case {
    const char* path;
    bool exists;
  } cases[] = {
      {"zero", true},  {"no", true},        {"empty", true},         {"list", true},
      {"object", true}, {"none", false},    {"missing", false},      {"missing.below", false},
      {"none.below", false}, {"list[0]", false}, {"empty.length", true},
  };
  for (const Case& c : cases) {
    std::string path = c.path;
    EXPECT_EQ(json.Exists(path), c.exists) << c.path;
    EXPECT_EQ(path, c.path);
  }
}

TEST(JsonObjectTest, CopiesShareTheValueUntilOneLoads) {
  JsonObject original;
  ASSERT_TRUE(original.LoadText("{\"a\":1}"));
  JsonObject copy(original);
  EXPECT_EQ(copy.GetEngine(), original.GetEngine());

  copy.SetNumber("b", 2);
  original.SetValue("c", "three", false);
  EXPECT_EQ(original.ToText(), "{\"a\":1,\"b\":2,\"c\":\"three\"}");
  EXPECT_EQ(copy.ToText(), original.ToText());

  ASSERT_TRUE(copy.LoadText("{\"own\":true}"));
  copy.SetNumber("x", 1);
  original.SetNumber("y", 2);
  EXPECT_EQ(copy.ToText(), "{\"own\":true,\"x\":1}");
  EXPECT_EQ(original.ToText(), "{\"a\":1,\"b\":2,\"c\":\"three\",\"y\":2}");
}

TEST(JsonObjectTest, CopyOutlivesItsOriginal) {
  auto original = std::make_unique<JsonObject>();
  ASSERT_TRUE(original->LoadText("[1,2]"));
  JsonObject copy(*original);
  original.reset();
  EXPECT_EQ(copy.GetCount(""), 2);
}

// Creation fails as it does when the script control is not registered.
TEST(JsonObjectTest, AnObjectWithoutEngineGivesEmptyResults) {
  ScriptHost::FailCreationForTesting(true);
  JsonObject json;
  ScriptHost::FailCreationForTesting(false);

  EXPECT_EQ(json.GetEngine(), nullptr);
  EXPECT_FALSE(json.LoadText("{\"a\":1}"));
  EXPECT_EQ(json.GetEngine(), nullptr);  // no second attempt
  std::vector<std::string> keys = {"stale"};
  std::string path = "a";
  EXPECT_FALSE(json.ResolvePath(path));
  EXPECT_EQ(path, "da.a");
  EXPECT_FALSE(json.Exists("a"));
  EXPECT_FALSE(json.Clear());
  EXPECT_EQ(json.ToText(), "");
  EXPECT_FALSE(json.SetValue("a", "1", true));
  EXPECT_FALSE(json.SetExpression("a", "1"));
  EXPECT_EQ(json.TypeOf("a"), -1);
  EXPECT_EQ(json.GetText("a", false), "");
  EXPECT_EQ(json.GetKeys(keys, ""), 0);
  EXPECT_TRUE(keys.empty());
  EXPECT_EQ(json.GetCount("a"), 0);
  EXPECT_EQ(json.GetObject("a")->ToText(), "");
  EXPECT_FALSE(json.PushValue("x", "a", false));
  EXPECT_EQ(json.GetElementObject(0, "a")->ToText(), "");
  EXPECT_EQ(json.GetElementText(0, "a", false), "");
  EXPECT_FALSE(json.SetElement(0, "a", "1", true));
  EXPECT_FALSE(json.RemoveElement(0, "a"));
  EXPECT_FALSE(json.Remove("a"));
  EXPECT_FALSE(json.SetNumber("a", 1));
  EXPECT_EQ(json.GetNumber("a"), 0);
  EXPECT_EQ(json.GetJson("a"), "");

  JsonObject copy(json);
  EXPECT_EQ(copy.GetEngine(), nullptr);

  json.InitEngine();  // an explicit set-up tries again
  EXPECT_NE(json.GetEngine(), nullptr);
  EXPECT_TRUE(json.LoadText("{\"a\":1}"));
}

TEST(JsonObjectTest, AutomationSetUpStaysBalancedOnOneThread) {
  int before = ComInitializeCount();
  {
    JsonObject json;
    ASSERT_TRUE(json.LoadText("{\"a\":{\"b\":1}}"));
    ASSERT_TRUE(json.LoadText("{\"a\":{\"b\":2}}"));
    json.InitEngine();
    JsonObject copy(json);
    JsonObject copyOfCopy(copy);
    std::unique_ptr<JsonObject> part = json.GetObject("a");
    EXPECT_GT(ComInitializeCount(), before);
  }
  EXPECT_EQ(ComInitializeCount(), before);

  ScriptHost::FailCreationForTesting(true);
  { JsonObject failed; }
  ScriptHost::FailCreationForTesting(false);
  EXPECT_EQ(ComInitializeCount(), before);
}

// The program builds its object on the main thread and loads it again on the
// scan thread: the load sets up automation there, and the main thread's own
// set-up is undone when the object goes.
TEST(JsonObjectTest, AutomationSetUpOnEachThreadThatLoads) {
  int before = ComInitializeCount();
  {
    JsonObject json;
    int onWorker = -1;
    int afterWorkerObject = -1;
    std::thread([&] {
      ASSERT_TRUE(json.LoadText("{\"a\":1}"));
      onWorker = ComInitializeCount();
      { JsonObject local(json); }
      afterWorkerObject = ComInitializeCount();
    }).join();
    EXPECT_EQ(onWorker, 1);
    EXPECT_EQ(afterWorkerObject, 1);
    EXPECT_EQ(json.GetNumber("a"), 1);
  }
  EXPECT_EQ(ComInitializeCount(), before);
}

}  // namespace
}  // namespace qm
