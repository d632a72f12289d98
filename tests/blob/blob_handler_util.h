// What the blob handler tests share: automation strings, references that
// release themselves, and handlers made by the export.
#ifndef LERV32_TESTS_BLOB_BLOB_HANDLER_UTIL_H
#define LERV32_TESTS_BLOB_BLOB_HANDLER_UTIL_H

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "blob/blob_handler.h"
#include "include/lerv32.h"

namespace blobtest {

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
inline std::string TakeText(BSTR text) {
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
inline Ref<IDbBlobHandler> MakeHandler(LERV32_HDBC dbc) {
  void* made = nullptr;
  EXPECT_EQ(rv_CreateBlobHandler(dbc, &made), 1);
  if (made == nullptr) return nullptr;
  Ref<IUnknown> unknown(static_cast<IUnknown*>(made));
  void* handler = nullptr;
  EXPECT_EQ(unknown->QueryInterface(IID_IDbBlobHandler, &handler), S_OK);
  return Ref<IDbBlobHandler>(static_cast<IDbBlobHandler*>(handler));
}

inline std::string ErrorOf(IDbBlobHandler* handler) {
  BSTR text = nullptr;
  EXPECT_EQ(handler->GetError(&text), S_OK);
  return TakeText(text);
}

}  // namespace blobtest

#endif  // LERV32_TESTS_BLOB_BLOB_HANDLER_UTIL_H
