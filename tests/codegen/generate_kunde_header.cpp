// Writes the record class header of the "kunde" sample and the sample's
// definition file into the folder given, for the host program that compiles
// the header and checks it against the definition.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "schema/sample_defs.h"

namespace {

int Write(const TableDef* td, const std::string& folder) {
  std::vector<char> header(1 << 20);
  const int32_t length = rv_GenCppTableDefN(td, header.data(), static_cast<int32_t>(header.size()));
  const std::string stem = folder + "/" + td->TableName;
  std::ofstream file(stem + ".h", std::ios::binary);
  if (length <= 0 || !file.write(header.data(), length)) return 1;
  return rv_SaveTableDef(td, (stem + ".def").c_str()) == 1 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s folder\n", argv[0]);
    return 2;
  }
  for (const samples::Sample& sample : samples::All()) {
    if (std::string(sample.name) == "kunde") return Write(samples::Load(sample).get(), argv[1]);
  }
  return 1;
}
