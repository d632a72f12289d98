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

// w bytes of a field between guard bytes; "untouched" or its new bytes.
std::string Field(const Buffer& field) { return field.Untouched() ? "untouched" : Join({"'", field.Value(), "'"}); }

// Lets write fill a field of size bytes; what Field makes of it.
Call Writes(std::size_t size, std::function<void(char*)> write) {
  return [size, write](World&) {
    Buffer field(size);
    write(field.data());
    return Field(field);
  };
}

// "<what call gave> <the text it left in the size bytes it was given>".
std::string IntoText(std::size_t size, const std::function<int64_t(char*)>& call) {
  Buffer text(size);
  const int64_t result = call(text.data());
  return Join({Num(result), " ", Text(text.data())});
}

// The codecs that read a field: a null one and a width below zero give 0.
struct FieldReader {
  const char* name;
  const char* sample;  // a field of strlen(sample) bytes that reads as a value other than 0
  std::function<double(const char*, int32_t)> read;
};

const FieldReader kFieldReaders[] = {
    {"CharNToLong", "12", [](const char* f, int32_t w) { return static_cast<double>(CharNToLong(f, w)); }},
    {"CharNToDouble", "12", [](const char* f, int32_t w) { return CharNToDouble(f, w, 0); }},
    {"CobolNToDouble", "\x12\x3C", [](const char* f, int32_t w) { return CobolNToDouble(f, w, 0); }},
    {"CobolXToLong", "\x01", [](const char* f, int32_t w) { return static_cast<double>(CobolXToLong(f, w)); }},
};

// The codecs that write a field: a null one is passed over, and a width of
// zero or below writes nothing.
struct FieldWriter {
  const char* name;
  std::function<void(char*, int32_t)> write;
};

const FieldWriter kFieldWriters[] = {
    {"LongToCharN", [](char* f, int32_t w) { LongToCharN(f, w, 7); }},
    {"DoubleToCharN", [](char* f, int32_t w) { DoubleToCharN(f, w, 2, 1.5); }},
    {"CharNFromString", [](char* f, int32_t w) { CharNFromString("abc", f, w); }},
    {"CharUFromString", [](char* f, int32_t w) { CharUFromString("abc", f, w); }},
    {"DoubleToCobolN", [](char* f, int32_t w) { DoubleToCobolN(f, w, 0, 1.0); }},
    {"LongToCobolX", [](char* f, int32_t w) { LongToCobolX(f, w, 1); }},
};

Rows Codecs() {
  Rows rows;
  for (const FieldReader& r : kFieldReaders) {
    const auto read = r.read;
    const std::string sample = r.sample;
    rows.push_back({r.name, "null field", "0",
                    [read, sample](World&) { return Num(read(nullptr, static_cast<int32_t>(sample.size())) != 0); }});
    for (int32_t width : {0, -1}) {
      rows.push_back({r.name, "width " + Num(width), "0",
                      [read, sample, width](World&) { return Num(read(Unterminated(sample).get(), width) != 0); }});
    }
  }
  for (const FieldWriter& fw : kFieldWriters) {
    const auto write = fw.write;
    rows.push_back({fw.name, "null field", "void", Void([write](World&) { write(nullptr, 5); })});
    for (int32_t width : {0, -1}) {
      rows.push_back(
          {fw.name, "width " + Num(width), "untouched", Writes(1, [write, width](char* f) { write(f, width); })});
    }
  }
  Rows more = {
      {"CharNToDouble", "decimals -1 (the text carries its scale)", "125",
       [](World&) { return Num(static_cast<int64_t>(CharNToDouble(Unterminated(" 1.25").get(), 5, -1) * 100)); }},
      {"DoubleToCharN", "decimals -1 (as 0)", "'    2'", Writes(5, [](char* f) { DoubleToCharN(f, 5, -1, 1.5); })},
      {"DoubleToCharN", "decimals 99 (as 15, too wide)", "'*****'",
       Writes(5, [](char* f) { DoubleToCharN(f, 5, 99, 1.5); })},
      {"CharNFromString", "null text (empty)", "'   '", Writes(3, [](char* f) { CharNFromString(nullptr, f, 3); })},
      {"CharNFromString", "text of the width, unterminated", "'abc'",
       Writes(3, [](char* f) { CharNFromString(Unterminated("abc").get(), f, 3); })},
      {"CharUFromString", "text of the width, unterminated", "'ABC'",
       Writes(3, [](char* f) { CharUFromString(Unterminated("abc").get(), f, 3); })},
      {"CobolNToDouble", "decimals -1 (as 0)", "123",
       [](World&) { return Num(static_cast<int64_t>(CobolNToDouble(Unterminated("\x12\x3C").get(), 2, -1))); }},
      {"DoubleToCobolN", "decimals 99 (as 15: all nines)", "'\x99\x9C'",
       Writes(2, [](char* f) { DoubleToCobolN(f, 2, 99, 1.0); })},
      {"StrDatumToLong", "null field", "0", [](World&) { return Num(StrDatumToLong(nullptr)); }},
      {"StrDatumToLong", "10 bytes, unterminated", "20240229",
       [](World&) { return Num(StrDatumToLong(Unterminated("29.02.2024").get())); }},
      {"StrDatumFromLong", "null field", "void", Void([](World&) { StrDatumFromLong(nullptr, 20240229); })},
      {"StrDatumFromLong", "date -1 (ten blanks)", "'          '",
       Writes(10, [](char* f) { StrDatumFromLong(f, -1); })},
      {"CobolDatumToLong", "null field", "0", [](World&) { return Num(CobolDatumToLong(nullptr)); }},
      {"CobolDatumFromLong", "null field", "void", Void([](World&) { CobolDatumFromLong(nullptr, 20240229); })},
      {"CobolDatumFromLong", "date -1 (0)", std::string("'\0\0\0\0'", 6),
       Writes(4, [](char* f) { CobolDatumFromLong(f, -1); })},
      {"ld_ToStringEx", "null dest", "void", Void([](World&) { ld_ToStringEx(nullptr, 20240229); })},
      {"ld_ToStringEx", "date -1 (ten blanks)", "'          '",
       [](World&) {
         Buffer dest(11);
         ld_ToStringEx(dest.data(), -1);
         return Text(dest.data());
       }},
  };
  rows.insert(rows.end(), more.begin(), more.end());
  return rows;
}

