// The automation script host: "MSScriptControl.ScriptControl" as a fresh
// Duktape heap. AddCode runs global code; Eval gives the completion value of a
// text converted to the requested type. A script error, and any fatal engine
// error, gives the empty value of that type: no script can end the process.
// References are counted through std::shared_ptr.
//
// Texts go in only as script source (UTF-8; invalid UTF-8 is a syntax error)
// and come out as strict UTF-8: a lone surrogate comes out as U+FFFD. Each
// heap may use at most 256 MB, so a runaway string fails fast. A host may be
// used by one thread at a time.
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

  // For tests only: while set on the calling thread, Create() fails as it
  // would for a control that is not registered.
  static void FailCreationForTesting(bool fail);

  virtual ~ScriptHost() = default;

  // Sets a property of the control; only "Language" = "JavaScript" is known.
  // Until the language is set, AddCode and every Eval fail.
  virtual bool SetProperty(const std::string& name, const std::string& value) = 0;
  // Runs `code` as global code. False on any script error.
  virtual bool AddCode(const std::string& code) = 0;
  // Evaluates `code` as global code and converts its completion value:
  // text (strings as they are, undefined and null as empty, anything else as
  // the script's own String() of it), number (a number as it is, a numeric
  // text converts, true gives -1 as automation does; objects and other texts
  // give 0) or bool (a boolean as it is, a number is true when non-zero, a
  // boolean word or a numeric text converts; objects and other texts give
  // false). Errors give "", 0 and false.
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
