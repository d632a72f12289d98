// Shared parts of the conversions; not for use outside sqlsim/functions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sqlsim/functions/datetime.h"
#include "sqlsim/functions/function_error.h"

namespace sqlsim::convert {

enum class SourceKind { kText, kInteger, kReal, kDatetime, kBinary };

struct Source {
  SourceKind kind = SourceKind::kText;
  const Value* value = nullptr;
  std::string_view type;  // as the translator gave it, may be ""
  bool is_float = false;  // float or real rather than decimal
  DateTime datetime;      // kDatetime
};

struct Target {
  std::string_view type;
  int32_t length = -1;  // after defaults: -1 never reaches the converters
  int32_t style = -1;
  bool store = false;
};

// Text of the source as the server calls its type in messages.
std::string_view SourceTypeName(const Source& source);

Outcome ToText(const Source& source, const Target& target);
Outcome ToBinary(const Source& source, const Target& target);
Outcome ToInteger(const Source& source, const Target& target);
Outcome ToBit(const Source& source);
Outcome ToFloat(const Source& source, const Target& target);
Outcome ToDecimal(const Source& source, const Target& target);
Outcome ToDatetime(const Source& source, const Target& target);

// Errors several conversions raise.
Outcome ConversionFailed(std::string_view text, std::string_view type);  // 245
Outcome ArithmeticOverflow(std::string_view type, const std::string& value);
Outcome ConvertError(std::string_view from, std::string_view to);  // 8114

}  // namespace sqlsim::convert
