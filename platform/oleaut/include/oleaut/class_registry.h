// The classes that CoCreateInstance can make, with their ProgIDs.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "oleaut/ole32.h"

namespace oleaut {

struct ComClass {
  CLSID clsid{};
  // ProgIDs that name the class, compared without regard to case ("ADODB.Stream").
  std::vector<std::u16string> progIds;
  // Makes a new object holding one reference, or null when it cannot.
  std::function<IUnknown*()> factory;
  // The contexts the class is served in; a request must include at least one of them.
  DWORD contexts = CLSCTX_INPROC_SERVER;
  // Contexts whose presence in a request makes CoCreateInstance fail with E_INVALIDARG, as a
  // system that knows no remote servers refuses CLSCTX_REMOTE_SERVER.
  DWORD refusedContexts = 0;
};

// Adds a class, or replaces the one with the same class id. E_INVALIDARG without a factory.
HRESULT RegisterComClass(ComClass cls);
// S_FALSE when the class was not registered.
HRESULT UnregisterComClass(REFCLSID clsid);

}  // namespace oleaut
