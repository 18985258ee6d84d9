// Per-thread COM and OLE initialisation counts.
#include "com_init.h"

#include "oleaut/ole32.h"

namespace {

struct ThreadState {
  ULONG comCount = 0;
  DWORD model = COINIT_APARTMENTTHREADED;
  ULONG oleCount = 0;
};

thread_local ThreadState state;

}  // namespace

HRESULT CoInitializeEx(void* reserved, DWORD coinit) {
  if (reserved) return E_INVALIDARG;
  const DWORD model = coinit & COINIT_APARTMENTTHREADED;
  if (state.comCount > 0) {
    if (state.model != model) return RPC_E_CHANGED_MODE;
    ++state.comCount;
    return S_FALSE;
  }
  state.model = model;
  state.comCount = 1;
  return S_OK;
}

HRESULT CoInitialize(void* reserved) { return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED); }

void CoUninitialize() {
  if (state.comCount > 0) --state.comCount;
}

HRESULT OleInitialize(void* reserved) {
  HRESULT hr = CoInitializeEx(reserved, COINIT_APARTMENTTHREADED);
  if (FAILED(hr)) return hr;
  ++state.oleCount;
  return hr;
}

void OleUninitialize() {
  if (state.oleCount == 0) return;
  --state.oleCount;
  CoUninitialize();
}

namespace oleaut::detail {

bool IsComInitialized() { return state.comCount > 0; }

}  // namespace oleaut::detail
