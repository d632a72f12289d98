// Generated text goes through a ScriptWriter, which writes into the caller's
// buffer and measures what it writes: the exported generators write without
// a limit, their bounded variants stop at the buffer's capacity and report
// a text that does not fit.
#ifndef LERV32_SCHEMA_SCRIPT_WRITER_H
#define LERV32_SCHEMA_SCRIPT_WRITER_H

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lerv32 {

// The line between objects of a script: sixty hyphens, a comment to the server.
inline constexpr char kScriptSeparator[] =
    "------------------------------------------------------------\r\n";

class ScriptWriter {
 public:
  static constexpr std::size_t kUnbounded = SIZE_MAX;

  // capacity counts bytes including the terminating zero.
  ScriptWriter(char* out, std::size_t capacity);
  ScriptWriter(const ScriptWriter&) = delete;
  ScriptWriter& operator=(const ScriptWriter&) = delete;

  void Put(std::string_view text);
  void Format(const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
      ;

  // Characters written so far (or that would have been, past the capacity).
  std::size_t Length() const { return length_; }
  // Terminates the text. The characters written, or -1 with an empty text
  // when the text did not fit.
  int32_t Finish();

 private:
  char* out_;
  std::size_t capacity_;
  std::size_t length_ = 0;
};

// Runs body on a writer over out; the result of Finish, or -1 with an empty
// text when out is null or body fails.
template <typename Body>
int32_t Generate(char* out, std::size_t capacity, Body&& body) noexcept {
  if (out == nullptr || capacity == 0) return -1;
  try {
    ScriptWriter writer(out, capacity);
    body(writer);
    return writer.Finish();
  } catch (...) {
    out[0] = '\0';
    return -1;
  }
}

}  // namespace lerv32

#endif  // LERV32_SCHEMA_SCRIPT_WRITER_H
