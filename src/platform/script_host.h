// The automation script host: "MSScriptControl.ScriptControl" as a fresh
// Duktape heap. AddCode runs global code; Eval gives the completion value of a
// text converted to the requested type. A script error, and any fatal engine
// error, gives the empty value of that type: no script can end the process.
// References are counted through std::shared_ptr.
#pragma once

#include <memory>
#include <string>

namespace qm {

class ScriptHost {
 public:
  // Creates the automation object named `progId`. Only
  // "MSScriptControl.ScriptControl" exists; anything else, or an engine that
  // cannot start, gives null.
  static std::shared_ptr<ScriptHost> Create(const std::string& progId);

  virtual ~ScriptHost() = default;

  // Sets a property of the control; only "Language" = "JavaScript" is known.
  virtual bool SetProperty(const std::string& name, const std::string& value) = 0;
  // Runs `code` as global code. False on any script error.
  virtual bool AddCode(const std::string& code) = 0;
  // Evaluates `code` as global code and converts its completion value:
  // text (strings as they are, undefined as empty), number (a numeric text
  // converts; objects and other texts give 0) or bool (a boolean word converts;
  // objects and other texts give false). Errors give "", 0 and false.
  virtual std::string EvalText(const std::string& code) = 0;
  virtual double EvalNumber(const std::string& code) = 0;
  virtual bool EvalBool(const std::string& code) = 0;
};

// The calling thread's automation set-up and tear-down. Nothing has to be done
// on this platform; the calls keep a per-thread count so that tests can check
// that set-up and tear-down stay balanced.
void ComInitialize();
void ComUninitialize();
int ComInitializeCount();

}  // namespace qm
