#include "schema/script_writer.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

namespace lerv32 {

ScriptWriter::ScriptWriter(char* out, std::size_t capacity) : out_(out), capacity_(capacity) {
  out_[0] = '\0';
}

void ScriptWriter::Put(std::string_view text) {
  // Room for the text and the terminating zero behind it.
  if (length_ < capacity_ && text.size() < capacity_ - length_) {
    std::memcpy(out_ + length_, text.data(), text.size());
  } else {
    capacity_ = 0;  // once something did not fit, nothing more is written
  }
  length_ += text.size();
}

void ScriptWriter::Format(const char* format, ...) {
  char small[512];
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int needed = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (needed < 0) {
    va_end(again);
    return;
  }
  if (static_cast<std::size_t>(needed) < sizeof small) {
    va_end(again);
    Put(std::string_view(small, static_cast<std::size_t>(needed)));
    return;
  }
  std::string large(static_cast<std::size_t>(needed) + 1, '\0');
  std::vsnprintf(&large[0], large.size(), format, again);
  va_end(again);
  Put(std::string_view(large.data(), static_cast<std::size_t>(needed)));
}

int32_t ScriptWriter::Finish() {
  if (capacity_ == 0 || length_ > static_cast<std::size_t>(std::numeric_limits<int32_t>::max())) {
    out_[0] = '\0';
    return -1;
  }
  out_[length_] = '\0';
  return static_cast<int32_t>(length_);
}

}  // namespace lerv32
