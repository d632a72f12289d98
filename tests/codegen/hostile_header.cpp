// Writes the record class header of the hostile definition:
//   hostile_header FILE
// Exit status 0 when it was written, 1 when not.
#include <cstdio>
#include <string>

#include "codegen/hostile_definition.h"

int main(int argc, char** argv) {
  const hostile::DefinitionPtr td = hostile::Definition();
  if (argc != 2 || !td) return 1;
  std::string text(200000, '\0');
  const int32_t length = rv_GenCppTableDefN(td.get(), &text[0], static_cast<int32_t>(text.size()));
  std::FILE* file = std::fopen(argv[1], "wb");
  if (length <= 0 || file == nullptr) return 1;
  const bool written = std::fwrite(text.data(), 1, static_cast<size_t>(length), file) == static_cast<size_t>(length);
  return std::fclose(file) == 0 && written ? 0 : 1;
}
