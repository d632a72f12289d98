// Scripts of Transact-SQL batches separated by GO lines, run batch by batch
// on a connection until one fails.
#ifndef LERV32_SCRIPTS_SCRIPT_RUNNER_H
#define LERV32_SCRIPTS_SCRIPT_RUNNER_H

#include <cstddef>
#include <string>
#include <vector>

namespace lerv32 {

// The batch buffer: a batch (comments removed) holds at most this many
// characters and its terminating zero.
inline constexpr std::size_t kBatchBufferSize = 32000;

// Splits a script into batches: a line that starts with "GO" CR LF ends a
// batch (the four characters belong to none); at a line start "/*" skips to
// after the next "*/"; everything else, line ends included, is copied. Empty
// batches are left out. A batch too long for the batch buffer makes
// *too_long true and ends the split there.
std::vector<std::string> SplitBatches(const char* script, bool* too_long);

}  // namespace lerv32

#endif  // LERV32_SCRIPTS_SCRIPT_RUNNER_H
