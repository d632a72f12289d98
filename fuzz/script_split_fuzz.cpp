// Arbitrary bytes as a script file: the split never reads or writes outside
// the text, and every batch fits the batch buffer or the split says it
// does not.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "scripts/script_runner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string script(reinterpret_cast<const char*>(data), size);
  bool too_long = false;
  for (const std::string& batch : lerv32::SplitBatches(script.c_str(), &too_long)) {
    if (batch.empty() || batch.size() >= lerv32::kBatchBufferSize) std::abort();
  }
  return 0;
}
