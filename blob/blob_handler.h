// The blob handler: a dispatch object for automation hosts, bound to one
// connection, that forwards its methods to the blob exports and keeps the
// result of the last of them. rv_CreateBlobHandler makes it; it has no class
// factory and is not registered. Late-bound calls are served from the type
// library that LERV32.dll carries as its resource TYPELIB 1 (blob/DbBlob.idl);
// off Windows there is no COM, no type library and no IDispatch: the object
// is used through its vtable.
#ifndef LERV32_BLOB_BLOB_HANDLER_H
#define LERV32_BLOB_BLOB_HANDLER_H

#include <cstdint>

#include "include/lerv32.h"
#include "platform/com.h"

// {DA3E34EF-2BF8-47FB-BA22-251BB6F1F2FA}, as in blob/DbBlob.idl.
inline constexpr IID IID_IDbBlobHandler = {0xDA3E34EF, 0x2BF8, 0x47FB,
                                           {0xBA, 0x22, 0x25, 0x1B, 0xB6, 0xF1, 0xF2, 0xFA}};
// {E84A0D70-6F38-47F0-B290-85665B37205C}: the type library DbBlobLib.
inline constexpr GUID LIBID_DbBlobLib = {0xE84A0D70, 0x6F38, 0x47F0,
                                         {0xB2, 0x90, 0x85, 0x66, 0x5B, 0x37, 0x20, 0x5C}};

// A global memory handle as the three handle methods carry it. The type
// library declares it a long, which holds a handle on Win32; off Windows
// handles are 64-bit, so there it is pointer-sized (intptr_t).
#if defined(_WIN32)
typedef LONG DBBLOB_HANDLE_VALUE;
#else
typedef intptr_t DBBLOB_HANDLE_VALUE;
#endif

// Slots 7 to 15 of the vtable, dispatch ids 0x60020000 to 0x60020008 in this
// order. Every method returns S_OK, or E_POINTER for a null out pointer;
// outcomes travel in the out values and in GetError.
struct IDbBlobHandler : IDispatch {
  virtual HRESULT STDMETHODCALLTYPE InsertFromFile(BSTR file_name, LONG* rec_id) = 0;
  virtual HRESULT STDMETHODCALLTYPE UpdateFromFile(BSTR file_name, LONG rec_id, VARIANT_BOOL* success) = 0;
  virtual HRESULT STDMETHODCALLTYPE SelectToFile(BSTR file_name, LONG rec_id, VARIANT_BOOL* success) = 0;
  virtual HRESULT STDMETHODCALLTYPE DeleteBlob(LONG rec_id, VARIANT_BOOL* success) = 0;
  virtual HRESULT STDMETHODCALLTYPE SizeOfBlob(LONG rec_id, LONG* size) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetError(BSTR* error) = 0;
  virtual HRESULT STDMETHODCALLTYPE InsertFromHandle(DBBLOB_HANDLE_VALUE global, LONG* rec_id) = 0;
  virtual HRESULT STDMETHODCALLTYPE UpdateFromHandle(DBBLOB_HANDLE_VALUE global, LONG rec_id,
                                                     VARIANT_BOOL* success) = 0;
  virtual HRESULT STDMETHODCALLTYPE SelectToHandle(LONG rec_id, DBBLOB_HANDLE_VALUE* global) = 0;

 protected:
  ~IDbBlobHandler() = default;
};

namespace lerv32 {

// File names reach the blob exports as 8-bit text of at most this many
// characters; a longer name, or one with a character that 8-bit text lacks,
// is refused, never cut or changed.
constexpr int kBlobHandlerMaxName = 299;

class DbBlob final : public IDbBlobHandler {
 public:
  // A new object in memory of AllocGlobal with no reference yet and, on
  // Windows, the type information of the library's own type library when it
  // can be loaded; null when the memory cannot be had.
  static DbBlob* Create(LERV32_HDBC connection) noexcept;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) noexcept override;
  // Atomic; the results are constants (2 and 1), not the count. The last
  // Release frees the object.
  ULONG STDMETHODCALLTYPE AddRef() noexcept override;
  ULONG STDMETHODCALLTYPE Release() noexcept override;

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** type_info) noexcept override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) noexcept override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* arg_error) noexcept override;

  HRESULT STDMETHODCALLTYPE InsertFromFile(BSTR file_name, LONG* rec_id) noexcept override;
  HRESULT STDMETHODCALLTYPE UpdateFromFile(BSTR file_name, LONG rec_id, VARIANT_BOOL* success) noexcept override;
  HRESULT STDMETHODCALLTYPE SelectToFile(BSTR file_name, LONG rec_id, VARIANT_BOOL* success) noexcept override;
  HRESULT STDMETHODCALLTYPE DeleteBlob(LONG rec_id, VARIANT_BOOL* success) noexcept override;
  HRESULT STDMETHODCALLTYPE SizeOfBlob(LONG rec_id, LONG* size) noexcept override;
  HRESULT STDMETHODCALLTYPE GetError(BSTR* error) noexcept override;
  HRESULT STDMETHODCALLTYPE InsertFromHandle(DBBLOB_HANDLE_VALUE global, LONG* rec_id) noexcept override;
  HRESULT STDMETHODCALLTYPE UpdateFromHandle(DBBLOB_HANDLE_VALUE global, LONG rec_id,
                                             VARIANT_BOOL* success) noexcept override;
  HRESULT STDMETHODCALLTYPE SelectToHandle(LONG rec_id, DBBLOB_HANDLE_VALUE* global) noexcept override;

 private:
  explicit DbBlob(LERV32_HDBC connection) : connection_(connection) {}
  ~DbBlob() = default;
  DbBlob(const DbBlob&) = delete;
  DbBlob& operator=(const DbBlob&) = delete;

  int32_t last_result_ = 0;  // of the last method that records one
  // Changed only atomically.
#if defined(_WIN32)
  volatile LONG references_ = 0;
#else
  int32_t references_ = 0;
#endif
  LERV32_HDBC connection_;          // the caller's; never closed here
  ITypeInfo* type_info_ = nullptr;  // one reference; null without type library
};

}  // namespace lerv32

#endif  // LERV32_BLOB_BLOB_HANDLER_H
