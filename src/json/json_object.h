// A JSON value kept in a script engine and read and edited through composed
// script texts. Paths are member expressions relative to the value ("Type",
// "Type[0].Name"); every operation resolves its own copy of the path first.
// Failures give empty results: "", 0, false, -1 for TypeOf, an empty key list.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/script_host.h"

namespace qm {

class JsonObject final {
 public:
  // Names the script variable "da" and sets up a fresh engine.
  JsonObject();
  ~JsonObject();
  // The copy shares the engine (and so the value) until one side loads a text.
  JsonObject(const JsonObject& other);
  JsonObject& operator=(const JsonObject&) = delete;

  // Creates a fresh engine with the prelude and an empty value; on failure the
  // previous engine stays.
  void InitEngine();
  // Loads a JSON text into a fresh engine; true when the value is neither null
  // nor undefined.
  bool LoadText(const std::string& text);
  bool Clear();
  // The whole value as compact JSON text.
  std::string ToText();
  bool SetValue(const std::string& path, const std::string& value, bool asJson);
  bool SetExpression(const std::string& path, const std::string& script);
  // Rewrites `path` to a full script path; true when the member there is
  // neither null nor undefined.
  bool ResolvePath(std::string& path);
  bool Exists(const std::string& path);
  // 0 null or missing, 1 boolean, 2 number, 4 object, 5 array, 6 string, -1 other.
  int TypeOf(const std::string& path);
  std::string GetText(const std::string& path, bool asJson);
  // Replaces `keys` with the member names in document order; returns their count.
  int GetKeys(std::vector<std::string>& keys, const std::string& path);
  int GetCount(const std::string& path);
  std::unique_ptr<JsonObject> GetObject(const std::string& path);
  bool PushValue(const std::string& value, const std::string& path, bool asJson);
  std::unique_ptr<JsonObject> GetElementObject(int index, const std::string& path);
  std::string GetElementText(int index, const std::string& path, bool asJson);
  bool SetElement(int index, const std::string& path, const std::string& value, bool asJson);
  bool RemoveElement(int index, const std::string& path);
  bool Remove(const std::string& path);
  bool SetNumber(const std::string& path, double number);
  double GetNumber(const std::string& path);
  std::string GetJson(const std::string& path);
  // A further reference to the engine; null when there is none.
  std::shared_ptr<ScriptHost> GetEngine();

 private:
  std::string variableName;
  std::shared_ptr<ScriptHost> engine;
};

}  // namespace qm
