#include "blob/script_host.h"

#include <map>

namespace blobtest {
namespace {

// {f414c260-6ac0-11cf-b6d1-00aa00bbbb58}
constexpr CLSID kJScript = {0xf414c260, 0x6ac0, 0x11cf, {0xb6, 0xd1, 0x00, 0xaa, 0x00, 0xbb, 0xbb, 0x58}};

}  // namespace

// The engine's view of the host: named items and error reports.
class ScriptSite final : public IActiveScriptSite {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (!IsEqualGUID(riid, IID_IUnknown) && !IsEqualGUID(riid, __uuidof(IActiveScriptSite))) return E_NOINTERFACE;
    AddRef();
    *object = static_cast<IActiveScriptSite*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE GetLCID(LCID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item, ITypeInfo** type) override {
    if (item != nullptr) *item = nullptr;
    if (type != nullptr) *type = nullptr;
    const auto found = items_.find(name);
    if (found == items_.end()) return TYPE_E_ELEMENTNOTFOUND;
    if ((mask & SCRIPTINFO_IUNKNOWN) != 0 && item != nullptr) {
      found->second->AddRef();
      *item = found->second;
    }
    if ((mask & SCRIPTINFO_ITYPEINFO) != 0 && type != nullptr) {
      IDispatch* dispatch = nullptr;
      if (SUCCEEDED(found->second->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
        dispatch->GetTypeInfo(0, 0, type);
        dispatch->Release();
      }
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDocVersionString(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnScriptTerminate(const VARIANT*, const EXCEPINFO*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnStateChange(SCRIPTSTATE) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnScriptError(IActiveScriptError* error) override {
    EXCEPINFO info = {};
    std::wstring text = L"script error";
    if (error != nullptr && SUCCEEDED(error->GetExceptionInfo(&info))) {
      if (info.bstrDescription != nullptr) text = info.bstrDescription;
      SysFreeString(info.bstrSource);
      SysFreeString(info.bstrDescription);
      SysFreeString(info.bstrHelpFile);
    }
    errors_.push_back(text);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnEnterScript() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnLeaveScript() override { return S_OK; }

  void Add(const std::wstring& name, IUnknown* object) {
    object->AddRef();
    items_[name] = object;
  }
  const std::vector<std::wstring>& errors() const { return errors_; }

 private:
  ~ScriptSite() {
    for (auto& item : items_) item.second->Release();
  }

  volatile LONG references_ = 1;
  std::map<std::wstring, IUnknown*> items_;
  std::vector<std::wstring> errors_;
};

ScriptHost::ScriptHost() : site_(new ScriptSite) {
  com_ = SUCCEEDED(CoInitialize(nullptr));
  if (FAILED(CoCreateInstance(kJScript, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IActiveScript),
                              reinterpret_cast<void**>(&script_)))) {
    script_ = nullptr;
    return;
  }
  IActiveScriptParse32* parse = nullptr;
  if (SUCCEEDED(script_->QueryInterface(__uuidof(IActiveScriptParse32), reinterpret_cast<void**>(&parse))) &&
      SUCCEEDED(script_->SetScriptSite(site_)) && SUCCEEDED(parse->InitNew()) &&
      SUCCEEDED(script_->SetScriptState(SCRIPTSTATE_STARTED))) {
    parse_ = parse;
  } else if (parse != nullptr) {
    parse->Release();
  }
}

ScriptHost::~ScriptHost() {
  if (parse_ != nullptr) parse_->Release();
  if (script_ != nullptr) {
    script_->Close();
    script_->Release();
  }
  site_->Release();
  if (com_) CoUninitialize();
}

HRESULT ScriptHost::AddItem(const std::wstring& name, IUnknown* object) {
  if (!ok()) return E_UNEXPECTED;
  site_->Add(name, object);
  return script_->AddNamedItem(name.c_str(), SCRIPTITEM_ISVISIBLE);
}

HRESULT ScriptHost::Run(const std::wstring& code) {
  if (!ok()) return E_UNEXPECTED;
  return parse_->ParseScriptText(code.c_str(), nullptr, nullptr, nullptr, 0, 0, 0, nullptr, nullptr);
}

std::wstring ScriptHost::Evaluate(const std::wstring& expression) {
  VARIANT value;
  VariantInit(&value);
  std::wstring text = L"<failed>";
  if (ok() && SUCCEEDED(parse_->ParseScriptText(expression.c_str(), nullptr, nullptr, nullptr, 0, 0,
                                                SCRIPTTEXT_ISEXPRESSION, &value, nullptr)) &&
      SUCCEEDED(VariantChangeType(&value, &value, 0, VT_BSTR))) {
    text.assign(value.bstrVal, SysStringLen(value.bstrVal));
  }
  VariantClear(&value);
  return text;
}

const std::vector<std::wstring>& ScriptHost::errors() const { return site_->errors(); }

}  // namespace blobtest
