// The script code that every engine of a JsonObject runs before anything else.
#pragma once

#include <string>

namespace qm {

// Global functions for the composed script texts:
//   get__count(v)     the length of an array, else 0;
//   get__name_All(v)  the names of a plain object's non-function members,
//                     joined by "\r\n", else "";
//   get__extend(t, s) merges s into t: arrays are appended to; in objects,
//                     function members are left alone, object members merged
//                     recursively and every other member overwritten.
// Then a JSON part that fills in only what the engine lacks: a JSON object
// with stringify and parse, the Date, String, Number and Boolean toJSON
// methods, and the enumerable Object.prototype methods toJSONString and
// parseJSON.
const std::string& ScriptPrelude();

}  // namespace qm
