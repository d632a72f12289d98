#include "tools/lerv/progress.h"

#include <cstdio>

#include <fmt/format.h>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace lerv {
namespace {

constexpr int kBarWidth = 30;
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);

std::string Duration(double seconds) {
  const long whole = static_cast<long>(seconds + 0.5);
  return whole >= 3600 ? fmt::format("{}:{:02}:{:02}", whole / 3600, whole / 60 % 60, whole % 60)
                       : fmt::format("{}:{:02}", whole / 60, whole % 60);
}

}  // namespace

Progress::Progress(std::string what, long total, bool quiet)
    : what_(std::move(what)),
      total_(total),
      shown_(!quiet && isatty(fileno(stderr))),
      start_(std::chrono::steady_clock::now()),
      last_draw_(start_) {}

Progress::~Progress() { Finish(); }

std::string Progress::Line(const std::string& what, long done, long total, double seconds) {
  const double rate = seconds > 0 ? done / seconds : 0;
  if (total <= 0) return fmt::format("{} {}  {:.0f}/s", what, done, rate);
  const int filled = static_cast<int>(static_cast<double>(kBarWidth) * done / total);
  const std::string bar = std::string(static_cast<size_t>(filled), '#') + std::string(kBarWidth - filled, '-');
  const std::string left = rate > 0 ? Duration((total - done) / rate) : "?";
  return fmt::format("{} [{}] {}/{}  {:.0f}/s  noch {}", what, bar, done, total, rate, left);
}

void Progress::Advance(long count) {
  done_ += count;
  if (!shown_) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - last_draw_ < kRedrawEvery && done_ != total_) return;
  last_draw_ = now;
  Draw();
}

void Progress::Draw() {
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  // Blanks over the rest of a longer line before: no escape sequences,
  // which not every console knows.
  const std::string line = Line(what_, done_, total_, seconds);
  const size_t blanks = drawn_length_ > line.size() ? drawn_length_ - line.size() : 0;
  std::fprintf(stderr, "\r%s%s", line.c_str(), std::string(blanks, ' ').c_str());
  std::fflush(stderr);
  drawn_length_ = line.size();
  drawn_ = true;
}

void Progress::Finish() {
  if (!drawn_) return;
  std::fprintf(stderr, "\r%s\r", std::string(drawn_length_, ' ').c_str());
  std::fflush(stderr);
  drawn_ = false;
}

}  // namespace lerv
