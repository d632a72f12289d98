#include <gtest/gtest.h>

#include <string>

#include "include/lerv32.h"
#include "schema/golden.h"
#include "schema/sample_defs.h"

namespace {

constexpr std::size_t kHeaderSize = 200000;

std::string CppHeader(const TableDef* td) {
  std::string out(kHeaderSize, '#');
  rv_GenCppTableDef(td, &out[0]);
  return out.c_str();
}

TEST(CppClass, GoldenHeaderOfEverySample) {
  for (const samples::Sample& sample : samples::All()) {
    SCOPED_TRACE(sample.name);
    const auto td = samples::Load(sample);
    golden::Expect("cpp_" + std::string(sample.name) + ".h", CppHeader(td.get()));
  }
}

// Member classes by type and decimals, the address line's fixed column, and a
// type letter the host has no class for.
TEST(CppClass, MemberClassesAndAddressColumn) {
  const auto td = samples::Load({"odd",
                                 "",
                                 {"ALIAS=ODD", "FIELD=R,u,8,1", "FIELD=NK,u,12,2", "FIELD=LK,u,5,3",
                                  "FIELD=ZWOELFZEICHN,C,3", "FIELD=DREIZEHNZEICH,C,3", "FIELD=Q,z,3"}});
  const std::string text = CppHeader(td.get());
  for (const char* line : {
           "  T3RKey8       m_R;\r\n",
           "  T3NumKey12    m_NK;\r\n",
           "  T3LKey5       m_LK;\r\n",
           "                m_Q;\r\n",
           "  LPSTR  lpR()            { return (LPSTR)(m_R.GetDataAddr()); }\r\n",
           "  LPSTR  lpZWOELFZEICHN() { return (LPSTR)(m_ZWOELFZEICHN.GetDataAddr()); }\r\n",
           "  LPSTR  lpDREIZEHNZEICH(){ return (LPSTR)(m_DREIZEHNZEICH.GetDataAddr()); }\r\n",
           "    InitQ();\r\n",
       }) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(text.find("GetQ"), std::string::npos) << "accessors for a type without a class";
}

}  // namespace
