#include "blob/blob_handler.h"

#include <algorithm>
#include <new>

#include "blob/blob_transfer.h"
#include "frame/export_guard.h"
#include "frame/lifecycle.h"
#include "frame/odbc_handles.h"
#include "include/lebase32.h"

namespace lerv32 {
namespace {

VARIANT_BOOL AsSuccess(int32_t result) { return result == kBlobOk ? VARIANT_TRUE : VARIANT_FALSE; }

// A file name of the caller's as 8-bit text. It does not fit when it is
// longer than kBlobHandlerMaxName characters or holds a character that 8-bit
// text lacks: cut short, or with a look-alike or '?' in its place, it would
// name another file. A null BSTR is the empty name.
class FileName {
 public:
  explicit FileName(BSTR name) {
    int length = 0;
    if (name != nullptr) {
      while (length <= kBlobHandlerMaxName && name[length] != 0) ++length;
    }
    if (length > kBlobHandlerMaxName) return;
    const auto* wide = reinterpret_cast<const LEBASE32_WCHAR*>(name);
    lstrcpyn_U2A(text_, wide, sizeof text_);
    LEBASE32_WCHAR back[kBlobHandlerMaxName + 1] = {};
    lstrcpy_A2U(back, text_);
    fits_ = length == 0 || std::equal(wide, wide + length + 1, back);
  }
  bool fits() const { return fits_; }
  const char* c_str() const { return text_; }

