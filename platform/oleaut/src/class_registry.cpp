// The process-wide class store and the object creation calls over it.
#include "oleaut/class_registry.h"

#include <cstdlib>
#include <mutex>
#include <optional>

#include "com_init.h"
#include "name_compare.h"

namespace oleaut {

namespace {

std::mutex& RegistryMutex() {
  static std::mutex mutex;
  return mutex;
}

std::vector<ComClass>& Classes() {
  static std::vector<ComClass> classes;
  return classes;
}

std::optional<ComClass> FindClass(REFCLSID clsid) {
  std::lock_guard lock(RegistryMutex());
  for (const ComClass& cls : Classes()) {
    if (IsEqualCLSID(cls.clsid, clsid)) return cls;
  }
  return std::nullopt;
}

}  // namespace

HRESULT RegisterComClass(ComClass cls) {
  if (!cls.factory) return E_INVALIDARG;
  std::lock_guard lock(RegistryMutex());
  for (ComClass& existing : Classes()) {
    if (IsEqualCLSID(existing.clsid, cls.clsid)) {
      existing = std::move(cls);
      return S_OK;
    }
  }
  Classes().push_back(std::move(cls));
  return S_OK;
}

HRESULT UnregisterComClass(REFCLSID clsid) {
  std::lock_guard lock(RegistryMutex());
  auto& classes = Classes();
  for (auto it = classes.begin(); it != classes.end(); ++it) {
    if (IsEqualCLSID(it->clsid, clsid)) {
      classes.erase(it);
      return S_OK;
    }
  }
  return S_FALSE;
}

}  // namespace oleaut

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid,
                         void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (!oleaut::detail::IsComInitialized()) return CO_E_NOTINITIALIZED;
  if (outer) return CLASS_E_NOAGGREGATION;
  const std::optional<oleaut::ComClass> cls = oleaut::FindClass(clsid);
  if (!cls) return REGDB_E_CLASSNOTREG;
  if (context & cls->refusedContexts) return E_INVALIDARG;
  if (!(context & cls->contexts)) return REGDB_E_CLASSNOTREG;
  IUnknown* made = cls->factory();
  if (!made) return E_OUTOFMEMORY;
  HRESULT hr = made->QueryInterface(riid, object);
  made->Release();
  if (FAILED(hr)) *object = nullptr;
  return hr;
}

HRESULT CLSIDFromProgID(LPCOLESTR progId, LPCLSID clsid) {
  if (!progId || !clsid) return E_INVALIDARG;
  const std::u16string_view wanted(progId);
  std::lock_guard lock(oleaut::RegistryMutex());
  for (const oleaut::ComClass& cls : oleaut::Classes()) {
    for (const std::u16string& name : cls.progIds) {
      if (oleaut::detail::NamesEqual(name, wanted)) {
        *clsid = cls.clsid;
        return S_OK;
      }
    }
  }
  return CO_E_CLASSSTRING;
}

HRESULT OleRun(IUnknown* object) {
  if (!object) return E_INVALIDARG;
  IRunnableObject* runnable = nullptr;
  if (FAILED(object->QueryInterface(IID_IRunnableObject, reinterpret_cast<void**>(&runnable))) ||
      !runnable) {
    return S_OK;
  }
  HRESULT hr = runnable->Run(nullptr);
  runnable->Release();
  return hr;
}

void* CoTaskMemAlloc(SIZE_T bytes) { return std::malloc(bytes ? bytes : 1); }

void CoTaskMemFree(void* block) { std::free(block); }
