// Values into character and binary buffers, in pieces.
#include "sqlsim/odbc/convert.h"

#include <cstring>

#include "sqlsim/odbc/text_codec.h"
#include "sqlsim/odbc/value_text.h"

namespace sqlsim::odbc {

CellOutcome CellOutcome::Fail(std::string_view state, std::string_view text) {
  CellOutcome out;
  out.rc = SQL_ERROR;
  out.sqlstate = std::string(state);
  out.message = std::string(text);
  return out;
}

void CellOutcome::Warn(std::string_view state, std::string_view text) {
  if (rc == SQL_ERROR) return;
  rc = SQL_SUCCESS_WITH_INFO;
  sqlstate = std::string(state);
  message = std::string(text);
}

bool IsVariableCType(SQLSMALLINT c_type) {
  return c_type == SQL_C_CHAR || c_type == SQL_C_WCHAR || c_type == SQL_C_BINARY;
}

bool IsKnownCType(SQLSMALLINT c_type) {
  return IsVariableCType(c_type) || FixedCTypeSize(c_type) != 0;
}

namespace {

std::string CharText(const Value& v, const ColumnDesc& column, bool* numeric) {
  *numeric = v.kind == Value::Kind::kInteger || v.kind == Value::Kind::kReal;
  switch (v.kind) {
    case Value::Kind::kInteger: {
      if (column.type == SqlType::kBit) return v.integer ? "1" : "0";
      std::string s = std::to_string(v.integer);
      if (column.type == SqlType::kDecimal && column.scale > 0) {
        s += "." + std::string(static_cast<size_t>(column.scale), '0');
      }
      return s;
    }
    case Value::Kind::kReal:
      if (column.type == SqlType::kDecimal) return FormatFixed(v.real, column.scale);
      return FormatReal(v.real, column.type == SqlType::kReal);
    case Value::Kind::kBlob:
      return HexText(v.bytes);
    default:
      return v.bytes;
  }
}

template <class T>
std::string RawBytes(T v) {
  std::string out(sizeof v, '\0');
  std::memcpy(out.data(), &v, sizeof v);
  return out;
}

bool BinaryBytes(const Value& v, const ColumnDesc& column, std::string* bytes) {
  switch (v.kind) {
    case Value::Kind::kInteger:
      switch (column.type) {
        case SqlType::kBit: case SqlType::kTinyint:
          *bytes = RawBytes(static_cast<uint8_t>(v.integer)); break;
        case SqlType::kSmallint: *bytes = RawBytes(static_cast<int16_t>(v.integer)); break;
        case SqlType::kInt: *bytes = RawBytes(static_cast<int32_t>(v.integer)); break;
        default: *bytes = RawBytes(v.integer); break;
      }
      return true;
    case Value::Kind::kReal:
      *bytes = column.type == SqlType::kReal ? RawBytes(static_cast<float>(v.real))
                                             : RawBytes(v.real);
      return true;
    default:
      break;
  }
  if (column.type == SqlType::kDatetime) {
    DateTime dt;
    if (!ParseDateTime(v.bytes, &dt)) return false;
    SQL_TIMESTAMP_STRUCT ts{static_cast<SQLSMALLINT>(dt.year), static_cast<SQLUSMALLINT>(dt.month),
                            static_cast<SQLUSMALLINT>(dt.day), static_cast<SQLUSMALLINT>(dt.hour),
                            static_cast<SQLUSMALLINT>(dt.minute), static_cast<SQLUSMALLINT>(dt.second),
                            dt.fraction_ns};
    *bytes = RawBytes(ts);
    return true;
  }
  *bytes = v.bytes;
  return true;
}

}  // namespace

bool VariableBytes(const Value& v, const ColumnDesc& column, SQLSMALLINT c_type,
                   std::string* bytes, bool* numeric, CellOutcome* failure) {
  *numeric = false;
  if (c_type == SQL_C_BINARY) {
    if (BinaryBytes(v, column, bytes)) return true;
    *failure = CellOutcome::Fail("22018", kInvalidCharacterValue);
    return false;
  }
  std::string text = CharText(v, column, numeric);
  if (c_type == SQL_C_CHAR) {
    *bytes = std::move(text);
    return true;
  }
  std::u16string wide = Cp1252ToUtf16(text);
  bytes->assign(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(char16_t));
  return true;
}

bool NumberFits(std::string_view bytes, SQLSMALLINT c_type, SQLLEN buffer_length) {
  size_t unit = c_type == SQL_C_WCHAR ? 2 : 1;
  size_t chars = bytes.size() / unit;
  size_t whole = chars;
  for (size_t i = 0; i < chars; ++i) {
    char c = bytes[i * unit];
    if (c == '.' || c == 'e' || c == 'E') {
      whole = i;
      break;
    }
  }
  return buffer_length >= 0 && static_cast<size_t>(buffer_length) / unit >= whole + 1;
}

size_t PieceGrain(const Value& v, SQLSMALLINT c_type) {
  return v.kind == Value::Kind::kBlob && c_type != SQL_C_BINARY ? 2 : 1;
}

CellOutcome CopyPiece(std::string_view bytes, size_t* offset, SQLSMALLINT c_type,
                      void* buffer, SQLLEN buffer_length, size_t grain) {
  CellOutcome out;
  size_t remaining = bytes.size() - *offset;
  size_t unit = c_type == SQL_C_WCHAR ? 2 : 1;
  size_t terminator = c_type == SQL_C_BINARY ? 0 : unit;
  size_t room = buffer_length > 0 ? static_cast<size_t>(buffer_length) : 0;
  room = room >= terminator ? room - terminator : 0;
  room -= room % (unit * grain);
  size_t n = remaining < room ? remaining : room;
  if (buffer && room + terminator <= static_cast<size_t>(buffer_length > 0 ? buffer_length : 0)) {
    std::memcpy(buffer, bytes.data() + *offset, n);
    if (terminator && static_cast<size_t>(buffer_length) >= terminator) {
      std::memset(static_cast<char*>(buffer) + n, 0, terminator);
    }
  }
  out.length = static_cast<SQLLEN>(remaining);
  *offset += n;
  if (n < remaining) out.Warn("01004", "String data, right truncated");
  return out;
}

CellOutcome TransferCell(const Value& v, const ColumnDesc& column,
                         SQLSMALLINT c_type, void* buffer, SQLLEN buffer_length) {
  if (v.IsNull()) {
    CellOutcome out;
    out.length = SQL_NULL_DATA;
    return out;
  }
  if (!IsVariableCType(c_type)) return ConvertFixed(v, column, c_type, buffer);
  size_t offset = 0;
  if (v.kind == Value::Kind::kText && c_type == SQL_C_CHAR) {
    return CopyPiece(v.bytes, &offset, c_type, buffer, buffer_length, 1);
  }
  std::string bytes;
  bool numeric = false;
  CellOutcome out;
  if (!VariableBytes(v, column, c_type, &bytes, &numeric, &out)) return out;
  if (numeric && !NumberFits(bytes, c_type, buffer_length)) {
    return CellOutcome::Fail("22003", "Numeric value out of range");
  }
  return CopyPiece(bytes, &offset, c_type, buffer, buffer_length, PieceGrain(v, c_type));
}

}  // namespace sqlsim::odbc
