// A small host of Wine's JScript engine (Windows only): scripts run with the
// caller's objects as named items, expressions give their values as text,
// script errors are recorded.
#ifndef LERV32_TESTS_BLOB_SCRIPT_HOST_H
#define LERV32_TESTS_BLOB_SCRIPT_HOST_H

#include <string>
#include <vector>

#include <activscp.h>
#include <objbase.h>

namespace blobtest {

class ScriptSite;

class ScriptHost {
 public:
  ScriptHost();
  ~ScriptHost();
  ScriptHost(const ScriptHost&) = delete;
  ScriptHost& operator=(const ScriptHost&) = delete;

  // The engine is running; scripts can be given.
  bool ok() const { return parse_ != nullptr; }
  // Makes object (which must serve IDispatch) known to scripts as name.
  HRESULT AddItem(const std::wstring& name, IUnknown* object);
  // Runs statements; the engine's result.
  HRESULT Run(const std::wstring& code);
  // The expression's value as text, or "<failed>".
  std::wstring Evaluate(const std::wstring& expression);
  // Descriptions of the script errors so far.
  const std::vector<std::wstring>& errors() const;

 private:
  bool com_ = false;
  ScriptSite* site_ = nullptr;
  IActiveScript* script_ = nullptr;
  IActiveScriptParse32* parse_ = nullptr;
};

}  // namespace blobtest

#endif  // LERV32_TESTS_BLOB_SCRIPT_HOST_H
