// Names that are no plain identifiers, for the tests that give them to the
// generators and to record access as table, field and key names: each must
// reach the server (or the compiler) as one name and change nothing else.
#ifndef LERV32_TESTS_SUPPORT_HOSTILE_NAMES_H
#define LERV32_TESTS_SUPPORT_HOSTILE_NAMES_H

#include <cstddef>
#include <string>
#include <vector>

namespace hostile {

// A bracket that would end the name, then a statement and a comment.
inline constexpr char kDropOpfer[] = "EVIL2];DROP TABLE OPFER;--";

// A name of exactly length characters (the longest a member holds) that
// ends in a closing bracket.
inline std::string EndingInBracket(std::size_t length) {
  std::string name = "L];DROP TABLE OPFER;--";
  name.resize(length - 1, 'x');
  return name + "]";
}

// The names for a member of length characters at most.
inline std::vector<std::string> Names(std::size_t length) {
  return {kDropOpfer,
          "a'b",
          "x--y",
          "a b",
          "[x]",
          "a;b",
          EndingInBracket(length),
          "M\x81ller",              // an OEM umlaut
          "x*/DROP TABLE OPFER/*",  // the end of a comment, and a start
          "a?{fn b}"};              // a parameter marker and an ODBC escape
}

}  // namespace hostile

#endif  // LERV32_TESTS_SUPPORT_HOSTILE_NAMES_H
