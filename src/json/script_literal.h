// Plain texts placed into composed script texts.
#pragma once

#include <string>

namespace qm {

// `text` escaped for the inside of a single-quoted script literal that the
// engine reads back as exactly `text`: backslashes, both quotes, carriage
// returns, line feeds and the line and paragraph separators (which end a
// literal as a line feed does) are escaped. Multi-byte characters are stepped
// over whole, so their bytes are never touched.
std::string EscapeScriptText(const std::string& text);

}  // namespace qm
