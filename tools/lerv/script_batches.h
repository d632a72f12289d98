// Scripts split into their batches as the library's script runner splits
// them, so that a failing batch can be named by its number and line: a line
// reading GO ends a batch, "/*" at a line start skips to after "*/". Beyond
// the library, line ends may be LF alone, GO may be in any case with blanks
// around it and a "--" comment after it, "GO n" runs the batch n times, and
// a byte order mark at the start is passed over. A comment left open
// throws Failure.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lerv {

struct ScriptBatch {
  std::string text;  // with CR LF line ends
  int line = 1;      // where it starts in the script
  int repeat = 1;    // GO n: runs n times
};

std::vector<ScriptBatch> SplitScript(std::string_view script);

}  // namespace lerv
