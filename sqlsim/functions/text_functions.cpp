// The string functions. Numbers are read as their text; binary stays
// binary where the server keeps it (SUBSTRING, LEFT, RIGHT).
#include <algorithm>

#include "sqlsim/functions/builtins.h"
#include "sqlsim/functions/convert.h"
#include "sqlsim/functions/like.h"
#include "sqlsim/functions/text.h"

namespace sqlsim::builtins {

namespace {

// The server cuts the results of SPACE there.
constexpr size_t kLongestResult = kLongestShortResult;
// SQLite's longest text or blob.
constexpr size_t kLongestMaxResult = 1000000000;

Outcome TextResult(std::string text) { return Outcome::Of(Value::Text(std::move(text))); }

// Keeps binary as binary, everything else becomes text.
Outcome SameKind(const Value& source, std::string bytes) {
  if (source.kind == Value::Kind::kBlob) return Outcome::Of(Value::Blob(std::move(bytes)));
  return TextResult(std::move(bytes));
}

Outcome InvalidLength(bool right) {
  if (right) return Outcome::Error(536, "Invalid length parameter passed to the RIGHT function.");
  return Outcome::Error(537, "Invalid length parameter passed to the LEFT or SUBSTRING function.");
}

template <typename F>
Outcome MapText(const Args& args, F f) {
  if (args[0].IsNull()) return Outcome::Of(Value::Null());
  return TextResult(f(TextOfValue(args[0])));
}

}  // namespace

size_t LongestResult(const Args& args, size_t at) {
  if (args.size() <= at || args[at].kind != Value::Kind::kInteger || args[at].integer != 0) return kLongestResult;
  return kLongestMaxResult;
}

Outcome TooLong() {
  return Outcome::Error(50000, "The result of a string function would be longer than " +
                                  std::to_string(kLongestMaxResult) + " bytes.");
}

bool AnyNull(const Args& args) {
  return std::any_of(args.begin(), args.end(), [](const Value& v) { return v.IsNull(); });
}

Outcome IntegerArgument(const Value& v) {
  return ConvertValue(v, "", "bigint", kNoLength, kNoStyle);
}

Outcome Like(const Args& args) {
  if (AnyNull(args)) return Outcome::Of(Value::Null());
  int escape = kNoEscape;
  if (args.size() > 2) {
    std::string e = TextOfValue(args[2]);
    if (e.size() != 1) {
      return Outcome::Error(506, "The invalid escape character \"" + e +
                                     "\" was specified in a LIKE predicate.");
    }
    escape = static_cast<unsigned char>(e[0]);
  }
  bool match = LikeMatch(TextOfValue(args[0]), TextOfValue(args[1]), escape);
  return Outcome::Of(Value::Integer(match ? 1 : 0));
}

Outcome LikePrefix(const Args& args) {
  if (AnyNull(args)) return Outcome::Of(Value::Null());
  std::string pattern = TextOfValue(args[0]);
  size_t wildcard = pattern.find_first_of("%_[");
  return Outcome::Of(Value::Text(pattern.substr(0, wildcard)));
}

Outcome Upper(const Args& args) {
  return MapText(args, [](const std::string& s) { return UpperText(s); });
}
Outcome Lower(const Args& args) {
  return MapText(args, [](const std::string& s) { return LowerText(s); });
}
Outcome Ltrim(const Args& args) {
  return MapText(args, [](const std::string& s) { return std::string(TrimLeadingBlanks(s)); });
}
Outcome Rtrim(const Args& args) {
  return MapText(args, [](const std::string& s) { return std::string(TrimTrailingBlanks(s)); });
}

Outcome Len(const Args& args) {
  if (args[0].IsNull()) return Outcome::Of(Value::Null());
  auto size = TrimTrailingBlanks(TextOfValue(args[0])).size();
  return Outcome::Of(Value::Integer(static_cast<int64_t>(size)));
}

Outcome Datalength(const Args& args) {
  const Value& v = args[0];
  switch (v.kind) {
    case Value::Kind::kNull: return Outcome::Of(Value::Null());
    case Value::Kind::kInteger:
      return Outcome::Of(Value::Integer(v.integer >= INT32_MIN && v.integer <= INT32_MAX ? 4 : 8));
    case Value::Kind::kReal: return Outcome::Of(Value::Integer(8));
    case Value::Kind::kText: case Value::Kind::kBlob: break;
  }
  return Outcome::Of(Value::Integer(static_cast<int64_t>(v.bytes.size())));
}

Outcome Substring(const Args& args) {
  if (AnyNull(args)) return Outcome::Of(Value::Null());
  Outcome start = IntegerArgument(args[1]);
  if (!start.ok()) return start;
  Outcome length = IntegerArgument(args[2]);
  if (!length.ok()) return length;
  if (length.value.integer < 0) return InvalidLength(false);
  std::string s = TextOfValue(args[0]);
  const int64_t size = static_cast<int64_t>(s.size());
  const int64_t first = start.value.integer;
  // One past the last character taken, 1-based.
  int64_t end = first > INT64_MAX - length.value.integer ? INT64_MAX
                                                         : first + length.value.integer;
  end = std::min(end, size + 1);
  const int64_t begin = std::max<int64_t>(first, 1);
  if (end <= begin) return SameKind(args[0], "");
  return SameKind(args[0], s.substr(static_cast<size_t>(begin - 1),
                                    static_cast<size_t>(end - begin)));
}

Outcome Left(const Args& args) {
  if (AnyNull(args)) return Outcome::Of(Value::Null());
  Outcome n = IntegerArgument(args[1]);
  if (!n.ok()) return n;
  if (n.value.integer < 0) return InvalidLength(false);
  std::string s = TextOfValue(args[0]);
  s.resize(std::min(s.size(), static_cast<size_t>(n.value.integer)));
  return SameKind(args[0], std::move(s));
}

Outcome Right(const Args& args) {
  if (AnyNull(args)) return Outcome::Of(Value::Null());
  Outcome n = IntegerArgument(args[1]);
  if (!n.ok()) return n;
  if (n.value.integer < 0) return InvalidLength(true);
  std::string s = TextOfValue(args[0]);
  size_t keep = std::min(s.size(), static_cast<size_t>(n.value.integer));
  return SameKind(args[0], s.substr(s.size() - keep));
}

Outcome Replicate(const Args& args) {
  if (AnyNull(args)) return Outcome::Of(Value::Null());
  Outcome n = IntegerArgument(args[1]);
  if (!n.ok()) return n;
  if (n.value.integer < 0) return Outcome::Of(Value::Null());
  const size_t limit = LongestResult(args, 2);
  std::string unit = TextOfValue(args[0]);
  if (unit.empty()) return TextResult("");
  const auto count = static_cast<uint64_t>(n.value.integer);
  if (limit == kLongestMaxResult && count > limit / unit.size()) return TooLong();
  std::string out;
  for (uint64_t i = 0; i < count && out.size() < limit; ++i) out += unit;
  out.resize(std::min(out.size(), limit));
  return TextResult(std::move(out));
}

Outcome Space(const Args& args) {
  if (AnyNull(args)) return Outcome::Of(Value::Null());
  Outcome n = IntegerArgument(args[0]);
  if (!n.ok()) return n;
  if (n.value.integer < 0) return Outcome::Of(Value::Null());
  size_t count = std::min(static_cast<size_t>(n.value.integer), kLongestResult);
  return TextResult(std::string(count, ' '));
}

Outcome Charindex(const Args& args) {
  if (AnyNull(args)) return Outcome::Of(Value::Null());
  int64_t start = 1;
  if (args.size() > 2) {
    Outcome s = IntegerArgument(args[2]);
    if (!s.ok()) return s;
    start = std::max<int64_t>(s.value.integer, 1);
  }
  std::string hay = TextOfValue(args[1]);
  if (start > static_cast<int64_t>(hay.size())) return Outcome::Of(Value::Integer(0));
  size_t at = FindFolded(hay, TextOfValue(args[0]), static_cast<size_t>(start - 1));
  return Outcome::Of(Value::Integer(at == std::string::npos ? 0 : static_cast<int64_t>(at) + 1));
}

Outcome Replace(const Args& args) {
  if (AnyNull(args)) return Outcome::Of(Value::Null());
  std::string s = TextOfValue(args[0]);
  const std::string from = UpperText(TextOfValue(args[1]));
  const std::string to = TextOfValue(args[2]);
  if (from.empty()) return TextResult(std::move(s));
  // Matches are found on folded copies, whose offsets are the original's.
  const std::string folded = UpperText(s);
  const size_t cut = LongestResult(args, 3);
  const size_t limit = std::max(cut, s.size());
  std::string out;
  size_t pos = 0;
  for (size_t at = folded.find(from); at != std::string::npos && out.size() <= limit;
       at = folded.find(from, pos)) {
    out.append(s, pos, at - pos);
    out += to;
    pos = at + from.size();
  }
  if (out.size() <= limit) out.append(s, pos, std::string::npos);
  if (out.size() > limit && cut == kLongestMaxResult) return TooLong();
  out.resize(std::min(out.size(), limit));
  return TextResult(std::move(out));
}

}  // namespace sqlsim::builtins
