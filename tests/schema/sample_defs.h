// Table definitions that the generator tests share: together they use every
// field type, keys with and without filters, SQL keys, a key with a date
// field and one with a one-character field, key tables on and off, the tenant
// on and off, and the degenerate tables without fields or text fields.
#ifndef LERV32_TESTS_SCHEMA_SAMPLE_DEFS_H
#define LERV32_TESTS_SCHEMA_SAMPLE_DEFS_H

#include <string>
#include <vector>

#include "support/table_defs.h"
#include "tabledef/definition_file.h"

namespace samples {

struct Sample {
  const char* name;     // also the golden file stem
  const char* mandant;  // the process-wide tenant text while the sample is in use
  std::vector<std::string> lines;
};

inline const std::vector<Sample>& All() {
  static const std::vector<Sample> samples = {
      {"kunde", "",
       {"ALIAS=KUNDE", "EXLEVEL=2", "FIELD=NR,l", "FIELD=NAME,u,20", "FIELD=ORT,C,15", "FIELD=KZ,C,1",
        "FIELD=DATUM,D", "FIELD=AKTIV,L", "FIELD=STUFE,b", "FIELD=BETRAG,N,9,2", "FIELD=MENGE,N,6",
        "FIELD=GROSS,N,12", "FIELD=KURS,d,0,4", "FIELD=ANZAHL,s", "FIELD=PACKED,n,5,2", "FIELD=BIN,x,3",
        "FIELD=ALTDAT,o", "FIELD=NOTIZ,c,40", "PKEY=NR_KEY,NR", "SQLKEY=NAME_KEY,NAME,ORT",
        "KEY=DATUM_KEY,DATUM,NR", "KEY=KZ_KEY,KZ", "SQLKEY=BETRAG_KEY,BETRAG,MENGE"}},
      {"artikel", "M01",
       {"ALIAS=ARTIKEL", "USEMANDANT=1", "USEKEYTAB=1", "FIELD=ARTNR,C,10", "FIELD=BEZ,u,30",
        "FIELD=PREIS,N,9,2", "FIELD=LAGER,l", "FIELD=SEIT,D", "FIELD=STATUS,C,1",
        "PKEY=ARTNR_KEY,ARTNR", "SQLKEY=BEZ_KEY,BEZ,ARTNR;[STATUS] = 'A' \\& \\!([LAGER] < 0)",
        "KEY=SEIT_KEY,SEIT", "KEY=PREIS_KEY,PREIS;\\+[LAGER] \\| \\$([BEZ],1,1) = 'X'"}},
      {"leer", "", {"ALIAS=LEER"}},
      {"zahlen", "", {"ALIAS=ZAHLEN", "USEKEYTAB=1", "FIELD=A,l", "FIELD=B,N,8,3", "KEY=A_KEY,A"}},
  };
  return samples;
}

// The sample's definition; sets the tenant text as the sample wants it.
inline testenv::TableDefPtr Load(const Sample& sample) {
  rv_SetMandant(sample.mandant);
  auto td = testenv::NewTableDef();
  lerv32::ApplyDefinitionLines(td.get(), sample.lines);
  return td;
}

}  // namespace samples

#endif  // LERV32_TESTS_SCHEMA_SAMPLE_DEFS_H
