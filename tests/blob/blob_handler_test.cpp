// The blob handler against sqlsim through its vtable: methods forwarded to
// the blob calls, their results in GetError, interfaces and references,
// long file names and null out pointers refused. Off Windows the handler
// has no type library and no IDispatch; under Wine the type library in
// LERV32.dll, late-bound calls and a JScript client.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "blob/blob_db.h"
#include "blob/blob_handler.h"
#include "include/lebase32.h"
#include "include/lerv32.h"
#include "support/test_env.h"

#if defined(_WIN32)
#include "blob/script_host.h"
#endif

namespace {

using testenv::ReadText;
using testenv::WriteText;

// An automation string of ASCII text, freed at the end.
class Bstr {
 public:
  explicit Bstr(const std::string& text) {
    const std::basic_string<OLECHAR> wide(text.begin(), text.end());
    text_ = SysAllocStringLen(wide.c_str(), static_cast<UINT>(wide.size()));
  }
  ~Bstr() { SysFreeString(text_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return text_; }

 private:
  BSTR text_;
};

// The text of an automation string (ASCII); frees it.
std::string TakeText(BSTR text) {
  std::string narrow;
  for (UINT i = 0; text != nullptr && i < SysStringLen(text); ++i) narrow += static_cast<char>(text[i]);
  SysFreeString(text);
  return narrow;
}

struct Releaser {
  void operator()(IUnknown* object) const { object->Release(); }
};
template <typename Interface>
using Ref = std::unique_ptr<Interface, Releaser>;

// A handler of connection dbc, through rv_CreateBlobHandler.
Ref<IDbBlobHandler> MakeHandler(LERV32_HDBC dbc) {
  void* made = nullptr;
  EXPECT_EQ(rv_CreateBlobHandler(dbc, &made), 1);
  if (made == nullptr) return nullptr;
  Ref<IUnknown> unknown(static_cast<IUnknown*>(made));
  void* handler = nullptr;
  EXPECT_EQ(unknown->QueryInterface(IID_IDbBlobHandler, &handler), S_OK);
  return Ref<IDbBlobHandler>(static_cast<IDbBlobHandler*>(handler));
}

std::string ErrorOf(IDbBlobHandler* handler) {
  BSTR text = nullptr;
  EXPECT_EQ(handler->GetError(&text), S_OK);
  return TakeText(text);
}

const std::string kCannotOpen = "XFILE::open(...,FALSE)";
const std::string kCannotCreate = "XFILE::creat(...)";
const std::string kNoData = "no blobdata available";
constexpr IID kOtherIid = {0x0BADF00D, 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 8}};
#if defined(_WIN32)
constexpr bool kHasTypeLibrary = true;
#else
constexpr bool kHasTypeLibrary = false;
#endif

// count bytes of every value, zero bytes among them.
std::string Bytes(size_t count, int seed) {
  std::string bytes(count, '\0');
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>((i * 7 + seed) % 256);
  return bytes;
}

DBBLOB_HANDLE_VALUE ValueOf(HGLOBAL block) {
  return static_cast<DBBLOB_HANDLE_VALUE>(reinterpret_cast<intptr_t>(block));
}
HGLOBAL BlockOf(DBBLOB_HANDLE_VALUE value) { return reinterpret_cast<HGLOBAL>(static_cast<intptr_t>(value)); }

HGLOBAL NewBlock(const std::string& content) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, content.size());
  std::memcpy(GlobalLock(block), content.data(), content.size());
  GlobalUnlock(block);
  return block;
}

// The block's bytes; frees it.
std::string TakeBlock(HGLOBAL block) {
  const std::string content(static_cast<const char*>(GlobalLock(block)), GlobalSize(block));
  GlobalUnlock(block);
  GlobalFree(block);
  return content;
}

class BlobHandlerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dbc_ = db_.Connect();
    ASSERT_NE(dbc_, nullptr);
    handler_ = MakeHandler(dbc_);
    ASSERT_NE(handler_, nullptr);
  }

  std::string NewFile(const std::string& content) {
    const std::string name = db_.File("file-" + std::to_string(++files_));
    WriteText(name, content);
    return name;
  }
  LONG Insert(const std::string& content) {
    LONG id = 0;
    EXPECT_EQ(handler_->InsertFromFile(Bstr(NewFile(content)).get(), &id), S_OK);
    return id;
  }
  LONG Size(LONG id) {
    LONG size = -2;
    EXPECT_EQ(handler_->SizeOfBlob(id, &size), S_OK);
    return size;
  }

  blobtest::BlobDb db_;
  LERV32_HDBC dbc_ = nullptr;
  Ref<IDbBlobHandler> handler_;
  int files_ = 0;
};

// Each method forwards to its blob call: what goes in comes out.
TEST_F(BlobHandlerTest, MethodsForwardToTheBlobCalls) {
  IDbBlobHandler* handler = handler_.get();
  EXPECT_EQ(ErrorOf(handler), "");
  const std::string content = Bytes(1300, 1), replaced = Bytes(600, 9);
  const LONG id = Insert(content);
  ASSERT_GT(id, 0);
  EXPECT_EQ(Size(id), 1300);
  const std::string out = db_.File("out");
  VARIANT_BOOL success = VARIANT_FALSE;
  EXPECT_EQ(handler->SelectToFile(Bstr(out).get(), id, &success), S_OK);
  EXPECT_EQ(success, VARIANT_TRUE);
  EXPECT_EQ(ReadText(out), content);

  HGLOBAL block = NewBlock(replaced);
  success = VARIANT_FALSE;
  EXPECT_EQ(handler->UpdateFromHandle(ValueOf(block), id, &success), S_OK);
  EXPECT_EQ(success, VARIANT_TRUE);
  LONG copy = 0;
  EXPECT_EQ(handler->InsertFromHandle(ValueOf(block), &copy), S_OK);
  GlobalFree(block);
  DBBLOB_HANDLE_VALUE read = 0;
  for (LONG blob : {id, copy}) {
    EXPECT_EQ(handler->SelectToHandle(blob, &read), S_OK);
    ASSERT_NE(read, 0);
    EXPECT_EQ(TakeBlock(BlockOf(read)), replaced);
  }
  success = VARIANT_FALSE;
  EXPECT_EQ(handler->UpdateFromFile(Bstr(NewFile("abc")).get(), id, &success), S_OK);
  EXPECT_EQ(success, VARIANT_TRUE);
  EXPECT_EQ(Size(id), 3);
  EXPECT_EQ(handler->UpdateFromHandle(0, id, &success), S_OK);  // a null handle empties the blob
  EXPECT_EQ(handler->SelectToHandle(id, &read), S_OK);
  EXPECT_EQ(read, 0);
  EXPECT_EQ(ErrorOf(handler), kNoData);
  success = VARIANT_FALSE;
  EXPECT_EQ(handler->DeleteBlob(copy, &success), S_OK);
  EXPECT_EQ(success, VARIANT_TRUE);
  EXPECT_EQ(Size(copy), 0);
}

// Each step's outcome and GetError after it: only the forwarding methods
// that record a result change the text.
TEST_F(BlobHandlerTest, GetErrorDescribesTheLastRecordingCall) {
  IDbBlobHandler* handler = handler_.get();
  const LONG id = Insert("abc");
  const LONG empty = Insert("");
  const LONG doomed = Insert("xyz");
  const std::string source = NewFile("new data");
  const std::string nowhere = db_.File("no-such-folder/out");
  VARIANT_BOOL success = VARIANT_FALSE;
  LONG value = 0;
  struct Step {
    const char* what;
    std::function<bool()> call;  // true: the call succeeded
    bool succeeds;
    std::string error;
  };
  const Step steps[] = {
      {"insert from a missing file",
       [&] { return handler->InsertFromFile(Bstr(db_.File("missing")).get(), &value) == S_OK && value != 0; }, false,
       kCannotOpen},
      {"size", [&] { return handler->SizeOfBlob(id, &value) == S_OK && value == 3; }, true, kCannotOpen},
      {"delete", [&] { return handler->DeleteBlob(doomed, &success) == S_OK && success == VARIANT_TRUE; }, true,
       kCannotOpen},
      {"update of blob 0", [&] { return handler->UpdateFromFile(Bstr(source).get(), 0, &success) == S_OK && success; },
       false, "unexpected resultcode"},
      {"select of an empty blob",
       [&] { return handler->SelectToFile(Bstr(db_.File("empty")).get(), empty, &success) == S_OK && success; }, false,
       kNoData},
      {"select into a missing folder",
       [&] { return handler->SelectToFile(Bstr(nowhere).get(), id, &success) == S_OK && success; }, false,
       kCannotCreate},
      {"update", [&] { return handler->UpdateFromFile(Bstr(source).get(), id, &success) == S_OK && success; }, true,
       ""},
  };
  for (const Step& step : steps) {
    EXPECT_EQ(step.call(), step.succeeds) << step.what;
    EXPECT_EQ(ErrorOf(handler), step.error) << step.what;
  }
  EXPECT_FALSE(std::filesystem::exists(db_.File("empty")));
  EXPECT_EQ(Size(doomed), 0);
}

