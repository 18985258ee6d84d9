// The automation faces of the engine: the control itself, and the objects its scripts
// hand out.
#pragma once

#include <memory>

#include "oleaut/std_dispatch.h"
#include "script/engine.h"

namespace script::detail {

class ControlObject final : public oleaut::DispatchObject {
 public:
  ControlObject();

  HRESULT GetLanguage(oleaut::Invocation& call);
  HRESULT PutLanguage(oleaut::Invocation& call);
  HRESULT GetState(oleaut::Invocation& call);
  HRESULT PutState(oleaut::Invocation& call);
  HRESULT GetTimeout(oleaut::Invocation& call);
  HRESULT PutTimeout(oleaut::Invocation& call);
  HRESULT GetAllowUI(oleaut::Invocation& call);
  HRESULT PutAllowUI(oleaut::Invocation& call);
  HRESULT GetUseSafeSubset(oleaut::Invocation& call);
  HRESULT PutUseSafeSubset(oleaut::Invocation& call);
  HRESULT Reset(oleaut::Invocation& call);
  HRESULT AddCode(oleaut::Invocation& call);
  HRESULT Eval(oleaut::Invocation& call);
  HRESULT ExecuteStatement(oleaut::Invocation& call);
  HRESULT Run(oleaut::Invocation& call);

 private:
  ~ControlObject() override = default;
  Engine engine_;
  LONG state_ = 0;
  bool allowUI_ = true;         // kept for callers; a timeout never asks anyone
  bool useSafeSubset_ = false;  // kept for callers; every script runs sandboxed anyway
};

// An object or array of a script, as VT_DISPATCH.
class ValueObject final : public oleaut::DispatchObject {
 public:
  explicit ValueObject(std::shared_ptr<ScriptObject> object);
  const std::shared_ptr<ScriptObject>& Object() const { return object_; }
  HRESULT GetValue(oleaut::Invocation& call);

 private:
  ~ValueObject() override = default;
  std::shared_ptr<ScriptObject> object_;
};

ITypeInfo* ControlTypeInfo();
ITypeInfo* ValueTypeInfo();

}  // namespace script::detail
