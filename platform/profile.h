// Reading INI text as the Windows profile functions do, for both builds'
// tests and for the stand-ins of GetPrivateProfileStringA and IntA.
#ifndef LERV32_PLATFORM_PROFILE_H
#define LERV32_PLATFORM_PROFILE_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The value of key in section of text: sections "[name]" and keys
// "key=value" compared without regard to ASCII case, white space around
// names and values trimmed, one pair of matching quotes around a value
// removed, the value ending at a zero byte, lines starting with ';'
// ignored, lines ended by CR, LF or both, a UTF-8 byte order mark skipped.
// Only the first section of that name is read, and in it the first line of
// the key. nullopt when the key is missing or that line has no '='.
std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section, std::string_view key);

// Windows' reading of a number in a profile: blanks, a sign, then decimal
// digits, or 0x hexadecimal, 0o octal, 0b binary ones (small letters only),
// up to the first other character; 32 bits wrapping. No digits give 0.
int32_t ProfileNumber(std::string_view text);

}  // namespace platform

#endif  // LERV32_PLATFORM_PROFILE_H
