// Records as export lines: every field through the library's field export,
// TAB-separated; and back, each item checked so that a value that would
// not survive the import (too long, no number, no date) is reported, not
// stored cut or as zero.
#pragma once

#include <string>
#include <vector>

#include "include/lerv32.h"

namespace lerv {

// Room for any key value rv_MakeKeyFromRecord writes, its zero included:
// every field of a key at its widest, numbers and dates in their key form.
inline constexpr size_t kKeyValueRoom = LERV32_MAX_KEY_FIELDS * (255 + 32) + 1;

// A key value as the key tables compare it: in upper case.
std::string KeyValue(const TableDef* td, int32_t key, const char* rec);

// Whether fields of a type letter hold numbers.
bool IsNumberType(char type);
// ASCII letters in upper case, as key values compare.
std::string UpperAscii(std::string text);

// A record buffer sized for td.
std::vector<char> RecordBuffer(const TableDef* td);

std::string ExportLine(const TableDef* td, const char* rec);

// Fills rec from line; an empty string when it converted, otherwise what
// is wrong with it (German, naming the field).
std::string ImportLine(const TableDef* td, const std::string& line, char* rec);

// The record as XML: <record RecId="..."><FIELD>text</FIELD>...</record>.
std::string XmlRecord(const TableDef* td, int32_t rec_id, const char* rec);

}  // namespace lerv
