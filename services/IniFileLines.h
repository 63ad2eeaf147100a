#pragma once
// One key of an INI file that others may edit too (config.ini): it is read in place and written by
// changing only its own line, so comments, other sections and their spelling stay exactly as they were.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tavrin {

// The longest value text a key gives; a longer one is cut to this many characters.
inline constexpr std::size_t MaxIniValueLength = 2047;

// The value of the first key named `key` in the first section named `section` (names without regard to
// case). The value is trimmed, a pair of matching quotes around it is removed, and it is cut to
// MaxIniValueLength characters. Empty when the section or key is missing.
std::optional<std::string> ReadIniLine(std::string_view text, std::string_view section, std::string_view key);

// The text with `key=value` in `section`: the key's line is replaced when the key exists, otherwise the
// line is added after the last line of the section, and a missing section is added at the end. Every
// other line keeps its bytes and its line break; added lines use the file's line break (CR LF for a file
// without one).
std::string WriteIniLine(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value);

} // namespace tavrin
