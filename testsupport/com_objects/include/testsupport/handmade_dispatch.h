// An IDispatch written by hand, for tests whose object must misbehave or must show what a
// call hands it: it offers the probe's type information (or none) and leaves Invoke to
// the test.
#pragma once

#include <atomic>

#include "testsupport/probe_object.h"

namespace automation_test {

class HandmadeDispatch : public IDispatch {
 public:
  explicit HandmadeDispatch(bool typeInfo = true) : typeInfo_(typeInfo) {}
  virtual ~HandmadeDispatch() = default;

  HRESULT QueryInterface(REFIID riid, void** object) override {
    *object = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch)) return E_NOINTERFACE;
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    ULONG left = --refs_;
    if (!left) delete this;
    return left;
  }
  HRESULT GetTypeInfoCount(UINT* count) override {
    *count = typeInfo_ ? 1 : 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    *info = nullptr;
    if (!typeInfo_) return E_NOTIMPL;
    *info = probe::Probe::Type();
    (*info)->AddRef();
    return S_OK;
  }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

 private:
  std::atomic<ULONG> refs_{1};
  bool typeInfo_;
};

}  // namespace automation_test
