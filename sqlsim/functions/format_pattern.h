// FORMAT's .NET patterns for the cultures en-US and de-DE: numbers by the
// standard formats N, F, D and custom patterns of 0 # , . with literal text
// around them; dates by custom patterns (yyyy MM dd HH mm ss fff tt ...)
// and the standard one-letter ones. Text is Windows-1252.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sqlsim/functions/datetime.h"

namespace sqlsim {

enum class FormatCulture { kEnUs, kDeDe };

// "en-US", "de-DE" (any case; "en" and "de" too); nullopt for others.
std::optional<FormatCulture> CultureOfName(std::string_view name);

// A number written as the digits of its value: optional '-', digits, and
// an optional '.' with more digits ("-12.5", "3").
// nullopt for a pattern not done here or one .NET refuses.
std::optional<std::string> FormatNumberPattern(std::string_view number, bool integral,
                                               std::string_view pattern, FormatCulture culture);

std::optional<std::string> FormatDatePattern(const DateTime& dt, std::string_view pattern,
                                             FormatCulture culture);

}  // namespace sqlsim
