// LEBASE32: field codecs given no field, widths of zero and below and
// decimals out of range; number texts given nothing; files given handles
// that are none; memory blocks and global memory handles that are none;
// texts and settings given null or no room.
#include <fcntl.h>
#include <unistd.h>

#include "hostile/hostile.h"
#include "platform/win_api.h"

namespace hostile {
namespace {

std::string Void() { return "void"; }

// w bytes of a field between guard bytes; "untouched" or its new bytes.
std::string Field(const Buffer& field) { return field.Untouched() ? "untouched" : Join({"'", field.Value(), "'"}); }

Rows Codecs() {
  return {
      {"CharNToLong", "null field", "0", [](World&) { return Num(CharNToLong(nullptr, 5)); }},
      {"CharNToLong", "width 0", "0", [](World&) { return Num(CharNToLong(Unterminated("12").get(), 0)); }},
      {"CharNToLong", "width -1", "0", [](World&) { return Num(CharNToLong(Unterminated("12").get(), -1)); }},
      {"CharNToDouble", "null field", "0", [](World&) { return Num(CharNToDouble(nullptr, 5, 2) != 0); }},
      {"CharNToDouble", "width -1", "0",
       [](World&) { return Num(CharNToDouble(Unterminated("12").get(), -1, 0) != 0); }},
      {"CharNToDouble", "decimals -1 (the text carries its scale)", "125",
       [](World&) { return Num(static_cast<int64_t>(CharNToDouble(Unterminated(" 1.25").get(), 5, -1) * 100)); }},
      {"LongToCharN", "null field", "void",
       [](World&) {
         LongToCharN(nullptr, 5, 7);
         return Void();
       }},
      {"LongToCharN", "width 0", "untouched",
       [](World&) {
         Buffer f(1);
         LongToCharN(f.data(), 0, 7);
         return Field(f);
       }},
      {"LongToCharN", "width -1", "untouched",
       [](World&) {
         Buffer f(1);
         LongToCharN(f.data(), -1, 7);
         return Field(f);
       }},
      {"DoubleToCharN", "null field", "void",
       [](World&) {
         DoubleToCharN(nullptr, 5, 2, 1.5);
         return Void();
       }},
      {"DoubleToCharN", "width -1", "untouched",
       [](World&) {
         Buffer f(1);
         DoubleToCharN(f.data(), -1, 2, 1.5);
         return Field(f);
       }},
      {"DoubleToCharN", "decimals -1 (as 0)", "'    2'",
       [](World&) {
         Buffer f(5);
         DoubleToCharN(f.data(), 5, -1, 1.5);
         return Field(f);
       }},
      {"DoubleToCharN", "decimals 99 (as 15, too wide)", "'*****'",
       [](World&) {
         Buffer f(5);
         DoubleToCharN(f.data(), 5, 99, 1.5);
         return Field(f);
       }},
      {"CharNFromString", "null field", "void",
       [](World&) {
         CharNFromString("abc", nullptr, 5);
         return Void();
       }},
      {"CharNFromString", "width -1", "untouched",
       [](World&) {
         Buffer f(1);
         CharNFromString("abc", f.data(), -1);
         return Field(f);
       }},
      {"CharNFromString", "null text (empty)", "'   '",
       [](World&) {
         Buffer f(3);
         CharNFromString(nullptr, f.data(), 3);
         return Field(f);
       }},
      {"CharNFromString", "text of the width, unterminated", "'abc'",
       [](World&) {
         Buffer f(3);
         CharNFromString(Unterminated("abc").get(), f.data(), 3);
         return Field(f);
       }},
      {"CharUFromString", "null field", "void",
       [](World&) {
         CharUFromString("abc", nullptr, 5);
         return Void();
       }},
      {"CharUFromString", "width 0", "untouched",
       [](World&) {
         Buffer f(1);
         CharUFromString("abc", f.data(), 0);
         return Field(f);
       }},
      {"CharUFromString", "text of the width, unterminated", "'ABC'",
       [](World&) {
         Buffer f(3);
         CharUFromString(Unterminated("abc").get(), f.data(), 3);
         return Field(f);
       }},
      {"CobolNToDouble", "null field", "0", [](World&) { return Num(CobolNToDouble(nullptr, 3, 0) != 0); }},
      {"CobolNToDouble", "width -1", "0",
       [](World&) { return Num(CobolNToDouble(Unterminated("\x12\x3C").get(), -1, 0) != 0); }},
      {"CobolNToDouble", "decimals -1 (as 0)", "123",
       [](World&) { return Num(static_cast<int64_t>(CobolNToDouble(Unterminated("\x12\x3C").get(), 2, -1))); }},
      {"DoubleToCobolN", "null field", "void",
       [](World&) {
         DoubleToCobolN(nullptr, 3, 0, 1.0);
         return Void();
       }},
      {"DoubleToCobolN", "width -1", "untouched",
       [](World&) {
         Buffer f(1);
         DoubleToCobolN(f.data(), -1, 0, 1.0);
         return Field(f);
       }},
      {"DoubleToCobolN", "decimals 99 (as 15: all nines)", "'\x99\x9C'",
       [](World&) {
         Buffer f(2);
         DoubleToCobolN(f.data(), 2, 99, 1.0);
         return Field(f);
       }},
      {"CobolXToLong", "null field", "0", [](World&) { return Num(CobolXToLong(nullptr, 4)); }},
      {"CobolXToLong", "width -1", "0", [](World&) { return Num(CobolXToLong(Unterminated("\x01").get(), -1)); }},
      {"LongToCobolX", "null field", "void",
       [](World&) {
         LongToCobolX(nullptr, 4, 1);
         return Void();
       }},
      {"LongToCobolX", "width -1", "untouched",
       [](World&) {
         Buffer f(1);
         LongToCobolX(f.data(), -1, 1);
         return Field(f);
       }},
      {"StrDatumToLong", "null field", "0", [](World&) { return Num(StrDatumToLong(nullptr)); }},
      {"StrDatumToLong", "10 bytes, unterminated", "20240229",
       [](World&) { return Num(StrDatumToLong(Unterminated("29.02.2024").get())); }},
      {"StrDatumFromLong", "null field", "void",
       [](World&) {
         StrDatumFromLong(nullptr, 20240229);
         return Void();
       }},
      {"StrDatumFromLong", "date -1 (ten blanks)", "'          '",
       [](World&) {
         Buffer f(10);
         StrDatumFromLong(f.data(), -1);
         return Field(f);
       }},
      {"CobolDatumToLong", "null field", "0", [](World&) { return Num(CobolDatumToLong(nullptr)); }},
      {"CobolDatumFromLong", "null field", "void",
       [](World&) {
         CobolDatumFromLong(nullptr, 20240229);
         return Void();
       }},
      {"CobolDatumFromLong", "date -1 (0)", "'\\0\\0\\0\\0'",
       [](World&) {
         Buffer f(4);
         CobolDatumFromLong(f.data(), -1);
         return f.Value() == std::string(4, '\0') ? std::string("'\\0\\0\\0\\0'") : Field(f);
       }},
      {"ld_ToStringEx", "null dest", "void",
       [](World&) {
         ld_ToStringEx(nullptr, 20240229);
         return Void();
       }},
      {"ld_ToStringEx", "date -1 (ten blanks)", "'          '",
       [](World&) {
         Buffer dest(11);
         ld_ToStringEx(dest.data(), -1);
         return Text(dest.data());
       }},
  };
}

Rows NumbersAndTexts() {
  return {
      {"StringToLong", "null text", "0", [](World&) { return Num(StringToLong(nullptr)); }},
      {"StringToDouble", "null text", "0", [](World&) { return Num(StringToDouble(nullptr) != 0); }},
      {"LongToString", "null dest", "void",
       [](World&) {
         LongToString(nullptr, 1, 5);
         return Void();
       }},
      {"LongToString", "width -1 (as wide as needed)", "'-2147483648'",
       [](World&) {
         Buffer dest(12);  // max(width, 11) + 1
         LongToString(dest.data(), INT32_MIN, -1);
         return Text(dest.data());
       }},
      {"DoubleToString", "null dest", "void",
       [](World&) {
         DoubleToString(nullptr, 1.5, 5, 2);
         return Void();
       }},
      {"DoubleToString", "width -1, decimals -1", "'2'",
       [](World&) {
         Buffer dest(64);
         DoubleToString(dest.data(), 1.5, -1, -1);
         return Text(dest.data());
       }},
      {"DoubleToString", "width 0, a value of 300 digits", "63 asterisks",
       [](World&) {
         Buffer dest(64);  // at most 63 characters and the zero
         DoubleToString(dest.data(), 1e300, 0, 15);
         return std::string(dest.data()) == std::string(63, '*') ? std::string("63 asterisks") : Text(dest.data());
       }},
      {"dRnd", "decimals -1 (as 0)", "2", [](World&) { return Num(static_cast<int64_t>(dRnd(1.5, -1))); }},
      {"dRnd", "decimals 99 (as 15)", "1.5", [](World&) { return dRnd(1.5, 99) == 1.5 ? std::string("1.5") : "?"; }},
      {"lstrtrim", "null text", "null", [](World&) { return Ptr(lstrtrim(nullptr)); }},
      {"llstrtrim", "null text", "null", [](World&) { return Ptr(llstrtrim(nullptr)); }},
      {"lstrcpy_A2U", "null dest", "null", [](World&) { return Ptr(lstrcpy_A2U(nullptr, "abc")); }},
      {"lstrcpy_A2U", "null text (empty)", "out 0",
       [](World&) {
         Buffer dest(2 * sizeof(LEBASE32_WCHAR));
         auto* wide = reinterpret_cast<LEBASE32_WCHAR*>(dest.data());
         return Join({Same(lstrcpy_A2U(wide, nullptr), wide), " ", Num(wide[0])});
       }},
      {"lstrcpyn_U2A", "null dest", "null",
       [](World&) {
         const LEBASE32_WCHAR src[] = {'a', 0};
         return Ptr(lstrcpyn_U2A(nullptr, src, 5));
       }},
      {"lstrcpyn_U2A", "size 0", "out untouched",
       [](World&) {
         const LEBASE32_WCHAR src[] = {'a', 0};
         Buffer dest(1);
         return Join({Same(lstrcpyn_U2A(dest.data(), src, 0), dest.data()), " ", Field(dest)});
       }},
      {"lstrcpyn_U2A", "size -1", "out untouched",
       [](World&) {
         const LEBASE32_WCHAR src[] = {'a', 0};
         Buffer dest(1);
         return Join({Same(lstrcpyn_U2A(dest.data(), src, -1), dest.data()), " ", Field(dest)});
       }},
      {"lstrcpyn_U2A", "null source (empty)", "out ''",
       [](World&) {
         Buffer dest(4);
         return Join({Same(lstrcpyn_U2A(dest.data(), nullptr, 4), dest.data()), " ", Text(dest.data())});
       }},
      {"lstrcpyn_U2A", "size - 1 units, unterminated", "out 'abc'",
       [](World&) {
         std::unique_ptr<LEBASE32_WCHAR[]> src(new LEBASE32_WCHAR[3]{'a', 'b', 'c'});
         Buffer dest(4);
         return Join({Same(lstrcpyn_U2A(dest.data(), src.get(), 4), dest.data()), " ", Text(dest.data())});
       }},
      {"lSetBstr_A", "null out", "void",
       [](World&) {
         lSetBstr_A(nullptr, "abc");
         return Void();
       }},
      {"lSetBstr_A", "null text (an empty string)", "ptr 0",
       [](World&) {
         LEBASE32_BSTR out = nullptr;
         lSetBstr_A(&out, nullptr);
         const std::string result = Ptr(out) + " " + Num(out != nullptr ? out[0] : -1);
         SysFreeString(reinterpret_cast<BSTR>(out));
         return result;
       }},
      {"UniqName", "counter -1", "a name",
       [](World&) {
         const char* name = UniqName(-1);
         return std::string(name != nullptr && std::strlen(name) <= 31 && name[0] != '\0' ? "a name" : "?");
       }},
  };
}

// A descriptor number that is open nowhere, and one just closed.
int32_t ClosedHandle(World& w) {
  const int32_t handle = X_Creat(w.temp.File("zu.bin").c_str());
  X_Close(handle);
  return handle;
}

Rows Files() {
  const std::pair<const char*, std::function<int32_t(World&)>> handles[] = {
      {"handle -1", [](World&) { return -1; }},
      {"handle never opened", [](World&) { return 1000000; }},
      {"handle closed", [](World& w) { return ClosedHandle(w); }},
  };
  Rows rows = {
      {"X_Open", "null path", "-1", [](World&) { return Num(X_Open(nullptr, 0)); }},
      {"X_Open", "mode -1", "-1", [](World& w) { return Num(X_Open(w.def_path.c_str(), -1)); }},
      {"X_Open", "mode 3", "-1", [](World& w) { return Num(X_Open(w.def_path.c_str(), 3)); }},
      {"X_Creat", "null path", "-1", [](World&) { return Num(X_Creat(nullptr)); }},
      {"X_Read", "null buffer", "-1",
       [](World& w) {
         const int32_t file = X_Open(w.def_path.c_str(), 0);
         const int32_t read = X_Read(file, nullptr, 10);
         X_Close(file);
         return Num(read);
       }},
      {"X_Read", "count -1", "-1 untouched",
       [](World& w) {
         const int32_t file = X_Open(w.def_path.c_str(), 0);
         Buffer buffer(4);
         const int32_t read = X_Read(file, buffer.data(), -1);
         X_Close(file);
         return Join({Num(read), " ", Field(buffer)});
       }},
      {"X_Read", "count 0", "0 untouched",
       [](World& w) {
         const int32_t file = X_Open(w.def_path.c_str(), 0);
         Buffer buffer(1);
         const int32_t read = X_Read(file, buffer.data(), 0);
         X_Close(file);
         return Join({Num(read), " ", Field(buffer)});
       }},
      {"X_Write", "null buffer", "-1",
       [](World& w) {
         const int32_t file = X_Creat(w.temp.File("neu.bin").c_str());
         const int32_t written = X_Write(file, nullptr, 10);
         X_Close(file);
         return Num(written);
       }},
      {"X_Write", "count -1", "-1",
       [](World& w) {
         const int32_t file = X_Creat(w.temp.File("neu.bin").c_str());
         const int32_t written = X_Write(file, "abc", -1);
         X_Close(file);
         return Num(written);
       }},
      {"X_Seek", "origin -1", "-1",
       [](World& w) {
         const int32_t file = X_Open(w.def_path.c_str(), 0);
         const int32_t at = X_Seek(file, 0, -1);
         X_Close(file);
         return Num(at);
       }},
      {"X_Seek", "origin 3", "-1",
       [](World& w) {
         const int32_t file = X_Open(w.def_path.c_str(), 0);
         const int32_t at = X_Seek(file, 0, 3);
         X_Close(file);
         return Num(at);
       }},
      {"X_Seek", "offset -1 from the start", "-1",
       [](World& w) {
         const int32_t file = X_Open(w.def_path.c_str(), 0);
         const int32_t at = X_Seek(file, -1, 0);
         X_Close(file);
         return Num(at);
       }},
      {"X_Readln", "null buffer", "0",
       [](World& w) {
         const int32_t file = X_Open(w.def_path.c_str(), 0);
         const int32_t read = X_Readln(file, nullptr, 10);
         X_Close(file);
         return Num(read);
       }},
      {"X_Readln", "size 0", "0 untouched",
       [](World& w) {
         const int32_t file = X_Open(w.def_path.c_str(), 0);
         Buffer line(1);
         const int32_t read = X_Readln(file, line.data(), 0);
         X_Close(file);
         return Join({Num(read), " ", Field(line)});
       }},
      {"X_Readln", "size -1", "0 untouched",
       [](World& w) {
         const int32_t file = X_Open(w.def_path.c_str(), 0);
         Buffer line(1);
         const int32_t read = X_Readln(file, line.data(), -1);
         X_Close(file);
         return Join({Num(read), " ", Field(line)});
       }},
      {"X_Readln", "size 1 (the zero alone)", "1 ''",
       [](World& w) {
         const int32_t file = X_Open(w.def_path.c_str(), 0);
         Buffer line(1);
         const int32_t read = X_Readln(file, line.data(), 1);
         X_Close(file);
         return Join({Num(read), " ", Text(line.data())});
       }},
  };
  for (const auto& [variant, handle] : handles) {
    const auto make = handle;
    rows.push_back({"X_Read", variant, "-1 untouched", [make](World& w) {
                      Buffer buffer(4);
                      return Join({Num(X_Read(make(w), buffer.data(), 4)), " ", Field(buffer)});
                    }});
    rows.push_back({"X_Write", variant, "-1", [make](World& w) { return Num(X_Write(make(w), "abc", 3)); }});
    rows.push_back({"X_Seek", variant, "-1", [make](World& w) { return Num(X_Seek(make(w), 0, 0)); }});
    rows.push_back({"X_Readln", variant, "0 ''", [make](World& w) {
                      Buffer line(4);
                      return Join({Num(X_Readln(make(w), line.data(), 4)), " ", Text(line.data())});
                    }});
    rows.push_back({"X_Close", variant, "-1", [make](World& w) { return Num(X_Close(make(w))); }});
  }
  return rows;
}

Rows Memory() {
  const std::pair<const char*, std::function<HGLOBAL()>> handles[] = {
      {"handle null", [] { return HGLOBAL{nullptr}; }},
      {"handle -1", [] { return MinusOne(); }},
      {"handle freed",
       [] {
         HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
         GlobalFree(block);
         return block;
       }},
  };
  Rows rows = {
      {"AllocGlobal", "0 bytes (a valid empty block)", "ptr",
       [](World&) {
         void* block = AllocGlobal(0);
         const std::string result = Ptr(block);
         FreeGlobal(block);
         return result;
       }},
      {"FreeGlobal", "null", "void",
       [](World&) {
         FreeGlobal(nullptr);
         return Void();
       }},
      {"FreeGlobal", "-1", "void blocks kept",
       [](World&) {
         const int32_t blocks = rv_GetMemUsage(1);
         FreeGlobal(MinusOne());
         return Join({std::string("void"), (rv_GetMemUsage(1) == blocks ? " blocks kept" : " blocks freed")});
       }},
      {"FreeGlobal", "freed already", "void blocks kept",
       [](World&) {
         void* block = AllocGlobal(8);
         FreeGlobal(block);
         const int32_t blocks = rv_GetMemUsage(1);
         FreeGlobal(block);
         return Join({std::string("void"), (rv_GetMemUsage(1) == blocks ? " blocks kept" : " blocks freed")});
       }},
      {"FreeGlobal", "an address that is no block", "void blocks kept",
       [](World&) {
         std::unique_ptr<char[]> other(new char[64]);
         const int32_t blocks = rv_GetMemUsage(1);
         FreeGlobal(other.get() + 16);
         return Join({std::string("void"), (rv_GetMemUsage(1) == blocks ? " blocks kept" : " blocks freed")});
       }},
      {"GetGlobalUsage", "null bytes and blocks", "void",
       [](World&) {
         GetGlobalUsage(nullptr, nullptr);
         return Void();
       }},
      {"GlobalAlloc", "2 GiB", "null", [](World&) { return Ptr(GlobalAlloc(GMEM_MOVEABLE, size_t{0x80000000u})); }},
      {"GlobalAlloc", "flags -1 (accepted, no effect)", "ptr",
       [](World&) {
         HGLOBAL block = GlobalAlloc(~0u, 4);
         const std::string result = Ptr(block);
         GlobalFree(block);
         return result;
       }},
      {"GlobalLock", "movable block of 0 bytes", "null",
       [](World&) {
         HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 0);
         const std::string result = Ptr(GlobalLock(block));
         GlobalFree(block);
         return result;
       }},
      {"GlobalUnlock", "a block not locked", "0",
       [](World&) {
         HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
         const std::string result = Num(GlobalUnlock(block));
         GlobalFree(block);
         return result;
       }},
  };
  for (const auto& [variant, handle] : handles) {
    const auto make = handle;
    const bool null = std::string(variant) == "handle null";
    rows.push_back({"GlobalLock", variant, "null", [make](World&) { return Ptr(GlobalLock(make())); }});
    rows.push_back({"GlobalUnlock", variant, "0", [make](World&) { return Num(GlobalUnlock(make())); }});
    rows.push_back(
        {"GlobalSize", variant, "0", [make](World&) { return Num(static_cast<int64_t>(GlobalSize(make()))); }});
    rows.push_back({"GlobalFree", variant, null ? "null" : "the handle", [make](World&) {
                      HGLOBAL block = make();
                      HGLOBAL back = GlobalFree(block);
                      return back == nullptr ? std::string("null") : back == block ? "the handle" : "?";
                    }});
  }
  return rows;
}

Rows SettingsAndLog() {
  return {
      {"uGetHwpKeyString", "null key", "0 ''",
       [](World&) {
         Buffer buffer(8);
         return Join({Num(uGetHwpKeyString(nullptr, buffer.data(), 8)), " ", Text(buffer.data())});
       }},
      {"uGetHwpKeyString", "null buffer", "0", [](World&) { return Num(uGetHwpKeyString("Schluessel", nullptr, 8)); }},
      {"uGetHwpKeyString", "size 0", "0 untouched",
       [](World&) {
         Buffer buffer(1);
         return Join({Num(uGetHwpKeyString("Schluessel", buffer.data(), 0)), " ", Field(buffer)});
       }},
      {"uGetHwpKeyString", "size -1", "0 untouched",
       [](World&) {
         Buffer buffer(1);
         return Join({Num(uGetHwpKeyString("Schluessel", buffer.data(), -1)), " ", Field(buffer)});
       }},
      {"uGetHwpKeyString", "size 3, a longer value", "1 'ab'",
       [](World&) {
         uSetHwpKeyString("Hostile_Lang", "abcdef");
         Buffer buffer(3);
         return Join({Num(uGetHwpKeyString("Hostile_Lang", buffer.data(), 3)), " ", Text(buffer.data())});
       }},
      {"uSetHwpKeyString", "null key", "0", [](World&) { return Num(uSetHwpKeyString(nullptr, "x")); }},
      {"uSetHwpKeyString", "empty key", "0", [](World&) { return Num(uSetHwpKeyString("", "x")); }},
      {"uSetHwpKeyString", "null text (stored empty, as documented)", "1 1 ''",
       [](World&) {
         const int32_t stored = uSetHwpKeyString("Hostile_Leer", nullptr);
         char value[8] = "?";
         return Join({Num(stored), " ", Num(uGetHwpKeyString("Hostile_Leer", value, sizeof value)), " ", Text(value)});
       }},
      {"leEventLogWrite", "level -1, null source and text (logged empty)", "1",
       [](World&) { return Num(leEventLogWrite(-1, nullptr, nullptr)); }},
  };
}

}  // namespace

Rows SupportRows() {
  Rows rows = Codecs();
  for (Rows part : {NumbersAndTexts(), Files(), Memory(), SettingsAndLog()})
    rows.insert(rows.end(), part.begin(), part.end());
  return rows;
}

}  // namespace hostile
