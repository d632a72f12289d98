// Sets the keys <prefix>0 .. <prefix><count - 1> once the start file exists;
// the exit code counts the sets that failed.
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "lebase32.h"

int main(int argc, char** argv) {
  if (argc != 4) return 255;
  while (!std::filesystem::exists(argv[3])) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  int failed = 0;
  for (int i = 0; i < std::stoi(argv[2]); ++i) {
    failed += uSetHwpKeyString((argv[1] + std::to_string(i)).c_str(), "v") == 1 ? 0 : 1;
  }
  return failed;
}