const LEBASE32_WCHAR kWideA[] = {'a', 0};

Rows NumbersAndTexts() {
  Rows rows = {
      {"StringToLong", "null text", "0", [](World&) { return Num(StringToLong(nullptr)); }},
      {"StringToDouble", "null text", "0", [](World&) { return Num(StringToDouble(nullptr) != 0); }},
      {"LongToString", "null dest", "void", Void([](World&) { LongToString(nullptr, 1, 5); })},
      {"LongToString", "width -1 (as wide as needed)", "'-2147483648'",
       [](World&) {
         Buffer dest(12);  // max(width, 11) + 1
         LongToString(dest.data(), INT32_MIN, -1);
         return Text(dest.data());
       }},
      {"DoubleToString", "null dest", "void", Void([](World&) { DoubleToString(nullptr, 1.5, 5, 2); })},
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
      {"lstrcpyn_U2A", "null dest", "null", [](World&) { return Ptr(lstrcpyn_U2A(nullptr, kWideA, 5)); }},
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
      {"lSetBstr_A", "null out", "void", Void([](World&) { lSetBstr_A(nullptr, "abc"); })},
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
  for (int32_t size : {0, -1}) {
    rows.push_back({"lstrcpyn_U2A", "size " + Num(size), "out untouched", [size](World&) {
                      Buffer dest(1);
                      return Join({Same(lstrcpyn_U2A(dest.data(), kWideA, size), dest.data()), " ", Field(dest)});
                    }});
  }
  return rows;
}

// A descriptor number that is open nowhere, and one just closed.
int32_t ClosedHandle(World& w) {
  const int32_t handle = X_Creat(w.temp.File("zu.bin").c_str());
  X_Close(handle);
  return handle;
}

// Runs call on the definition file opened for reading (or on a new file
// made for writing), and closes it.
Call OnFile(std::function<std::string(int32_t)> call, bool made = false) {
  return [call, made](World& w) {
    const int32_t file = made ? X_Creat(w.temp.File("neu.bin").c_str()) : X_Open(w.def_path.c_str(), 0);
    std::string result = call(file);
    X_Close(file);
    return result;
  };
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
      {"X_Read", "null buffer", "-1", OnFile([](int32_t file) { return Num(X_Read(file, nullptr, 10)); })},
      {"X_Read", "count -1", "-1 untouched",
       OnFile([](int32_t file) { return Into(4, [file](char* b) { return X_Read(file, b, -1); }); })},
      {"X_Read", "count 0", "0 untouched",
       OnFile([](int32_t file) { return Into(1, [file](char* b) { return X_Read(file, b, 0); }); })},
      {"X_Write", "null buffer", "-1", OnFile([](int32_t file) { return Num(X_Write(file, nullptr, 10)); }, true)},
      {"X_Write", "count -1", "-1", OnFile([](int32_t file) { return Num(X_Write(file, "abc", -1)); }, true)},
      {"X_Seek", "origin -1", "-1", OnFile([](int32_t file) { return Num(X_Seek(file, 0, -1)); })},
      {"X_Seek", "origin 3", "-1", OnFile([](int32_t file) { return Num(X_Seek(file, 0, 3)); })},
      {"X_Seek", "offset -1 from the start", "-1", OnFile([](int32_t file) { return Num(X_Seek(file, -1, 0)); })},
      {"X_Readln", "null buffer", "0", OnFile([](int32_t file) { return Num(X_Readln(file, nullptr, 10)); })},
      {"X_Readln", "size 0", "0 untouched",
       OnFile([](int32_t file) { return Into(1, [file](char* b) { return X_Readln(file, b, 0); }); })},
      {"X_Readln", "size -1", "0 untouched",
       OnFile([](int32_t file) { return Into(1, [file](char* b) { return X_Readln(file, b, -1); }); })},
      {"X_Readln", "size 1 (the zero alone)", "1 ''",
       OnFile([](int32_t file) { return IntoText(1, [file](char* b) { return X_Readln(file, b, 1); }); })},
  };
  for (const auto& [variant, handle] : handles) {
    const auto make = handle;
    rows.push_back({"X_Read", variant, "-1 untouched",
                    [make](World& w) { return Into(4, [&](char* b) { return X_Read(make(w), b, 4); }); }});
    rows.push_back({"X_Write", variant, "-1", [make](World& w) { return Num(X_Write(make(w), "abc", 3)); }});
    rows.push_back({"X_Seek", variant, "-1", [make](World& w) { return Num(X_Seek(make(w), 0, 0)); }});
    rows.push_back({"X_Readln", variant, "0 ''",
                    [make](World& w) { return IntoText(4, [&](char* b) { return X_Readln(make(w), b, 4); }); }});
    rows.push_back({"X_Close", variant, "-1", [make](World& w) { return Num(X_Close(make(w))); }});
  }
  return rows;
}

