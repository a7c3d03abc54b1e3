#include "json/script_literal.h"

#include "platform/text.h"

namespace qm {

std::string EscapeScriptText(const std::string& text) {
  std::string escaped = text::Replace(text, "\\", "\\\\");
  escaped = text::Replace(escaped, "'", "\\'");
  escaped = text::Replace(escaped, "\"", "\\\"");
  escaped = text::Replace(escaped, "\r", "\\r");
  escaped = text::Replace(escaped, "\n", "\\n");
  escaped = text::Replace(escaped, "\u2028", "\\u2028");
  return text::Replace(escaped, "\u2029", "\\u2029");
}

}  // namespace qm
