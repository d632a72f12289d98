// CONCAT, STUFF and PATINDEX. Results of the non-max types stop at 8000
// bytes, as the server cuts them; of (max) ones they do not.
#include <algorithm>

#include "sqlsim/functions/builtins.h"
#include "sqlsim/functions/convert.h"
#include "sqlsim/functions/like.h"

namespace sqlsim::builtins {

namespace {

Outcome Null() { return Outcome::Of(Value::Null()); }

Outcome CutText(std::string text, size_t limit) {
  if (text.size() > limit) {
    if (limit > kLongestShortResult) return TooLong();
    text.resize(limit);
  }
  return Outcome::Of(Value::Text(std::move(text)));
}

Outcome ConcatUpTo(const Args& args, size_t limit) {
  std::string out;
  for (const Value& v : args) {
    if (!v.IsNull()) out += TextOfValue(v);
    if (out.size() > limit) break;
  }
  return CutText(std::move(out), limit);
}

}  // namespace

Outcome Concat(const Args& args) { return ConcatUpTo(args, kLongestShortResult); }

// tsql_concat_max: CONCAT with a (max) argument.
Outcome ConcatMax(const Args& args) { return ConcatUpTo(args, LongestResult({Value::Integer(0)}, 0)); }

// NULL, not an error, for a start outside the text or a negative length.
Outcome Stuff(const Args& args) {
  if (args[0].IsNull() || args[1].IsNull() || args[2].IsNull()) return Null();
  Outcome start = IntegerArgument(args[1]);
  if (!start.ok()) return start;
  Outcome length = IntegerArgument(args[2]);
  if (!length.ok()) return length;
  std::string text = TextOfValue(args[0]);
  const int64_t first = start.value.integer;
  if (first < 1 || first > static_cast<int64_t>(text.size()) || length.value.integer < 0) return Null();
  const auto at = static_cast<size_t>(first - 1);
  const size_t removed = static_cast<size_t>(std::min<int64_t>(length.value.integer,
                                                               static_cast<int64_t>(text.size() - at)));
  text.replace(at, removed, args[3].IsNull() ? std::string() : TextOfValue(args[3]));
  return CutText(std::move(text), LongestResult(args, 4));
}

// The first position from which the rest of the text matches the pattern
// after its leading %; without one, the pattern must match from the start.
Outcome Patindex(const Args& args) {
  if (AnyNull(args)) return Null();
  const std::string pattern = TextOfValue(args[0]);
  const std::string text = TextOfValue(args[1]);
  const size_t leading = pattern.find_first_not_of('%');
  if (leading == 0 || pattern.empty()) return Outcome::Of(Value::Integer(LikeMatch(text, pattern, kNoEscape) ? 1 : 0));
  if (leading == std::string::npos) return Outcome::Of(Value::Integer(text.empty() ? 0 : 1));
  // One pass over the whole text first: most texts that do not match are
  // refused there, before the position is searched.
  if (!LikeMatch(text, pattern, kNoEscape)) return Outcome::Of(Value::Integer(0));
  const std::string_view rest = std::string_view(pattern).substr(leading);
  for (size_t at = 0; at < text.size(); ++at) {
    if (LikeMatch(std::string_view(text).substr(at), rest, kNoEscape)) {
      return Outcome::Of(Value::Integer(static_cast<int64_t>(at) + 1));
    }
  }
  return Outcome::Of(Value::Integer(0));
}

}  // namespace sqlsim::builtins
