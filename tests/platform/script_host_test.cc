#include "platform/script_host.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace qm {
namespace {

constexpr char kProgId[] = "MSScriptControl.ScriptControl";

std::shared_ptr<ScriptHost> NewJavaScriptHost() {
  std::shared_ptr<ScriptHost> host = ScriptHost::Create(kProgId);
  if (host) host->SetProperty("Language", "JavaScript");
  return host;
}

TEST(ScriptHostTest, OnlyTheScriptControlCanBeCreated) {
  EXPECT_NE(ScriptHost::Create(kProgId), nullptr);
  for (const char* other : {"", "scripting.FileSystemObject", "MSScriptControl.ScriptControl.1",
                            "msscriptcontrol.scriptcontrol"}) {
    EXPECT_EQ(ScriptHost::Create(other), nullptr) << other;
  }
}

TEST(ScriptHostTest, CreationCanBeMadeToFailForTests) {
  ScriptHost::FailCreationForTesting(true);
  EXPECT_EQ(ScriptHost::Create(kProgId), nullptr);
  ScriptHost::FailCreationForTesting(false);
  EXPECT_NE(ScriptHost::Create(kProgId), nullptr);
}

TEST(ScriptHostTest, NothingRunsUntilTheLanguageIsJavaScript) {
  std::shared_ptr<ScriptHost> host = ScriptHost::Create(kProgId);
  ASSERT_NE(host, nullptr);
  EXPECT_FALSE(host->AddCode("var x = 1"));
  EXPECT_EQ(host->EvalNumber("1 + 1"), 0);
  EXPECT_FALSE(host->SetProperty("Language", "VBScript"));
  EXPECT_FALSE(host->SetProperty("Timeout", "JavaScript"));
  EXPECT_EQ(host->EvalNumber("1 + 1"), 0);

  EXPECT_TRUE(host->SetProperty("Language", "JavaScript"));
  EXPECT_EQ(host->EvalNumber("1 + 1"), 2);
}

TEST(ScriptHostTest, AddCodeAndEvalShareTheGlobalScopeOfOneHeap) {
  std::shared_ptr<ScriptHost> host = NewJavaScriptHost();
  std::shared_ptr<ScriptHost> other = NewJavaScriptHost();
  EXPECT_TRUE(host->AddCode("var counter = 1; function twice(n) { return 2 * n; }"));
  host->EvalText("var second = counter + 1");
  EXPECT_EQ(host->EvalNumber("twice(second)"), 4);
  // Global code: a var declaration is not deletable, unlike one made by eval code.
  EXPECT_FALSE(host->EvalBool("delete second"));
  EXPECT_EQ(host->EvalText("typeof counter"), "number");
  EXPECT_EQ(other->EvalText("typeof counter"), "undefined");
}

TEST(ScriptHostTest, CompletionValueIsTheLastExpressionStatement) {
  std::shared_ptr<ScriptHost> host = NewJavaScriptHost();
  host->AddCode("var list = [];");
  EXPECT_EQ(host->EvalText("var x = 5"), "");
  EXPECT_EQ(host->EvalNumber("list.push('a'); list.push('b')"), 2);
  EXPECT_EQ(host->EvalText("if (x > 1) { 'big' } else { 'small' }"), "big");
  EXPECT_TRUE(host->EvalBool("var holder = {a: 1}; delete holder.a"));
}

TEST(ScriptHostTest, TextConversion) {
  std::shared_ptr<ScriptHost> host = NewJavaScriptHost();
  struct Case {
    const char* code;
    const char* text;
  } cases[] = {
      {"'abc'", "abc"},     {"undefined", ""},          {"null", ""},
      {"1.5", "1.5"},       {"1 / 3", "0.3333333333333333"},
      {"true", "true"},     {"({})", "[object Object]"}, {"[1, 'x']", "1,x"},
      {"'\\u4e2d\\u6587'", "中文"},
  };
  for (const Case& c : cases) EXPECT_EQ(host->EvalText(c.code), c.text) << c.code;
}

TEST(ScriptHostTest, NumberConversion) {
  std::shared_ptr<ScriptHost> host = NewJavaScriptHost();
  struct Case {
    const char* code;
    double number;
  } cases[] = {
      {"42", 42},         {"-0.25", -0.25},    {"'  12.5 '", 12.5}, {"'-3e2'", -300},
      {"'+7'", 7},        {"'.5'", 0.5},       {"'0x10'", 0},       {"'12abc'", 0},
      {"'abc'", 0},       {"''", 0},           {"'Infinity'", 0},   {"'nan'", 0},
      {"true", -1},       {"false", 0},        {"({})", 0},         {"[7]", 0},
      {"null", 0},        {"undefined", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(host->EvalNumber(c.code), c.number) << c.code;
}

TEST(ScriptHostTest, BoolConversion) {
  std::shared_ptr<ScriptHost> host = NewJavaScriptHost();
  struct Case {
    const char* code;
    bool truth;
  } cases[] = {
      {"true", true},      {"1 == 2", false},   {"2", true},          {"0", false},
      {"-0.5", true},      {"NaN", false},      {"'True'", true},     {"' FALSE '", false},
      {"'1'", true},       {"'0'", false},      {"'yes'", false},     {"''", false},
      {"({})", false},     {"[1]", false},      {"null", false},      {"undefined", false},
  };
  for (const Case& c : cases) EXPECT_EQ(host->EvalBool(c.code), c.truth) << c.code;
}

TEST(ScriptHostTest, TextsLeaveTheEngineAsStrictUtf8) {
  std::shared_ptr<ScriptHost> host = NewJavaScriptHost();
  struct Case {
    const char* code;
    std::string text;
  } cases[] = {
      {"'\xF0\x9F\x98\x80'", "\xF0\x9F\x98\x80"},  // written in the source
      {"String.fromCharCode(0xD83D, 0xDE00)", "\xF0\x9F\x98\x80"},
      {"String.fromCharCode(0xD83D) + 'A'", "\xEF\xBF\xBD" "A"},
      {"'A' + String.fromCharCode(0xDE00)", "A\xEF\xBF\xBD"},
      {"String.fromCharCode(0xDE00, 0xD83D)", "\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"String.fromCharCode(0xFFFF)", "\xEF\xBF\xBF"},
      {"'\xE4\xB8\xAD'", "\xE4\xB8\xAD"},
  };
  for (const Case& c : cases) EXPECT_EQ(host->EvalText(c.code), c.text) << c.code;
}

// Each failure gives the empty value of every type, the process goes on, and
// the same engine keeps its state and stays usable.
TEST(ScriptHostTest, ScriptFailuresGiveEmptyValuesAndLeaveTheEngineUsable) {
  std::string deepNesting = std::string(100000, '[') + std::string(100000, ']');
  struct Case {
    const char* name;
    std::string code;
  } cases[] = {
      {"syntax error", "var = ;"},
      {"undeclared variable", "nowhere + 1"},
      {"member of undefined", "undefined.x"},
      {"missing method", "({}).nothing()"},
      {"thrown value", "throw 'true'"},
      {"runaway recursion", "function down(n) { return 1 + down(n + 1); } down(0)"},
      {"huge string", "(function () { var s = 'x'; for (;;) s += s; })()"},
      {"deep nesting", deepNesting},
      {"invalid UTF-8 in source", "'\xFF'"},
  };
  std::shared_ptr<ScriptHost> host = NewJavaScriptHost();
  ASSERT_TRUE(host->AddCode("var kept = 'still here'"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(host->EvalText(c.code), "");
    EXPECT_EQ(host->EvalNumber(c.code), 0);
    EXPECT_FALSE(host->EvalBool(c.code));
    EXPECT_FALSE(host->AddCode(c.code));
    EXPECT_EQ(host->EvalText("kept"), "still here");
    EXPECT_EQ(host->EvalNumber("6 * 7"), 42);
  }
}

TEST(ScriptHostTest, ComInitializationIsCountedPerThread) {
  int before = ComInitializeCount();
  ComInitialize();
  ComInitialize();
  EXPECT_EQ(ComInitializeCount(), before + 2);
  int inOtherThread = -1;
  std::thread([&] {
    ComInitialize();
    inOtherThread = ComInitializeCount();
    ComUninitialize();
  }).join();
  EXPECT_EQ(inOtherThread, 1);
  ComUninitialize();
  ComUninitialize();
  EXPECT_EQ(ComInitializeCount(), before);
}

}  // namespace
}  // namespace qm
