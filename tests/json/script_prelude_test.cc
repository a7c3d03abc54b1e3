// The prelude's JSON part: it keeps the engine's own JSON where there is one,
// and its own stringify and parse, run in an engine without JSON, agree with
// the engine's.
#include "json/script_prelude.h"

#include <gtest/gtest.h>

#include <string>

#include "json/script_literal.h"
#include "platform/script_host.h"

namespace qm {
namespace {

// An engine with the prelude, after `before` ran.
std::shared_ptr<ScriptHost> EngineWithPrelude(const std::string& before = "") {
  std::shared_ptr<ScriptHost> host = ScriptHost::Create("MSScriptControl.ScriptControl");
  host->SetProperty("Language", "JavaScript");
  if (!before.empty()) {
    EXPECT_TRUE(host->AddCode(before));
  }
  EXPECT_TRUE(host->AddCode(ScriptPrelude()));
  return host;
}

class ScriptPreludeTest : public ::testing::Test {
 protected:
  std::shared_ptr<ScriptHost> native = EngineWithPrelude();
  std::shared_ptr<ScriptHost> own = EngineWithPrelude("delete JSON; delete Date.prototype.toJSON");
};

TEST_F(ScriptPreludeTest, FillsInOnlyWhatTheEngineLacks) {
  ASSERT_EQ(own->EvalText("typeof JSON.stringify + typeof JSON.parse"), "functionfunction");
  // The engine's own Date.prototype.toJSON writes milliseconds; the prelude's does not.
  EXPECT_EQ(native->EvalText("new Date(0).toJSON()"), "1970-01-01T00:00:00.000Z");
  EXPECT_EQ(own->EvalText("new Date(0).toJSON()"), "1970-01-01T00:00:00Z");
  EXPECT_EQ(native->EvalText("typeof String.prototype.toJSON"), "undefined");
  EXPECT_EQ(own->EvalText("typeof String.prototype.toJSON"), "function");

  std::shared_ptr<ScriptHost> kept = EngineWithPrelude("Object.prototype.toJSONString = 'mine'");
  EXPECT_EQ(kept->EvalText("({}).toJSONString"), "mine");
  EXPECT_EQ(kept->EvalText("typeof ({}).parseJSON"), "undefined");
}

TEST_F(ScriptPreludeTest, ObjectMethodsAreEnumerableOnEveryObject) {
  for (auto& host : {native, own}) {
    EXPECT_EQ(host->EvalText("var names = []; for (var k in {}) names.push(k); names.join()"),
              "toJSONString,parseJSON");
    EXPECT_EQ(host->EvalText("({a: [1, 'x']}).toJSONString()"), "{\"a\":[1,\"x\"]}");
    EXPECT_EQ(host->EvalText("'[1,{\"b\":2}]'.parseJSON()[1].b"), "2");
  }
}

TEST_F(ScriptPreludeTest, OwnStringifyAgreesWithTheEngine) {
  const char* expressions[] = {
      "JSON.stringify({b: 1, a: [true, false, null], c: {d: 'e'}})",
      "JSON.stringify([])",
      "JSON.stringify({})",
      "JSON.stringify('plain')",
      "JSON.stringify(null)",
      "typeof JSON.stringify(undefined)",
      "typeof JSON.stringify(function () {})",
      "JSON.stringify('q\"b\\\\s/\\b\\f\\n\\r\\t\\u0001\\u001f\\u007f\\u4e2d')",
      "JSON.stringify('\\u2028\\u2029')",
      "JSON.stringify([1.5, -0, 1e21, 1e-7, NaN, Infinity, -Infinity])",
      "JSON.stringify({u: undefined, f: function () {}, n: null, k: 1})",
      "JSON.stringify([undefined, function () {}])",
      "JSON.stringify([new Number(3), new String('s'), new Boolean(false)])",
      "JSON.stringify({toJSON: function (key) { return 'key:' + key; }})",
      "JSON.stringify({a: {toJSON: function (key) { return key; }}})",
      "JSON.stringify({a: 1, b: [1, 2]}, function (k, v) { return typeof v == 'number' ? v * 10 : v; })",
      "JSON.stringify({a: 1, b: 2, c: {a: 3, d: 4}, 7: 'seven'}, ['c', 'a', 7])",
      "JSON.stringify({a: [1, {b: 2}], e: []}, null, 2)",
      "JSON.stringify({a: [1]}, null, '--')",
      "JSON.stringify({a: 1}, null, 20)",
      "var o = Object.create({inherited: 1}); o.own = 2; JSON.stringify(o)",
      "JSON.stringify({'2': 'b', '1': 'a', x: 'c'})",
  };
  for (const char* expression : expressions) {
    std::string expected = native->EvalText(expression);
    EXPECT_NE(expected, "") << expression;
    EXPECT_EQ(own->EvalText(expression), expected) << expression;
  }
}

TEST_F(ScriptPreludeTest, OwnStringifyRefusesCyclesAndRepeatedNames) {
  EXPECT_EQ(own->EvalText("var c = {}; c.self = c; JSON.stringify(c)"), "");
  EXPECT_EQ(own->EvalText("var d = {}; JSON.stringify([d, d])"), "[{},{}]");
  EXPECT_EQ(own->EvalText("JSON.stringify({a: 1, b: 2}, ['a', 'a'])"), "{\"a\":1}");
}

TEST_F(ScriptPreludeTest, OwnParseAgreesWithTheEngine) {
  const char* texts[] = {
      R"({"b":1,"a":[true,false,null],"c":{"d":"e"}})",
      R"( { "spaced" : [ 1 , 2 ] } )",
      R"([])",
      R"({})",
      R"("text")",
      R"(-0.5e+3)",
      R"([0, 10, 1.25, 1E2, -7])",
      R"("\"\\\/\b\f\n\r\t\u4e2D\u0041")",
      R"({"a":1,"a":2})",
      R"({"":"empty key"})",
      "\t\r\n[1]\n",
  };
  for (const char* text : texts) {
    std::string expression = "JSON.stringify(JSON.parse('" + EscapeScriptText(text) + "'))";
    std::string expected = native->EvalText(expression);
    EXPECT_NE(expected, "") << text;
    EXPECT_EQ(own->EvalText(expression), expected) << text;
  }
}

TEST_F(ScriptPreludeTest, OwnParseRefusesWhatIsNotJson) {
  const char* texts[] = {
      "",     "{",    "[1,]", "{'a':1}", "{a:1}", "01",      "1.",           ".5",
      "+1",   "-",    "1e",   "tru",     "nul",   "NaN",     "[1] x",        "[1 2]",
      "{\"a\" 1}",  "\"\\x\"",     "\"\\u12\"",    "\"open", "\"tab\there\"", "\"line\nbreak\"",
  };
  for (const char* text : texts) {
    std::string expression = "typeof JSON.parse('" + EscapeScriptText(text) + "')";
    EXPECT_EQ(native->EvalText(expression), "") << text;
    EXPECT_EQ(own->EvalText(expression), "") << text;
  }
}

TEST_F(ScriptPreludeTest, OwnParseRevivesAndKeepsProtoAsAMember) {
  for (auto& host : {native, own}) {
    EXPECT_EQ(host->EvalText(
                  "JSON.stringify(JSON.parse('{\"a\":1,\"b\":[1,2],\"c\":\"x\"}', function (k, v) {"
                  "  return typeof v == 'number' ? v * 2 : typeof v == 'string' ? undefined : v;"
                  "}))"),
              "{\"a\":2,\"b\":[2,4]}");
    EXPECT_EQ(host->EvalText("var p = JSON.parse('{\"__proto__\":{\"x\":1}}');"
                             "String(Object.getPrototypeOf(p) === Object.prototype) + p.x"),
              "trueundefined");
  }
}

TEST_F(ScriptPreludeTest, Helpers) {
  struct Case {
    const char* expression;
    const char* result;
  } cases[] = {
      {"get__count([1, 2, 3])", "3"},
      {"get__count({length: 3})", "0"},
      {"get__count('abc')", "0"},
      {"get__name_All({b: 1, f: function () {}, a: {}})", "b\r\na"},
      {"get__name_All([1, 2])", ""},
      {"get__name_All(null)", ""},
      {"JSON.stringify(get__extend([1], [2, 3]))", "[1,2,3]"},
      {"JSON.stringify(get__extend({n: 1, s: 'a', o: {x: 1}}, {n: 2, s: 'b', o: {y: 2}, z: 0}))",
       "{\"n\":2,\"s\":\"b\",\"o\":{\"x\":1,\"y\":2},\"z\":0}"},
      {"var t = {f: function () { return 'kept'; }}; get__extend(t, {f: 1}); t.f()", "kept"},
  };
  for (const Case& c : cases) EXPECT_EQ(native->EvalText(c.expression), c.result) << c.expression;
}

}  // namespace
}  // namespace qm
