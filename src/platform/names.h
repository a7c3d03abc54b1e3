// Names of entries below a drive root: which names a Windows path can hold,
// how names compare ignoring letter case, and Windows wildcard patterns.
#pragma once

#include <string>

namespace qm::names {

// False for a name a Windows path cannot hold: empty, containing
// \ / : * ? " < > | or a control character, or not valid UTF-8. Such entries
// are invisible to every file service.
bool IsWindowsName(const std::string& name);

// True for a user name that stands as exactly one folder in "C:\Users\": a
// Windows name that is not made of dots and blanks alone ("." and ".." climb;
// Windows trims the others to nothing).
bool IsProfileName(const std::string& name);

// Equal when ASCII letter case is ignored.
bool EqualIgnoringCase(const std::string& a, const std::string& b);

// The order of search results: by upper-cased bytes as NTFS sorts names (so
// "_" comes after the letters), then by bytes, so that the order never
// depends on the folder's own order.
bool LessIgnoringCase(const std::string& a, const std::string& b);

// Windows wildcard match, ASCII letter case ignored: `*` any run of characters,
// `?` exactly one character. A pattern ending in ".*" also matches without that
// ending ("*.*" matches every name), and one ending in "." matches names
// without a dot.
bool MatchesWildcard(const std::string& pattern, const std::string& name);

}  // namespace qm::names