// FreeGlobal given what make gives, which is no block of the library's:
// "void blocks kept".
Call FreesNothing(std::function<void*()> make) {
  return [make](World&) {
    void* block = make();
    const int32_t blocks = rv_GetMemUsage(1);
    FreeGlobal(block);
    return Join({std::string("void"), BlocksKept(blocks)});
  };
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
      {"FreeGlobal", "null", "void", Void([](World&) { FreeGlobal(nullptr); })},
      {"FreeGlobal", "-1", "void blocks kept", FreesNothing([] { return MinusOne(); })},
      {"FreeGlobal", "freed already", "void blocks kept", FreesNothing([] {
         void* block = AllocGlobal(8);
         FreeGlobal(block);
         return block;
       })},
      {"FreeGlobal", "an address that is no block", "void blocks kept", FreesNothing([] {
         static char other[64];
         return static_cast<void*>(other + 16);
       })},
      {"GetGlobalUsage", "null bytes and blocks", "void", Void([](World&) { GetGlobalUsage(nullptr, nullptr); })},
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
  Rows rows = {
      {"uGetHwpKeyString", "null key", "0 ''",
       [](World&) { return IntoText(8, [](char* b) { return uGetHwpKeyString(nullptr, b, 8); }); }},
      {"uGetHwpKeyString", "null buffer", "0", [](World&) { return Num(uGetHwpKeyString("Schluessel", nullptr, 8)); }},
      {"uGetHwpKeyString", "size 3, a longer value", "1 'ab'",
       [](World&) {
         uSetHwpKeyString("Hostile_Lang", "abcdef");
         return IntoText(3, [](char* b) { return uGetHwpKeyString("Hostile_Lang", b, 3); });
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
  for (int32_t size : {0, -1}) {
    rows.push_back({"uGetHwpKeyString", "size " + Num(size), "0 untouched", [size](World&) {
                      return Into(1, [size](char* b) { return uGetHwpKeyString("Schluessel", b, size); });
                    }});
  }
  return rows;
}

}  // namespace

Rows SupportRows() {
  Rows rows = Codecs();
  for (Rows part : {NumbersAndTexts(), Files(), Memory(), SettingsAndLog()})
    rows.insert(rows.end(), part.begin(), part.end());
  return rows;
}

}  // namespace hostile
