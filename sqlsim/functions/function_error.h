// How a server error raised inside an SQLite function travels back to the
// engine: the function hands SQLite an encoded text, the engine decodes
// sqlite3_errmsg into the server's error number and message.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "sqlsim/engine/engine.h"

namespace sqlsim {

// "sqlsim:<number>:<message>".
std::string EncodeFunctionError(int32_t number, std::string_view message);

// Finds an encoded error anywhere in sqlite_message (SQLite may put text in
// front of it) and splits it. False if there is none; the outputs are then
// left alone. Either output may be null.
bool DecodeFunctionError(std::string_view sqlite_message, int32_t* number,
                         std::string* message);

// A value, or the server error that a function raised instead.
struct Outcome {
  Value value;
  int32_t error = 0;  // server error number; 0 when value holds the result
  std::string message;

  static Outcome Of(Value v) {
    Outcome o;
    o.value = std::move(v);
    return o;
  }
  static Outcome Error(int32_t number, std::string text) {
    Outcome o;
    o.error = number;
    o.message = std::move(text);
    return o;
  }
  bool ok() const { return error == 0; }
};

}  // namespace sqlsim
