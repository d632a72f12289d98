// The C++ record class header: a class c_<table> that overlays the record
// buffer byte for byte, with typed accessors, metadata by field number, key
// building and export, import and XML functions. The text follows the headers
// that the host's programs have always included, character for character.
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

#include "codegen/cpp_class_templates.h"
#include "schema/generators.h"
#include "schema/key_fields.h"

namespace lerv32 {
namespace {

using namespace cpp_class;

bool IsIdentifierByte(unsigned char byte) { return byte < 0x80 && (std::isalnum(byte) != 0 || byte == '_'); }

// A name as part of an identifier (every identifier the header makes has a
// prefix such as m_, lp or c_): a name of letters, digits and underscores as
// it is, any other byte as an underscore and its two hex digits. A name so
// written could meet a plain name spelt that way; the compiler then refuses
// the header rather than mixing up two fields.
std::string CppIdentifier(std::string_view name) {
  std::string out;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsIdentifierByte(byte)) {
      out += c;
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "_%02X", byte);
      out += hex;
    }
  }
  return out;
}

// A name as the text of a string literal: quotes, backslashes and question
// marks (trigraphs) escaped, bytes outside printable ASCII as three octal
// digits, so that the literal holds the name's bytes whatever the compiler's
// source character set.
std::string CppStringText(std::string_view name) {
  std::string out;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\' || c == '?') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte > 0x7e) {
      char octal[5];
      std::snprintf(octal, sizeof octal, "\\%03o", byte);
      out += octal;
    } else {
      out += c;
    }
  }
  return out;
}

// One value for a conversion of a template: a text for %s, a number for %d
// and %c. Implicit, so that a line's values read as a plain list.
struct Arg {
  Arg(const char* value) : text(value) {}
  Arg(int value) : number(value) {}
  const char* text = nullptr;
  int number = 0;
};

// Appends format as wsprintf would, taking the value of each conversion from
// next(letter). The templates use %s, %d, %c and %% and nothing else.
template <typename Next>
void Expand(ScriptWriter& out, std::string_view format, Next&& next) {
  std::string text;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      text += format[i];
    } else if (++i < format.size() && format[i] == '%') {
      text += '%';
    } else if (i < format.size()) {
      text += next(format[i]);
    } else {
      throw std::logic_error("template ends in a percent sign");
    }
  }
  out.Put(text);
}

void Emit(ScriptWriter& out, std::string_view format, std::initializer_list<Arg> args) {
  const Arg* arg = args.begin();
  Expand(out, format, [&](char letter) -> std::string {
    if (arg == args.end()) throw std::logic_error("template wants more values");
    const Arg& value = *arg++;
    if (letter == 's' && value.text != nullptr) return value.text;
    if (letter == 'd' && value.text == nullptr) return std::to_string(value.number);
    if (letter == 'c' && value.text == nullptr) return std::string(1, static_cast<char>(value.number));
    throw std::logic_error("template value does not match its conversion");
  });
}

// A name of the definition in the two forms the header needs: part of an
// identifier, and the text of a string literal.
struct CppName {
  explicit CppName(std::string_view name) : identifier(CppIdentifier(name)), text(CppStringText(name)) {}
  std::string identifier;
  std::string text;
};

// A fixed line: every %s is the name as an identifier, every %q its text.
void EmitFixed(ScriptWriter& out, std::string_view format, const CppName& name) {
  Expand(out, format, [&](char letter) -> std::string {
    if (letter == 's') return name.identifier;
    if (letter == 'q') return name.text;
    throw std::logic_error("fixed template with a number");
  });
}

template <std::size_t N>
void EmitFixed(ScriptWriter& out, const char* const (&lines)[N], const CppName& name) {
  for (const char* line : lines) EmitFixed(out, line, name);
}

std::string FieldIdentifier(const FieldDef& field) { return CppIdentifier(NameText(field.Name)); }

