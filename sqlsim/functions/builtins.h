// The server's scalar functions on values, one C++ function per SQLite
// function that register.cpp installs. Arguments arrive as SQLite passed
// them; the arity is checked at registration.
#pragma once

#include <vector>

#include "sqlsim/engine/engine.h"
#include "sqlsim/functions/function_error.h"

namespace sqlsim::builtins {

using Args = std::vector<Value>;

// Text
Outcome Like(const Args& args);
// The literal start of a LIKE pattern: what comes before its first wildcard.
Outcome LikePrefix(const Args& args);
Outcome Upper(const Args& args);
Outcome Lower(const Args& args);
Outcome Ltrim(const Args& args);
Outcome Rtrim(const Args& args);
Outcome Len(const Args& args);
Outcome Datalength(const Args& args);
Outcome Substring(const Args& args);
Outcome Left(const Args& args);
Outcome Right(const Args& args);
Outcome Replicate(const Args& args);
Outcome Space(const Args& args);
Outcome Charindex(const Args& args);
Outcome Replace(const Args& args);

// Dates: the datepart comes first as its canonical name ("year" ...).
Outcome Dateadd(const Args& args);
Outcome Datediff(const Args& args);
Outcome Datepart(const Args& args);
Outcome Datename(const Args& args);
Outcome Eomonth(const Args& args);

// More text: CONCAT takes its arguments already as text.
Outcome Concat(const Args& args);
Outcome ConcatMax(const Args& args);
Outcome Patindex(const Args& args);
Outcome Stuff(const Args& args);
Outcome Char(const Args& args);
Outcome Ascii(const Args& args);
Outcome Nchar(const Args& args);
Outcome Unicode(const Args& args);
// FORMAT(value, source type, pattern, culture).
Outcome Format(const Args& args);

// TRY_CONVERT: Convert's arguments; NULL where Convert fails on the value.
Outcome TryConvert(const Args& args);

// Numbers
Outcome Abs(const Args& args);
Outcome Floor(const Args& args);
Outcome Ceiling(const Args& args);
Outcome Round(const Args& args);
Outcome Str(const Args& args);
Outcome Add(const Args& args);
Outcome Subtract(const Args& args);
Outcome Multiply(const Args& args);
Outcome Divide(const Args& args);
Outcome Modulo(const Args& args);
Outcome Negative(const Args& args);

// Conversion and the rest
Outcome Convert(const Args& args);
Outcome Store(const Args& args);
Outcome Getdate(const Args& args);
Outcome Isdate(const Args& args);
Outcome Isnumeric(const Args& args);
Outcome Objname(const Args& args);
Outcome OffsetRows(const Args& args);
Outcome FetchRows(const Args& args);
Outcome LagOffset(const Args& args);
Outcome NtileCount(const Args& args);

// Shared by the groups above: an argument as a 64-bit integer (text read
// as a number, reals truncated), or the error converting it.
Outcome IntegerArgument(const Value& v);
// The longest result of REPLICATE, REPLACE, STUFF and CONCAT: the server's
// 8000 bytes, unless argument `at` is there and 0, as the translator adds it
// for a (max) argument: then all SQLite holds, and longer is TooLong().
size_t LongestResult(const Args& args, size_t at);
inline constexpr size_t kLongestShortResult = 8000;
Outcome TooLong();
bool AnyNull(const Args& args);

}  // namespace sqlsim::builtins
