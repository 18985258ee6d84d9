// IUnknown and the small OLE interfaces around object creation.
//
// Interfaces are abstract C++ classes whose virtual functions follow the Windows vtable
// order. Objects count their references and delete themselves when the count reaches
// zero; nobody deletes an interface pointer directly.
#pragma once

#include "oleaut/guid.h"
#include "oleaut/errors.h"

using OLECHAR = WCHAR;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
using SCODE = LONG;

struct IUnknown {
  static constexpr const IID& iid = IID_IUnknown;
  virtual HRESULT QueryInterface(REFIID riid, void** object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  ~IUnknown() = default;
};

struct IClassFactory : IUnknown {
  static constexpr const IID& iid = IID_IClassFactory;
  virtual HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** object) = 0;
  virtual HRESULT LockServer(BOOL lock) = 0;

 protected:
  ~IClassFactory() = default;
};

// What OleRun asks an object for; an object without it counts as running.
struct IRunnableObject : IUnknown {
  static constexpr const IID& iid = IID_IRunnableObject;
  virtual HRESULT GetRunningClass(CLSID* clsid) = 0;
  virtual HRESULT Run(void* bindContext) = 0;
  virtual BOOL IsRunning() = 0;
  virtual HRESULT LockRunning(BOOL lock, BOOL lastUnlockCloses) = 0;
  virtual HRESULT SetContainedObject(BOOL contained) = 0;

 protected:
  ~IRunnableObject() = default;
};