std::string Printed(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

std::string Printed(const char* format, ...) {
  char text[64];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

// The host's class for a field of this type and size; empty for a type letter
// the host has no class for.
std::string MemberClass(const FieldDef& field) {
  const int w = field.Len;
  const int dec = field.Dec;
  switch (field.Type) {
    case 'C':
    case 'c': return Printed("T3Ktext%d", w);
    case 'D': return "T3Date";
    case 'L': return "T3Bool_TF";
    case 'N': return dec > 0 ? Printed("T3Num_%dn%d", w, dec) : Printed("T3Num_%dx", w);
    case 'b': return "T3Tiny";
    case 'd': return Printed("T3Double_%d", dec);
    case 'l': return "T3Long";
    case 'n': return Printed("T3Cobol_%dn%d", w, dec);
    case 'o': return "T3Cobol_Dat";
    case 's': return "T3Short";
    case 'u': return Printed(dec == 1 ? "T3RKey%d" : dec == 2 ? "T3NumKey%d" : "T3LKey%d", w);
    case 'x': return Printed("T3Cobol_%dx", w);
    default: return "";
  }
}

struct Accessors {
  const AccessorLine* begin;
  const AccessorLine* end;
};

template <std::size_t N>
constexpr Accessors All(const AccessorLine (&lines)[N]) {
  return {lines, lines + N};
}

Accessors AccessorsOf(const FieldDef& field) {
  switch (field.Type) {
    case 'C':
    case 'c': return All(kTextAccessors);
    case 'u': return All(kKeyTextAccessors);
    case 'D': return All(kDateAccessors);
    case 'L': return All(kLogicalAccessors);
    case 'N': return field.Dec > 0 ? All(kDecimalNumberTextAccessors) : All(kWholeNumberTextAccessors);
    case 'b': return All(kByteAccessors);
    case 'd': return All(kDoubleAccessors);
    case 'l': return All(kLongAccessors);
    case 'n': return All(kCobolNumberAccessors);
    case 'o': return All(kCobolDateAccessors);
    case 's': return All(kShortAccessors);
    case 'x': return All(kCobolBinaryAccessors);
    default: return {nullptr, nullptr};
  }
}

void WriteAccessor(ScriptWriter& out, const AccessorLine& line, const FieldDef& field) {
  const std::string identifier = FieldIdentifier(field);
  const char* name = identifier.c_str();
  const int w = field.Len;
  const int dec = field.Dec;
  switch (line.numbers) {
    case kNoNumbers: return Emit(out, line.format, {name, name});
    case kBufferAndWidth: return Emit(out, line.format, {name, name, w + 1, w});
    case kWidth: return Emit(out, line.format, {name, name, w});
    case kWidthAndDecimals: return Emit(out, line.format, {name, name, w, dec});
    case kDecimals: return Emit(out, line.format, {name, name, dec});
  }
}

void WriteMembers(ScriptWriter& out, const TableDef* td) {
  for (int i = 0; i < FieldsInUse(td); ++i) {
    out.Format("  %-14sm_%s;\r\n", MemberClass(td->Fields[i]).c_str(), FieldIdentifier(td->Fields[i]).c_str());
  }
  out.Put(kAddressSection);
  for (int i = 0; i < FieldsInUse(td); ++i) {
    const std::string identifier = FieldIdentifier(td->Fields[i]);
    const std::string head = "  LPSTR  lp" + identifier + "()";
    out.Format("%-26s{ return (LPSTR)(m_%s.GetDataAddr()); }\r\n", head.c_str(), identifier.c_str());
  }
  out.Put(kAccessorSection);
  for (int i = 0; i < FieldsInUse(td); ++i) {
    const Accessors accessors = AccessorsOf(td->Fields[i]);
    for (const AccessorLine* line = accessors.begin; line != accessors.end; ++line) {
      WriteAccessor(out, *line, td->Fields[i]);
    }
  }
}

void WriteDataBlock(ScriptWriter& out, const TableDef* td) {
  int data_size = 0;
  for (int i = 0; i < FieldsInUse(td); ++i) data_size += td->Fields[i].Len;
  const std::string first_field = FieldsInUse(td) > 0 ? FieldIdentifier(td->Fields[0]) : "";
  out.Put("\r\n");
  out.Format("  LPVOID GetDataAddr()        { return (LPVOID)(lp%s()); }\r\n", first_field.c_str());
  out.Format("  int    GetDataSize()        { return %d; }\r\n", data_size);
  out.Put("  BOOL   CheckCompilerType()  { return(GetDataSize() == sizeof(*this)); }\r\n");
}

void WriteInit(ScriptWriter& out, const TableDef* td, const CppName& table) {
  EmitFixed(out, kInitHead, table);
  for (int i = 0; i < FieldsInUse(td); ++i) out.Format("    Init%s();\r\n", FieldIdentifier(td->Fields[i]).c_str());
  out.Put("  }\r\n");
  out.Format("  c_%s()  { Init(); }\r\n", table.identifier.c_str());
  out.Format("  int    GetNumKeys()   { return %d; }\r\n", td->KeyCnt);
  out.Format("  int    GetNumFields()   { return %d; }\r\n", td->FieldCnt);
  EmitFixed(out, kMetadataDeclarations, table);
}

void WriteKeySize(ScriptWriter& out, const TableDef* td) {
  out.Put("  int    GetKeySize(int nKey)\r\n  {\r\n");
  for (int k = 0; k < KeysInUse(td); ++k) {
    int key_size = 0;
    for (const FieldDef* field : KeyFields(td, k)) key_size += field->Len;
    out.Format("    if (nKey==%d)  return %d;\r\n", k, key_size);
  }
  out.Put("    return 0;\r\n  }\r\n");
}

void WriteMakeKey(ScriptWriter& out, const TableDef* td) {
  out.Put("  int MakeKey(int nKey,LPSTR lpDst)\r\n  {\r\n    int __nLen = 0;\r\n");
  for (int k = 0; k < KeysInUse(td); ++k) {
    out.Format("    if (nKey==%d)\r\n    {\r\n", k);
    for (const FieldDef* field : KeyFields(td, k)) {
      if (field->Type == 'D') {
        EmitFixed(out, kDateKeyPart, CppName(NameText(field->Name)));
      } else {
        out.Format("      _fmemcpy(lpDst,lp%s(),%d);\r\n", FieldIdentifier(*field).c_str(), field->Len);
        out.Format("      lpDst  += %d;\r\n", field->Len);
        out.Format("      __nLen += %d;\r\n", field->Len);
      }
    }
    out.Put("      return __nLen;\r\n    }\r\n");
  }
  out.Put("    return __nLen;\r\n  }\r\n");
}

void WriteMetadataFunction(ScriptWriter& out, const TableDef* td, const CppName& table, MetadataAnswer answer) {
  const MetadataFunction& function = kMetadataFunctions[answer];
  EmitFixed(out, "\r\n#ifdef GEN_CODE_FOR_%s\r\n", table);
  EmitFixed(out, function.head, table);
  out.Put("{\r\n  switch(nFld)\r\n  {\r\n");
  for (int i = 0; i < FieldsInUse(td); ++i) {
    const FieldDef& field = td->Fields[i];
    switch (answer) {
      case kFieldName: Emit(out, function.case_line, {i, CppStringText(NameText(field.Name)).c_str()}); break;
      case kFieldAddress: Emit(out, function.case_line, {i, FieldIdentifier(field).c_str()}); break;
      case kFieldType: Emit(out, function.case_line, {i, field.Type}); break;
      case kFieldLength: Emit(out, function.case_line, {i, field.Len}); break;
      case kFieldDecimals: Emit(out, function.case_line, {i, field.Dec}); break;
    }
  }
  out.Put(function.default_line);
  out.Put("  }\r\n}\r\n#endif\r\n");
}

}  // namespace

void WriteCppTableDef(ScriptWriter& out, const TableDef* td) {
  const CppName table(NameText(td->TableName));
  EmitFixed(out, kPreamble, table);
  WriteMembers(out, td);
  WriteDataBlock(out, td);
  WriteInit(out, td, table);
  WriteKeySize(out, td);
  WriteMakeKey(out, td);
  EmitFixed(out, kClassTail, table);
  for (MetadataAnswer answer : {kFieldName, kFieldAddress, kFieldType, kFieldLength, kFieldDecimals}) {
    WriteMetadataFunction(out, td, table, answer);
  }
  EmitFixed(out, kExport, table);
  EmitFixed(out, kImport, table);
  EmitFixed(out, kXmlOutput, table);
  EmitFixed(out, kXmlInput, table);
  EmitFixed(out, kEnd, table);
}

}  // namespace lerv32
