// Type-library files and the process-wide record of registered libraries.
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <tuple>

#include "name_compare.h"
#include "oleaut/typelib.h"
#include "oleaut/typelib_text.h"

namespace {

struct Registration {
  std::u16string path;
  LCID lcid;
};

using Key = std::tuple<GUID, WORD, WORD>;

struct KeyLess {
  bool operator()(const Key& a, const Key& b) const {
    const int byGuid = std::memcmp(&std::get<0>(a), &std::get<0>(b), sizeof(GUID));
    if (byGuid != 0) return byGuid < 0;
    return std::tie(std::get<1>(a), std::get<2>(a)) < std::tie(std::get<1>(b), std::get<2>(b));
  }
};

std::mutex& RegistryMutex() {
  static std::mutex mutex;
  return mutex;
}

std::map<Key, Registration, KeyLess>& Registered() {
  static std::map<Key, Registration, KeyLess> registered;
  return registered;
}

// A Windows path as this system opens it.
std::string LocalPath(std::u16string_view path) {
  std::string local = oleaut::detail::ToUtf8(path);
  for (char& c : local) {
    if (c == '\\') c = '/';
  }
  return local;
}

}  // namespace

HRESULT LoadTypeLib(LPCOLESTR file, ITypeLib** lib) {
  if (!file || !lib) return E_INVALIDARG;
  *lib = nullptr;
  std::ifstream in(LocalPath(file), std::ios::binary);
  if (!in) return TYPE_E_CANTLOADLIBRARY;
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return TYPE_E_CANTLOADLIBRARY;
  return oleaut::ParseTypeLibText(text.str(), lib);
}

HRESULT RegisterTypeLib(ITypeLib* lib, LPCOLESTR fullPath, LPCOLESTR) {
  if (!lib || !fullPath || !fullPath[0]) return E_INVALIDARG;
  TLIBATTR* attr = nullptr;
  HRESULT hr = lib->GetLibAttr(&attr);
  if (FAILED(hr)) return hr;
  {
    std::lock_guard lock(RegistryMutex());
    Registered()[Key{attr->guid, attr->wMajorVerNum, attr->wMinorVerNum}] =
        Registration{fullPath, attr->lcid};
  }
  lib->ReleaseTLibAttr(attr);
  return S_OK;
}

HRESULT UnRegisterTypeLib(REFGUID libid, WORD major, WORD minor, LCID, SYSKIND) {
  std::lock_guard lock(RegistryMutex());
  return Registered().erase(Key{libid, major, minor}) ? S_OK : TYPE_E_LIBNOTREGISTERED;
}

// The registration of that major version with the highest minor version at least `minor`.
HRESULT QueryPathOfRegTypeLib(REFGUID libid, WORD major, WORD minor, LCID, BSTR* path) {
  if (!path) return E_INVALIDARG;
  *path = nullptr;
  std::lock_guard lock(RegistryMutex());
  const Registration* best = nullptr;
  for (const auto& [key, registration] : Registered()) {
    if (IsEqualGUID(std::get<0>(key), libid) && std::get<1>(key) == major &&
        std::get<2>(key) >= minor) {
      best = &registration;
    }
  }
  if (!best) return TYPE_E_LIBNOTREGISTERED;
  *path = oleaut::AllocBstr(best->path);
  return *path ? S_OK : E_OUTOFMEMORY;
}

HRESULT LoadRegTypeLib(REFGUID libid, WORD major, WORD minor, LCID lcid, ITypeLib** lib) {
  if (!lib) return E_INVALIDARG;
  *lib = nullptr;
  BSTR path = nullptr;
  HRESULT hr = QueryPathOfRegTypeLib(libid, major, minor, lcid, &path);
  if (FAILED(hr)) return hr;
  hr = LoadTypeLib(path, lib);
  SysFreeString(path);
  return hr;
}