 private:
  char text_[kBlobHandlerMaxName + 1] = {};
  bool fits_ = false;
};

LERV32_HGLOBAL AsHandle(DBBLOB_HANDLE_VALUE value) {
  return reinterpret_cast<LERV32_HGLOBAL>(static_cast<intptr_t>(value));
}

DBBLOB_HANDLE_VALUE AsValue(LERV32_HGLOBAL handle) {
  return static_cast<DBBLOB_HANDLE_VALUE>(reinterpret_cast<intptr_t>(handle));
}

#if defined(_WIN32)

// The type information of IDbBlobHandler from the type library in this
// library's own file, or null. The path is made absolute so that LoadTypeLib
// loads that very file and registers nothing.
ITypeInfo* LoadOwnTypeInfo() {
  constexpr DWORD kPathSize = 300;
  char module[kPathSize] = {};
  const DWORD module_length = GetModuleFileNameA(DllInstance, module, kPathSize);
  if (module_length == 0 || module_length >= kPathSize) return nullptr;
  char full[kPathSize] = {};
  const DWORD full_length = GetFullPathNameA(module, kPathSize, full, nullptr);
  if (full_length == 0 || full_length >= kPathSize) return nullptr;
  LEBASE32_WCHAR wide[kPathSize] = {};
  lstrcpy_A2U(wide, full);
  ITypeLib* library = nullptr;
  if (FAILED(LoadTypeLib(reinterpret_cast<LPCOLESTR>(wide), &library))) return nullptr;
  ITypeInfo* info = nullptr;
  if (FAILED(library->GetTypeInfoOfGuid(IID_IDbBlobHandler, &info))) info = nullptr;
  library->Release();
  return info;
}

#endif

}  // namespace

DbBlob* DbBlob::Create(LERV32_HDBC connection) noexcept {
  void* memory = AllocGlobal(sizeof(DbBlob));
  if (memory == nullptr) return nullptr;
  auto* blob = new (memory) DbBlob(connection);
#if defined(_WIN32)
  blob->type_info_ = LoadOwnTypeInfo();
#endif
  return blob;
}

HRESULT STDMETHODCALLTYPE DbBlob::QueryInterface(REFIID riid, void** object) noexcept {
  if (object == nullptr) return E_POINTER;
  const bool served = IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_IDbBlobHandler) ||
                      (type_info_ != nullptr && IsEqualGUID(riid, IID_IDispatch));
  if (!served) {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  *object = static_cast<IDbBlobHandler*>(this);
  return S_OK;
}

ULONG STDMETHODCALLTYPE DbBlob::AddRef() noexcept {
#if defined(_WIN32)
  InterlockedIncrement(&references_);
#else
  __atomic_add_fetch(&references_, 1, __ATOMIC_ACQ_REL);
#endif
  return 2;
}

ULONG STDMETHODCALLTYPE DbBlob::Release() noexcept {
#if defined(_WIN32)
  const LONG left = InterlockedDecrement(&references_);
#else
  const int32_t left = __atomic_sub_fetch(&references_, 1, __ATOMIC_ACQ_REL);
#endif
  if (left == 0) {
#if defined(_WIN32)
    if (type_info_ != nullptr) type_info_->Release();
#endif
    this->~DbBlob();
    FreeGlobal(this);
  }
  return 1;
}

HRESULT STDMETHODCALLTYPE DbBlob::GetTypeInfoCount(UINT* count) noexcept {
  if (count == nullptr) return E_POINTER;
  *count = type_info_ != nullptr ? 1 : 0;
  return S_OK;
}

// Without type information there is no type to give: GetTypeInfoCount says
// 0, so no index is valid.
HRESULT STDMETHODCALLTYPE DbBlob::GetTypeInfo(UINT index, LCID, ITypeInfo** type_info) noexcept {
  if (type_info == nullptr) return E_POINTER;
  *type_info = nullptr;
  if (index != 0 || type_info_ == nullptr) return DISP_E_BADINDEX;
#if defined(_WIN32)
  return type_info_->QueryInterface(IID_ITypeInfo, reinterpret_cast<void**>(type_info));
#else
  return DISP_E_BADINDEX;
#endif
}

// Names and calls are resolved by the type information; an object without
// it serves neither.
HRESULT STDMETHODCALLTYPE DbBlob::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                                DISPID* ids) noexcept {
  if (ids == nullptr || (names == nullptr && count > 0)) return E_POINTER;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  if (!IsEqualGUID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (type_info_ == nullptr) return E_NOTIMPL;
#if defined(_WIN32)
  return type_info_->GetIDsOfNames(names, count, ids);
#else
  return E_NOTIMPL;
#endif
}

HRESULT STDMETHODCALLTYPE DbBlob::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                         VARIANT* result, EXCEPINFO* exception, UINT* arg_error) noexcept {
  if (!IsEqualGUID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (type_info_ == nullptr) return E_NOTIMPL;
  if (params == nullptr) return E_POINTER;
#if defined(_WIN32)
  return type_info_->Invoke(static_cast<IDbBlobHandler*>(this), id, flags, params, result, exception, arg_error);
#else
  (void)id;
  (void)flags;
  (void)result;
  (void)exception;
  (void)arg_error;
  return E_NOTIMPL;
#endif
}

HRESULT STDMETHODCALLTYPE DbBlob::InsertFromFile(BSTR file_name, LONG* rec_id) noexcept {
  if (rec_id == nullptr) return E_POINTER;
  *rec_id = 0;
  const FileName name(file_name);
  if (!name.fits()) {
    last_result_ = kBlobCannotOpenSource;
    return S_OK;
  }
  int32_t id = 0;
  last_result_ = rv_OdbcInsertBlobFromFile(connection_, &id, name.c_str());
  *rec_id = id;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE DbBlob::UpdateFromFile(BSTR file_name, LONG rec_id, VARIANT_BOOL* success) noexcept {
  if (success == nullptr) return E_POINTER;
  const FileName name(file_name);
  last_result_ = name.fits() ? rv_OdbcUpdateBlobFromFile(connection_, rec_id, name.c_str())
                             : int32_t{kBlobCannotOpenSource};
  *success = AsSuccess(last_result_);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE DbBlob::SelectToFile(BSTR file_name, LONG rec_id, VARIANT_BOOL* success) noexcept {
  if (success == nullptr) return E_POINTER;
  const FileName name(file_name);
  last_result_ = name.fits() ? rv_OdbcSelectBlobToFile(connection_, rec_id, name.c_str())
                             : int32_t{kBlobCannotCreateTarget};
  *success = AsSuccess(last_result_);
  return S_OK;
}

// Neither this nor SizeOfBlob records a result: GetError still describes
// the call before.
HRESULT STDMETHODCALLTYPE DbBlob::DeleteBlob(LONG rec_id, VARIANT_BOOL* success) noexcept {
  if (success == nullptr) return E_POINTER;
  *success = rv_OdbcDeleteBlob(connection_, rec_id) == 0 ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE DbBlob::SizeOfBlob(LONG rec_id, LONG* size) noexcept {
  if (size == nullptr) return E_POINTER;
  *size = rv_OdbcSizeOfBlob(connection_, rec_id);
  return S_OK;
}

// Empty for success, else the text of the last result.
HRESULT STDMETHODCALLTYPE DbBlob::GetError(BSTR* error) noexcept {
  if (error == nullptr) return E_POINTER;
  const char* text = last_result_ == kBlobOk ? "" : BlobResultText(last_result_);
  LEBASE32_BSTR made = nullptr;
  lSetBstr_A(&made, text != nullptr ? text : "");
  *error = reinterpret_cast<BSTR>(made);
  return made != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE DbBlob::InsertFromHandle(DBBLOB_HANDLE_VALUE global, LONG* rec_id) noexcept {
  if (rec_id == nullptr) return E_POINTER;
  int32_t id = 0;
  last_result_ = rv_OdbcInsertBlobFromHGlobal(connection_, &id, AsHandle(global));
  *rec_id = id;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE DbBlob::UpdateFromHandle(DBBLOB_HANDLE_VALUE global, LONG rec_id,
                                                   VARIANT_BOOL* success) noexcept {
  if (success == nullptr) return E_POINTER;
  last_result_ = rv_OdbcUpdateBlobFromHGlobal(connection_, rec_id, AsHandle(global));
  *success = AsSuccess(last_result_);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE DbBlob::SelectToHandle(LONG rec_id, DBBLOB_HANDLE_VALUE* global) noexcept {
  if (global == nullptr) return E_POINTER;
  LERV32_HGLOBAL block = nullptr;
  last_result_ = rv_OdbcSelectBlobToHGlobal(connection_, rec_id, &block);
  *global = AsValue(block);
  return S_OK;
}

}  // namespace lerv32

extern "C" int32_t LERV32_CALL rv_CreateBlobHandler(LERV32_HDBC connection, void** unknown) {
  return lerv32::GuardedOn<int32_t>(connection, 0, [&] {
    if (unknown == nullptr) return 0;
    *unknown = nullptr;
    // A handler of no connection could do nothing but fail.
    if (!lerv32::KnownConnection(connection)) return 0;
    lerv32::DbBlob* blob = lerv32::DbBlob::Create(connection);
    if (blob == nullptr) return 0;
    // The caller ends up with the one reference that QueryInterface adds.
    blob->AddRef();
    const HRESULT got = blob->QueryInterface(IID_IUnknown, unknown);
    blob->Release();
    return got == S_OK ? 1 : 0;
  });
}
