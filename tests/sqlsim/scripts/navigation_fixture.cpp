#include "tests/sqlsim/scripts/navigation_fixture.h"

#include <cstdio>

#include "tabledef/definition_file.h"

namespace nav {
namespace {

std::string Literal(const KeyField& column, const Value& value) {
  if (column.type == 'N') {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.4f", value.number);
    return buffer;
  }
  std::string out = "'";
  for (char c : value.text) out += c == '\'' ? std::string("''") : std::string(1, c);
  return out + "'";
}

}  // namespace

const std::vector<std::string>& SampleNames() {
  static const std::vector<std::string> names = {
      "Meier", "MEIER", "meier", "O'Brien", "o'brien", "M\xFCller", "M\xDCLLER", "\xC4rger", "\xD6l",
      "\xDC" "ber", "Stra\xDF" "e", "STRASSE", "Zander", "Abel", "abel", "\xC4\xD6\xDC\xE4\xF6\xFC\xDF",
      "a'b'c", "Zz", "", "Meier X"};
  return names;
}

std::vector<Record> MakeRecords(int count) {
  static const char* const kPlaces[] = {"Berlin", "k\xF6ln", "Bonn", "K\xD6LN", "Aachen", " Essen"};
  static const double kCodes[] = {12345, 5, -5, 0, 99999, 50667, 5};
  static const double kAmounts[] = {12.5, 0.25, 1234.5, -3.75, 0};
  static const char* const kDates[] = {"2023-12-24", "1900-01-01", "1999-02-03", "2023-12-24", "2000-02-29"};
  static const char* const kStates[] = {"A", "a", "B", " ", "A"};
  const auto& names = SampleNames();
  std::vector<Record> records;
  for (int i = 1; i <= count; ++i) {
    Record record;
    // Scattered ids of one to four digits: walk order is not insert order.
    record.rec_id = (i * 37) % 97 + (i % 2 != 0 ? 1000 : 5);
    auto& f = record.fields;
    f["NAME"].text = names[static_cast<size_t>(i) % names.size()];
    f["ORT"].text = kPlaces[(i * 7) % 6];
    f["VORNAME"].text = names[static_cast<size_t>(i * 3) % names.size()].substr(0, 10);
    f["PLZ"].number = kCodes[(i * 3) % 7];
    f["BETRAG"].number = kAmounts[(i / 3) % 5];
    f["DATUM"].text = kDates[(i * 11) % 5];
    f["STATUS"].text = kStates[(i * 13) % 5];
    f["KZ"].text = std::string(1, "XaAb'"[i % 5]);
    records.push_back(record);
  }
  return records;
}

void NavigationTest::Create(const std::vector<std::string>& lines) {
  rv_SetMandant("");
  td_ = testenv::NewTableDef();
  lerv32::ApplyDefinitionLines(td_.get(), lines);
  ASSERT_TRUE(scripts::RunScript(dbc(), scripts::CreateScript(td_.get())));
}

void NavigationTest::Insert(const std::string& table, const std::vector<KeyField>& columns,
                            const std::vector<Record>& records) {
  for (const Record& record : records) {
    std::string names = "RecId";
    std::string values = std::to_string(record.rec_id);
    for (const KeyField& column : columns) {
      names += "," + column.name;
      values += "," + Literal(column, record.fields.at(column.name));
    }
    ASSERT_TRUE(scripts::Execute(dbc(), "INSERT INTO [dbo].[" + table + "] (" + names + ") VALUES (" + values + ")"));
  }
}

RecIds NavigationTest::Walk(const RecIds& first, const std::function<RecIds(int32_t)>& step, bool zero_ends,
                            size_t cap) {
  RecIds visited;
  RecIds current = first;
  auto ends = [zero_ends](const RecIds& answer) { return answer.empty() || (zero_ends && answer == RecIds{0}); };
  while (!ends(current) && current.size() == 1 && current[0] != kCallFailed && visited.size() <= cap) {
    visited.push_back(current[0]);
    current = step(static_cast<int32_t>(current[0]));
  }
  // An answer that is neither a record nor the end shows up in the result.
  if (!ends(current)) visited.push_back(kCallFailed);
  return visited;
}

}  // namespace nav