TEST_F(BlobHandlerTest, QueryInterface) {
  struct Asked {
    const char* what;
    IID iid;
    bool served;
  };
  const Asked asked[] = {
      {"IUnknown", IID_IUnknown, true},
      {"IDbBlobHandler", IID_IDbBlobHandler, true},
      {"IDispatch", IID_IDispatch, kHasTypeLibrary},
      {"IID_NULL", IID_NULL, false},
      {"another interface", kOtherIid, false},
  };
  for (const Asked& ask : asked) {
    int dummy = 0;
    void* object = &dummy;
    const HRESULT result = handler_->QueryInterface(ask.iid, &object);
    if (ask.served) {
      EXPECT_EQ(result, S_OK) << ask.what;
      EXPECT_EQ(object, static_cast<void*>(handler_.get())) << ask.what;
      if (object != nullptr) static_cast<IUnknown*>(object)->Release();
    } else {
      EXPECT_EQ(result, E_NOINTERFACE) << ask.what;
      EXPECT_EQ(object, nullptr) << ask.what;
    }
  }
  EXPECT_EQ(handler_->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
}

TEST(BlobHandlerLifetime, FreedAtTheLastRelease) {
  blobtest::BlobDb db;
  LERV32_HDBC dbc = db.Connect("lifetime", false);
  int32_t blocks_at_start = 0;
  GetGlobalUsage(nullptr, &blocks_at_start);
  auto blocks = [] {
    int32_t now = 0;
    GetGlobalUsage(nullptr, &now);
    return now;
  };

  EXPECT_EQ(rv_CreateBlobHandler(dbc, nullptr), 0);
  EXPECT_EQ(blocks(), blocks_at_start);

  void* made = nullptr;
  ASSERT_EQ(rv_CreateBlobHandler(dbc, &made), 1);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(blocks(), blocks_at_start + 1);
  auto* unknown = static_cast<IUnknown*>(made);
  EXPECT_EQ(unknown->AddRef(), 2u);
  EXPECT_EQ(unknown->Release(), 1u);
  void* second = nullptr;
  ASSERT_EQ(unknown->QueryInterface(IID_IDbBlobHandler, &second), S_OK);
  auto* handler = static_cast<IDbBlobHandler*>(second);
  unknown->Release();
  EXPECT_EQ(blocks(), blocks_at_start + 1);  // the second reference keeps it
  EXPECT_EQ(ErrorOf(handler), "");
  handler->Release();
  EXPECT_EQ(blocks(), blocks_at_start);
}

// Cut to 299 characters, a longer name would name another file: name299.
TEST_F(BlobHandlerTest, FileNamesOver299CharactersAreRefused) {
  // A folder in between keeps each name below the file system's 255 bytes.
  const std::filesystem::path folder = db_.temp_.Path() / std::string(120, 'f');
  std::filesystem::create_directory(folder);
  const std::string prefix = (folder / "long-").string();
  ASSERT_LT(prefix.size(), 299u);
  const std::string name299 = prefix + std::string(299 - prefix.size(), 'n');
  const std::string name300 = name299 + "n";
  WriteText(name299, "the other file");
  ASSERT_EQ(ReadText(name299), "the other file");
  const LONG id = Insert("the blob");
  ASSERT_GT(id, 0);

  IDbBlobHandler* handler = handler_.get();
  LONG new_id = -1;
  VARIANT_BOOL success = VARIANT_TRUE;
  struct Refused {
    const char* what;
    std::function<HRESULT()> call;
    std::string error;
  };
  const Refused calls[] = {
      {"InsertFromFile", [&] { return handler->InsertFromFile(Bstr(name300).get(), &new_id); }, kCannotOpen},
      {"UpdateFromFile", [&] { return handler->UpdateFromFile(Bstr(name300).get(), id, &success); }, kCannotOpen},
      {"SelectToFile", [&] { return handler->SelectToFile(Bstr(name300).get(), id, &success); }, kCannotCreate},
  };
  for (const Refused& refused : calls) {
    new_id = -1;
    success = VARIANT_TRUE;
    EXPECT_EQ(refused.call(), S_OK) << refused.what;
    EXPECT_EQ(ErrorOf(handler), refused.error) << refused.what;
  }
  EXPECT_EQ(new_id, -1);  // untouched since the last row
  EXPECT_EQ(success, VARIANT_FALSE);
  EXPECT_EQ(ReadText(name299), "the other file");
  EXPECT_EQ(Size(id), 8);

  // 299 characters still pass.
  EXPECT_EQ(handler->InsertFromFile(Bstr(name299).get(), &new_id), S_OK);
  EXPECT_GT(new_id, 0);
  EXPECT_EQ(Size(new_id), 14);

  // A character that 8-bit text lacks would become '?' or a look-alike and
  // name another file.
  std::basic_string<OLECHAR> foreign(name299.begin(), name299.begin() + static_cast<long>(prefix.size()));
  foreign += static_cast<OLECHAR>(0x4E2D);
  BSTR unmappable = SysAllocStringLen(foreign.c_str(), static_cast<UINT>(foreign.size()));
  EXPECT_EQ(handler->SelectToFile(unmappable, id, &success), S_OK);
  EXPECT_EQ(success, VARIANT_FALSE);
  EXPECT_EQ(ErrorOf(handler), kCannotCreate);
  SysFreeString(unmappable);
}

// A null out pointer stops a method before it forwards anything.
TEST_F(BlobHandlerTest, NullOutPointers) {
  IDbBlobHandler* handler = handler_.get();
  const LONG id = Insert("kept");
  const std::string source = NewFile("other data");
  const std::string target = db_.File("target");
  HGLOBAL block = NewBlock("block data");
  LONG missing = 0;
  ASSERT_EQ(handler->InsertFromFile(Bstr(db_.File("missing")).get(), &missing), S_OK);
  ASSERT_EQ(ErrorOf(handler), kCannotOpen);

  const std::pair<const char*, std::function<HRESULT()>> calls[] = {
      {"InsertFromFile", [&] { return handler->InsertFromFile(Bstr(source).get(), nullptr); }},
      {"UpdateFromFile", [&] { return handler->UpdateFromFile(Bstr(source).get(), id, nullptr); }},
      {"SelectToFile", [&] { return handler->SelectToFile(Bstr(target).get(), id, nullptr); }},
      {"DeleteBlob", [&] { return handler->DeleteBlob(id, nullptr); }},
      {"SizeOfBlob", [&] { return handler->SizeOfBlob(id, nullptr); }},
      {"GetError", [&] { return handler->GetError(nullptr); }},
      {"InsertFromHandle", [&] { return handler->InsertFromHandle(ValueOf(block), nullptr); }},
      {"UpdateFromHandle", [&] { return handler->UpdateFromHandle(0, id, nullptr); }},
      {"SelectToHandle", [&] { return handler->SelectToHandle(id, nullptr); }},
  };
  for (const auto& [what, call] : calls) EXPECT_EQ(call(), E_POINTER) << what;
  GlobalFree(block);
  EXPECT_EQ(ErrorOf(handler), kCannotOpen);  // no recording call ran
  EXPECT_FALSE(std::filesystem::exists(target));
  const std::string out = db_.File("out");
  VARIANT_BOOL success = VARIANT_FALSE;
  EXPECT_EQ(handler->SelectToFile(Bstr(out).get(), id, &success), S_OK);
  EXPECT_EQ(ReadText(out), "kept");
}

TEST(BlobHandlerWithoutBlobTables, DeleteBlobReportsTheFailedDelete) {
  blobtest::BlobDb db;
  LERV32_HDBC dbc = db.Connect("plain", false);
  ASSERT_NE(dbc, nullptr);
  Ref<IDbBlobHandler> handler = MakeHandler(dbc);
  ASSERT_NE(handler, nullptr);
  VARIANT_BOOL success = VARIANT_TRUE;
  EXPECT_EQ(handler->DeleteBlob(1, &success), S_OK);
  EXPECT_EQ(success, VARIANT_FALSE);
  LONG size = 0;
  EXPECT_EQ(handler->SizeOfBlob(1, &size), S_OK);
  EXPECT_EQ(size, -1);
  EXPECT_EQ(ErrorOf(handler.get()), "");  // neither records a result
}

// Faulty arguments to the IDispatch methods, type library or not. Without
// one (off Windows) there is no type to give and nothing to call.
TEST_F(BlobHandlerTest, DispatchArgumentsChecked) {
  IDbBlobHandler* handler = handler_.get();
  EXPECT_EQ(handler->GetTypeInfoCount(nullptr), E_POINTER);
  EXPECT_EQ(handler->GetTypeInfo(0, 0, nullptr), E_POINTER);
  ITypeInfo* info = reinterpret_cast<ITypeInfo*>(handler);
  EXPECT_EQ(handler->GetTypeInfo(1, 0, &info), DISP_E_BADINDEX);
  EXPECT_EQ(info, nullptr);
  Bstr name("SizeOfBlob");
  LPOLESTR names[] = {name.get()};
  DISPID id = 0;
  EXPECT_EQ(handler->GetIDsOfNames(kOtherIid, names, 1, 0, &id), DISP_E_UNKNOWNINTERFACE);
  EXPECT_EQ(id, DISPID_UNKNOWN);
  EXPECT_EQ(handler->GetIDsOfNames(IID_NULL, names, 1, 0, nullptr), E_POINTER);
  EXPECT_EQ(handler->Invoke(0x60020004, kOtherIid, 0, 1, nullptr, nullptr, nullptr, nullptr),
            DISP_E_UNKNOWNINTERFACE);
  if (kHasTypeLibrary) return;
  UINT count = 7;
  EXPECT_EQ(handler->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 0u);
  info = reinterpret_cast<ITypeInfo*>(handler);
  EXPECT_EQ(handler->GetTypeInfo(0, 0, &info), DISP_E_BADINDEX);
  EXPECT_EQ(info, nullptr);
  id = 0;
  EXPECT_EQ(handler->GetIDsOfNames(IID_NULL, names, 1, 0, &id), E_NOTIMPL);
  EXPECT_EQ(id, DISPID_UNKNOWN);
  EXPECT_EQ(handler->Invoke(0x60020004, IID_NULL, 0, 1, nullptr, nullptr, nullptr, nullptr), E_NOTIMPL);
}

#if defined(_WIN32)

// A parameter's type as the table states it: VT_BYREF | vt for a pointer to vt.
VARTYPE TypeOf(const TYPEDESC& desc) {
  return desc.vt == VT_PTR && desc.lptdesc != nullptr ? static_cast<VARTYPE>(VT_BYREF | desc.lptdesc->vt) : desc.vt;
}

struct Param {
  const char* name;
  VARTYPE type;
  USHORT flags;
};
struct Method {
  const char* name;
  std::vector<Param> params;
};
constexpr USHORT kIn = PARAMFLAG_FIN;
constexpr USHORT kRetval = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;
constexpr VARTYPE kLongOut = VT_BYREF | VT_I4;
constexpr VARTYPE kBoolOut = VT_BYREF | VT_BOOL;
// From slot 7 on, dispatch ids from 0x60020000 on.
const Method kMethods[] = {
    {"InsertFromFile", {{"bsFileName", VT_BSTR, kIn}, {"lRecId", kLongOut, kRetval}}},
    {"UpdateFromFile", {{"bsFileName", VT_BSTR, kIn}, {"lRecId", VT_I4, kIn}, {"bSuccess", kBoolOut, kRetval}}},
    {"SelectToFile", {{"bsFileName", VT_BSTR, kIn}, {"lRecId", VT_I4, kIn}, {"bSuccess", kBoolOut, kRetval}}},
    {"DeleteBlob", {{"lRecId", VT_I4, kIn}, {"bSuccess", kBoolOut, kRetval}}},
    {"SizeOfBlob", {{"lRecId", VT_I4, kIn}, {"lSize", kLongOut, kRetval}}},
    {"GetError", {{"bsError", VT_BYREF | VT_BSTR, kRetval}}},
    {"InsertFromHandle", {{"hGlobal", VT_I4, kIn}, {"lRecId", kLongOut, kRetval}}},
    {"UpdateFromHandle", {{"hGlobal", VT_I4, kIn}, {"lRecId", VT_I4, kIn}, {"bSuccess", kBoolOut, kRetval}}},
    {"SelectToHandle", {{"lRecId", VT_I4, kIn}, {"hGlobal", kLongOut, kRetval}}},
};
constexpr DISPID kFirstId = 0x60020000;
constexpr int kFirstSlot = 7;

TEST(DbBlobTypeLibrary, InLerv32Dll) {
  char path[MAX_PATH] = {};
  ASSERT_NE(SearchPathA(nullptr, "LERV32.dll", nullptr, MAX_PATH, path, nullptr), 0u);
  const std::wstring wide_path(path, path + std::strlen(path));
  ITypeLib* loaded = nullptr;
  ASSERT_EQ(LoadTypeLib(wide_path.c_str(), &loaded), S_OK) << path;
  Ref<ITypeLib> library(loaded);

  TLIBATTR* library_attributes = nullptr;
  ASSERT_EQ(library->GetLibAttr(&library_attributes), S_OK);
  EXPECT_TRUE(IsEqualGUID(library_attributes->guid, LIBID_DbBlobLib));
  EXPECT_EQ(library_attributes->wMajorVerNum, 1);
  EXPECT_EQ(library_attributes->wMinorVerNum, 0);
  EXPECT_EQ(library_attributes->lcid, 0x409u);
  library->ReleaseTLibAttr(library_attributes);
  BSTR name = nullptr;
  BSTR help = nullptr;
  ASSERT_EQ(library->GetDocumentation(-1, &name, &help, nullptr, nullptr), S_OK);
  EXPECT_EQ(TakeText(name), "DbBlobLib");
  EXPECT_EQ(TakeText(help).rfind("DbBlob 1.0 Typenbibliothek", 0), 0u);
  ASSERT_EQ(library->GetTypeInfoCount(), 1u);

  ITypeInfo* first = nullptr;
  ASSERT_EQ(library->GetTypeInfo(0, &first), S_OK);
  Ref<ITypeInfo> info(first);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
  EXPECT_TRUE(IsEqualGUID(attributes->guid, IID_IDbBlobHandler));
  constexpr WORD kDual = TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE;
  EXPECT_EQ(attributes->wTypeFlags & kDual, kDual);
  EXPECT_EQ(attributes->typekind, TKIND_DISPATCH);
  info->ReleaseTypeAttr(attributes);
  ASSERT_EQ(info->GetDocumentation(MEMBERID_NIL, &name, &help, nullptr, nullptr), S_OK);
  EXPECT_EQ(TakeText(name), "IDbBlobHandler");
  EXPECT_EQ(TakeText(help), "IDbBlobHandler - Interface");

  // The interface half of the dual interface: as declared, with the vtable.
  HREFTYPE reference = 0;
  ITypeInfo* half = nullptr;
  ASSERT_EQ(info->GetRefTypeOfImplType(-1, &reference), S_OK);
  ASSERT_EQ(info->GetRefTypeInfo(reference, &half), S_OK);
  info.reset(half);
  ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
  EXPECT_EQ(attributes->typekind, TKIND_INTERFACE);
  constexpr WORD kFlags = TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE;
  EXPECT_EQ(attributes->wTypeFlags & kFlags, kFlags);
  EXPECT_EQ(attributes->cFuncs, std::size(kMethods));
  info->ReleaseTypeAttr(attributes);
  for (size_t i = 0; i < std::size(kMethods); ++i) {
    const Method& method = kMethods[i];
    FUNCDESC* function = nullptr;
    ASSERT_EQ(info->GetFuncDesc(static_cast<UINT>(i), &function), S_OK) << method.name;
    EXPECT_EQ(function->memid, kFirstId + static_cast<DISPID>(i)) << method.name;
    EXPECT_EQ(function->oVft, static_cast<SHORT>((kFirstSlot + i) * sizeof(void*))) << method.name;
    EXPECT_EQ(function->invkind, INVOKE_FUNC) << method.name;
    EXPECT_EQ(function->elemdescFunc.tdesc.vt, VT_HRESULT) << method.name;
    ASSERT_EQ(static_cast<size_t>(function->cParams), method.params.size()) << method.name;
    BSTR names[4] = {};
    UINT got = 0;
    EXPECT_EQ(info->GetNames(function->memid, names, 4, &got), S_OK);
    EXPECT_EQ(got, method.params.size() + 1) << method.name;
    EXPECT_EQ(TakeText(names[0]), method.name);
    for (size_t p = 0; p < method.params.size(); ++p) {
      const ELEMDESC& param = function->lprgelemdescParam[p];
      EXPECT_EQ(TakeText(names[p + 1]), method.params[p].name) << method.name;
      EXPECT_EQ(TypeOf(param.tdesc), method.params[p].type) << method.name << " " << method.params[p].name;
      EXPECT_EQ(param.paramdesc.wParamFlags, method.params[p].flags) << method.name << " " << method.params[p].name;
    }
    info->ReleaseFuncDesc(function);
  }
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// A JScript string literal of a path.
std::wstring Quoted(const std::string& path) {
  std::wstring quoted = L"\"";
  for (char c : path) quoted += c == '\\' ? std::wstring(L"\\\\") : std::wstring(1, static_cast<wchar_t>(c));
  return quoted + L"\"";
}

// A script client reaches the methods through IDispatch, which serves the
// type information of the library's file.
TEST_F(BlobHandlerTest, JScriptClient) {
  void* object = nullptr;
  ASSERT_EQ(handler_->QueryInterface(IID_IDispatch, &object), S_OK);
  Ref<IDispatch> dispatch(static_cast<IDispatch*>(object));
  UINT count = 0;
  EXPECT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
  ITypeInfo* type = nullptr;
  ASSERT_EQ(dispatch->GetTypeInfo(0, 0, &type), S_OK);
  Ref<ITypeInfo> info(type);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
  EXPECT_TRUE(IsEqualGUID(attributes->guid, IID_IDbBlobHandler));
  info->ReleaseTypeAttr(attributes);

  blobtest::ScriptHost host;
  ASSERT_TRUE(host.ok());
  ASSERT_EQ(host.AddItem(L"blob", handler_.get()), S_OK);
  const std::string content = Bytes(900, 4);
  const std::string source = NewFile(content);
  const std::string out = db_.File("out");
  const std::wstring script =
      L"var id = blob.InsertFromFile(" + Quoted(source) + L");\n"
      L"var size = blob.SizeOfBlob(id);\n"
      L"var copied = blob.SelectToFile(" + Quoted(out) + L", id);\n"
      L"var afterCopy = blob.GetError();\n"
      L"var deleted = blob.DeleteBlob(id);\n"
      L"var again = blob.SelectToFile(" + Quoted(db_.File("again")) + L", id);\n"
      L"var afterDelete = blob.GetError();\n";
  EXPECT_EQ(host.Run(script), S_OK);
  EXPECT_EQ(host.errors(), std::vector<std::wstring>());
  EXPECT_EQ(host.Evaluate(L"[id > 0, size, copied, '<' + afterCopy + '>', deleted, again, afterDelete].join('|')"),
            L"true|900|true|<>|true|false|" + Wide(kNoData));
  EXPECT_EQ(ReadText(out), content);
}

#endif

}  // namespace
