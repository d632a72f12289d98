// How a key field becomes its part of a key table's composed value: the SQL
// expression the triggers write, and the same text made on the client from a
// record's field, so that search values can be sent in the server's form.
// The parts sort as text in the order of their values: text padded, dates as
// yyyy-mm-dd, and numbers as a sign digit and fixed-width digits (see
// key_composition.cpp).
#ifndef LERV32_SCHEMA_KEY_COMPOSITION_H
#define LERV32_SCHEMA_KEY_COMPOSITION_H

#include <string>

#include "include/lerv32.h"

namespace lerv32 {

// Characters the field takes in a composed value.
int KeyPartWidth(const FieldDef& field);
// The part over the field's column, ending in "+" for the next part.
std::string KeyPartSql(const FieldDef& field);
// The part from the field's bytes p in a record, as the server composes it
// from what the write path stores, before it upper-cases the whole value.
std::string KeyPartText(const FieldDef& field, const char* p);

}  // namespace lerv32

#endif  // LERV32_SCHEMA_KEY_COMPOSITION_H
