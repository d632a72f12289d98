// CAST/CONVERT and the conversion of a value written into a column, with
// the server's rules. Types are the canonical lower-case names
// (CanonicalTypeName in sqlsim/engine/types.h); "" where nothing is known.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sqlsim/engine/engine.h"
#include "sqlsim/functions/function_error.h"

namespace sqlsim {

inline constexpr int32_t kNoLength = -1;  // no (n) written
inline constexpr int32_t kMaxLength = 0;  // (max)
inline constexpr int32_t kNoStyle = -1;

// CONVERT(target_type(length), value, style). For decimal, length is the
// scale. A text value in the canonical datetime form counts as a datetime
// when source_type is "". An unknown target type is error 243; "" returns
// the value unchanged.
Outcome ConvertValue(const Value& value, std::string_view source_type,
                     std::string_view target_type, int32_t length, int32_t style);

// The value an INSERT or UPDATE writes into a column of target_type(length):
// as ConvertValue, but text and binary too long for the column are error
// 8152 unless only blanks are cut, and a missing length means 1.
Outcome StoreValue(const Value& value, std::string_view source_type,
                   std::string_view target_type, int32_t length);

// A value as text for the string functions: numbers in their usual form,
// binary as its bytes. REQUIRES: !value.IsNull().
std::string TextOfValue(const Value& value);

}  // namespace sqlsim
