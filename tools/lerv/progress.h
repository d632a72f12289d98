// Progress of long work on a terminal: a bar with the count, the rate and
// the time left when the total is known, otherwise the count and the rate.
// Silent when standard error is no terminal or when asked to be quiet.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace lerv {

class Progress {
 public:
  // total 0: not known.
  Progress(std::string what, long total, bool quiet);
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  void Advance(long count = 1);
  // Clears the line, so that the closing message stands alone.
  void Finish();

  // The line shown, for a count after some seconds (exposed for the tests).
  static std::string Line(const std::string& what, long done, long total, double seconds);

 private:
  void Draw();

  std::string what_;
  long total_;
  long done_ = 0;
  bool shown_;
  bool drawn_ = false;
  size_t drawn_length_ = 0;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point last_draw_;
};

}  // namespace lerv
