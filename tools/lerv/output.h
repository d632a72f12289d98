// Where a command writes its text: standard output, or a file that appears
// only when complete (written beside it under a temporary name, then
// renamed over it), so that a failed run leaves no half-written file.
#pragma once

#include <cstdio>
#include <string>

namespace lerv {

class Output {
 public:
  // An empty path is standard output.
  explicit Output(std::string path);
  ~Output();
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  // Throws Failure when the text cannot be written.
  void Write(const std::string& text);
  // Puts the file in place; before this, nothing of it is there.
  void Commit();

 private:
  void Fail() const;

  std::string path_;
  std::string target_;  // path_ through its symbolic links
  std::string temporary_;
  std::FILE* file_ = nullptr;
  bool committed_ = false;
};

}  // namespace lerv
