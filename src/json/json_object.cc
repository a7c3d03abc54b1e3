#include "json/json_object.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "json/script_literal.h"
#include "json/script_prelude.h"
#include "platform/text.h"

namespace qm {
namespace {

constexpr char kProgId[] = "MSScriptControl.ScriptControl";

// Appended to every expression whose text is handed back: U+2400 (str_Code)
// stands for a backslash stored through SetValue.
constexpr char kRestoreBackslashes[] = ".replace(str_reg, '\\\\')";

// The value text for PushValue and SetElement: script as it is, or plain text
// as a literal.
std::string ValueScript(const std::string& value, bool asJson) {
  return asJson ? value : "'" + EscapeScriptText(value) + "'";
}

// The value that `script` spells. eval() would run a text value as script a
// second time (the JSON text "\"a = 1\"" would assign a); an identity call
// takes every other value exactly as eval() does: an empty script gives
// undefined, a comma list its first item.
std::string ValueOf(const std::string& script) {
  return "(function (value) { return value; })(" + script + ")";
}

std::string JsonOf(const std::string& expression) {
  return "JSON.stringify(" + expression + ")" + kRestoreBackslashes;
}

int TruncateToInt(double number) {
  if (std::isnan(number)) return 0;
  number = std::clamp(number, double{std::numeric_limits<int>::min()},
                      double{std::numeric_limits<int>::max()});
  return static_cast<int>(number);
}

}  // namespace

JsonObject::JsonObject() : variableName("da") { InitEngine(); }

JsonObject::~JsonObject() {
  engine.reset();
  ReleaseCom();
}

JsonObject::JsonObject(const JsonObject& other)
    : variableName(other.variableName), engine(other.engine) {
  // A copy sets nothing up, yet leaves like any object: it takes its own hold
  // of this thread's automation so that its destruction stays balanced.
  HoldCom();
}

void JsonObject::InitEngine() {
  HoldCom();
  std::shared_ptr<ScriptHost> created = ScriptHost::Create(kProgId);
  if (!created) return;
  engine = std::move(created);
  engine->SetProperty("Language", "JavaScript");
  engine->AddCode(ScriptPrelude());
  engine->EvalBool("var " + variableName +
                   " = {}, str_Code = String.fromCharCode(9216), str_reg = new RegExp(str_Code, 'g')");
}

bool JsonObject::LoadText(const std::string& text) {
  if (engine) {
    engine.reset();
    InitEngine();
  }
  if (!engine) return false;
  engine->EvalBool("var " + variableName + " = null");
  engine->AddCode("var " + variableName + " = " + ValueOf(text));
  return engine->EvalBool(variableName + " != null");
}

bool JsonObject::Clear() { return EvalBool(variableName + " = {}"); }

std::string JsonObject::ToText() { return EvalText(JsonOf(variableName)); }

bool JsonObject::SetValue(const std::string& path, const std::string& value, bool asJson) {
  std::string member = path;
  bool exists = ResolvePath(member);
  if (!asJson) {
    return EvalBool(member + " = '" + EscapeScriptText(value) + "'.replace(/\\\\/g, str_Code)");
  }
  if (exists) {
    return EvalBool(member + " = get__extend(" + member + ", " + (value.empty() ? "{}" : value) + ")");
  }
  return EvalBool(member + " = " + ValueOf(value));
}

bool JsonObject::SetExpression(const std::string& path, const std::string& script) {
  std::string member = path;
  ResolvePath(member);
  return EvalBool(member + " = " + ValueOf(script));
}

bool JsonObject::ResolvePath(std::string& path) {
  if (path.compare(0, variableName.size(), variableName) == 0 && EvalBool(path + " != null")) {
    return true;
  }
  if (path.empty()) {
    path = variableName;
  } else if (path[0] == '[') {
    path = variableName + path;
  } else {
    path = variableName + "." + path;
  }
  return EvalBool(path + " != null");
}

bool JsonObject::Exists(const std::string& path) {
  std::string member = path;
  return ResolvePath(member);
}

int JsonObject::TypeOf(const std::string& path) {
  std::string member = path;
  ResolvePath(member);
  if (EvalBool(member + " == null")) return 0;
  std::string type = EvalText("Object.prototype.toString.call(" + member + ")");
  if (type == "[object String]") return 6;
  if (type == "[object Array]") return 5;
  if (type == "[object Object]") return 4;
  if (type == "[object Number]") return 2;
  if (type == "[object Boolean]") return 1;
  return -1;
}

std::string JsonObject::GetText(const std::string& path, bool asJson) {
  std::string member = path;
  ResolvePath(member);
  if (asJson) return EvalText(JsonOf(member));
  return EvalText(member + ".toString()" + kRestoreBackslashes);
}

int JsonObject::GetKeys(std::vector<std::string>& keys, const std::string& path) {
  std::string member = path;
  ResolvePath(member);
  keys = text::Split(EvalText("get__name_All(" + member + ")"), "\r\n");
  return static_cast<int>(keys.size());
}

int JsonObject::GetCount(const std::string& path) {
  std::string member = path;
  ResolvePath(member);
  return TruncateToInt(EvalNumber("get__count(" + member + ")"));
}

std::unique_ptr<JsonObject> JsonObject::GetObject(const std::string& path) {
  std::string member = path;
  ResolvePath(member);
  auto object = std::make_unique<JsonObject>();
  object->LoadText(EvalText(JsonOf(member)));
  return object;
}

bool JsonObject::PushValue(const std::string& value, const std::string& path, bool asJson) {
  std::string member = path;
  ResolvePath(member);
  return EvalBool("if (Object.prototype.toString.call(" + member + ") != '[object Array]') { " +
                  member + " = new Array() } " + member + ".push(" + ValueScript(value, asJson) +
                  ")");
}

std::unique_ptr<JsonObject> JsonObject::GetElementObject(int index, const std::string& path) {
  std::string member = path;
  ResolvePath(member);
  auto object = std::make_unique<JsonObject>();
  object->LoadText(EvalText(JsonOf(member + "[" + text::FromInteger(index) + "]")));
  return object;
}

std::string JsonObject::GetElementText(int index, const std::string& path, bool asJson) {
  std::string member = path;
  ResolvePath(member);
  std::string element = member + "[" + text::FromInteger(index) + "]";
  if (asJson) return EvalText(JsonOf(element));
  return EvalText(element + kRestoreBackslashes);
}

bool JsonObject::SetElement(int index, const std::string& path, const std::string& value,
                            bool asJson) {
  std::string member = path;
  ResolvePath(member);
  return EvalBool(member + "[" + text::FromInteger(index) + "] = " + ValueScript(value, asJson));
}

bool JsonObject::RemoveElement(int index, const std::string& path) {
  std::string member = path;
  ResolvePath(member);
  return EvalBool(member + ".splice(" + text::FromInteger(index) + ", 1)");
}

bool JsonObject::Remove(const std::string& path) {
  std::string member = path;
  ResolvePath(member);
  return EvalBool("delete " + member);
}

bool JsonObject::SetNumber(const std::string& path, double number) {
  if (!std::isfinite(number)) return false;  // would be written as a script name
  std::string member = path;
  ResolvePath(member);
  return EvalBool(member + " = " + text::FromDouble(number));
}

double JsonObject::GetNumber(const std::string& path) {
  std::string member = path;
  ResolvePath(member);
  return EvalNumber(member);
}

std::string JsonObject::GetJson(const std::string& path) {
  std::string member = path;
  ResolvePath(member);
  return EvalText(JsonOf(member));
}

std::shared_ptr<ScriptHost> JsonObject::GetEngine() { return engine; }

std::string JsonObject::EvalText(const std::string& code) {
  return engine ? engine->EvalText(code) : std::string();
}

double JsonObject::EvalNumber(const std::string& code) {
  return engine ? engine->EvalNumber(code) : 0;
}

bool JsonObject::EvalBool(const std::string& code) { return engine && engine->EvalBool(code); }

void JsonObject::HoldCom() {
  std::thread::id self = std::this_thread::get_id();
  if (std::find(comThreads.begin(), comThreads.end(), self) != comThreads.end()) return;
  ComInitialize();
  comThreads.push_back(self);
}

void JsonObject::ReleaseCom() {
  std::thread::id self = std::this_thread::get_id();
  auto held = std::find(comThreads.begin(), comThreads.end(), self);
  if (held == comThreads.end()) return;
  ComUninitialize();
  comThreads.erase(held);
}

}  // namespace qm
