// Arbitrary bytes as a script for lerv run: batches or a clear failure,
// never a crash; every batch holds text and starts on a line of the script.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tools/lerv/failure.h"
#include "tools/lerv/script_batches.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view script(reinterpret_cast<const char*>(data), size);
  try {
    int lines = 1;
    for (char c : script) lines += c == '\n';
    int previous = 0;
    for (const lerv::ScriptBatch& batch : lerv::SplitScript(script)) {
      if (batch.text.empty() || batch.line < previous || batch.line > lines || batch.repeat < 1) std::abort();
      previous = batch.line;
    }
  } catch (const lerv::Failure&) {
  }
  return 0;
}
