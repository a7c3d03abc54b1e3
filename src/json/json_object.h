// A JSON value kept in a script engine and read and edited through composed
// script texts. Paths are member expressions relative to the value ("Type",
// "Type[0].Name"); every operation resolves its own copy of the path first.
// Failures give empty results: "", 0, false, -1 for TypeOf, an empty key list.
//
// Bool results of the editing operations are the script value of what they did,
// converted by the host's rules (see ScriptHost::EvalBool): an assignment gives
// the assigned value, so storing an object, an array or a plain word gives
// false even when it succeeded; PushValue gives the new length (true).
//
// Backslashes in texts stored with SetValue(asJson false) are kept in the
// engine as U+2400; every read that hands a text back turns them into
// backslashes again.
#pragma once

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/script_host.h"

namespace qm {

class JsonObject final {
 public:
  // Names the script variable "da" and sets up a fresh engine.
  JsonObject();
  // Automation (ComInitialize) is initialised once per object on each thread
  // that sets up an engine for it or copies it; destruction uninitialises it on
  // the destroying thread, so each thread's calls stay balanced.
  ~JsonObject();
  // The copy shares the engine (and so the value) until one side loads a text.
  JsonObject(const JsonObject& other);
  JsonObject& operator=(const JsonObject&) = delete;

  // Creates a fresh engine with the prelude and an empty value; on failure the
  // previous engine stays.
  void InitEngine();
  // Loads a JSON text into a fresh engine; true when the value is neither null
  // nor undefined. The text is read as script source (any expression is
  // taken; a text value stays a text, it is not run). An object whose engine
  // could not be created gives false without trying again.
  bool LoadText(const std::string& text);
  // Makes the value an empty object.
  bool Clear();
  // The whole value as compact JSON text.
  std::string ToText();
  // asJson false stores `value` as a text. asJson true reads it as script: an
  // existing member is merged with it (get__extend; an empty value merges {}),
  // a missing one is set to it.
  bool SetValue(const std::string& path, const std::string& value, bool asJson);
  // Sets the member to the value of `script` (a text value is stored as it is).
  bool SetExpression(const std::string& path, const std::string& script);
  // Rewrites `path` to a full script path; true when the member there is
  // neither null nor undefined.
  bool ResolvePath(std::string& path);
  bool Exists(const std::string& path);
  // 0 null or missing, 1 boolean, 2 number, 4 object, 5 array, 6 string, -1 other.
  int TypeOf(const std::string& path);
  // asJson true: the member as JSON text; false: its script toString().
  std::string GetText(const std::string& path, bool asJson);
  // Replaces `keys` with the member names in document order; returns their count.
  int GetKeys(std::vector<std::string>& keys, const std::string& path);
  // The length of an array member; 0 for anything else.
  int GetCount(const std::string& path);
  // A new object (its own engine) loaded with the member's JSON text.
  std::unique_ptr<JsonObject> GetObject(const std::string& path);
  // Appends to the array member, making it an empty array first when it is
  // not one. asJson false pushes `value` as a text.
  bool PushValue(const std::string& value, const std::string& path, bool asJson);
  std::unique_ptr<JsonObject> GetElementObject(int index, const std::string& path);
  // asJson false gives "" for an element that is not a text.
  std::string GetElementText(int index, const std::string& path, bool asJson);
  bool SetElement(int index, const std::string& path, const std::string& value, bool asJson);
  bool RemoveElement(int index, const std::string& path);
  bool Remove(const std::string& path);
  // Writes the number with 13 significant digits; false for infinities and NaN,
  // which JSON cannot hold.
  bool SetNumber(const std::string& path, double number);
  // The member as a number: a numeric text converts, anything else gives 0.
  double GetNumber(const std::string& path);
  // The member as JSON text.
  std::string GetJson(const std::string& path);
  // A further reference to the engine; null when there is none.
  std::shared_ptr<ScriptHost> GetEngine();

 private:
  // Typed evaluation in this object's engine; the empty value without one.
  std::string EvalText(const std::string& code);
  double EvalNumber(const std::string& code);
  bool EvalBool(const std::string& code);
  void HoldCom();
  void ReleaseCom();

  std::string variableName;
  std::shared_ptr<ScriptHost> engine;
  std::vector<std::thread::id> comThreads;  // threads this object initialised
};

}  // namespace qm
