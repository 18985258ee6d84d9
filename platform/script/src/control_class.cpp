// The type library of "ScriptControl" and the class's registration.
#include "control_object.h"
#include "oleaut/class_registry.h"
#include "oleaut/typeinfo_builder.h"
#include "script/script_control.h"

namespace script::detail {

namespace {

using oleaut::TypeSpec;

oleaut::ComPtr<ITypeLib> BuildLibrary() {
  oleaut::TypeLibBuilder lib(u"MSScriptControl", LIBID_MSScriptControl, 1, 0);
  lib.Enum(u"ScriptControlStates").Value(u"Initialized", 0).Value(u"Connected", 1);

  auto& control = lib.DispInterface(u"IScriptControl", IID_IScriptControl).Dual();
  control.Get(u"Language", VT_BSTR).Calls(&ControlObject::GetLanguage);
  control.Put(u"Language", VT_BSTR).Calls(&ControlObject::PutLanguage);
  control.Get(u"State", TypeSpec::Named(u"ScriptControlStates")).Calls(&ControlObject::GetState);
  control.Put(u"State", TypeSpec::Named(u"ScriptControlStates")).Calls(&ControlObject::PutState);
  control.Get(u"Timeout", VT_I4).Calls(&ControlObject::GetTimeout);
  control.Put(u"Timeout", VT_I4).Calls(&ControlObject::PutTimeout);
  control.Get(u"AllowUI", VT_BOOL).Calls(&ControlObject::GetAllowUI);
  control.Put(u"AllowUI", VT_BOOL).Calls(&ControlObject::PutAllowUI);
  control.Get(u"UseSafeSubset", VT_BOOL).Calls(&ControlObject::GetUseSafeSubset);
  control.Put(u"UseSafeSubset", VT_BOOL).Calls(&ControlObject::PutUseSafeSubset);
  control.Method(u"Reset").Calls(&ControlObject::Reset);
  control.Method(u"AddCode").Param(u"Code", VT_BSTR).Calls(&ControlObject::AddCode);
  control.Method(u"Eval")
      .Param(u"Expression", VT_BSTR)
      .Returns(VT_VARIANT)
      .Calls(&ControlObject::Eval);
  control.Method(u"ExecuteStatement")
      .Param(u"Statement", VT_BSTR)
      .Calls(&ControlObject::ExecuteStatement);
  control.Method(u"Run")
      .Param(u"ProcedureName", VT_BSTR)
      .VarArgs(u"Parameters")
      .Returns(VT_VARIANT)
      .Calls(&ControlObject::Run);
  lib.CoClass(u"ScriptControl", CLSID_ScriptControl).Implements(u"IScriptControl");

  // What a script's object shows of itself: its value.
  auto& value = lib.DispInterface(u"JScriptTypeInfo", GUID_NULL).Hidden();
  value.Get(u"Value", VT_BSTR).Id(DISPID_VALUE).Calls(&ValueObject::GetValue);
  return lib.Build();
}

ITypeLib* Library() {
  // Kept for the life of the process, like a registered type library.
  static ITypeLib* const library = BuildLibrary().Detach();
  return library;
}

}  // namespace

ITypeInfo* ControlTypeInfo() {
  static ITypeInfo* const info = oleaut::FindTypeInfo(Library(), u"IScriptControl").Detach();
  return info;
}

ITypeInfo* ValueTypeInfo() {
  static ITypeInfo* const info = oleaut::FindTypeInfo(Library(), u"JScriptTypeInfo").Detach();
  return info;
}

}  // namespace script::detail

void RegisterScriptControl() {
  oleaut::ComClass cls;
  cls.clsid = script::CLSID_ScriptControl;
  cls.progIds = {u"ScriptControl", u"MSScriptControl.ScriptControl",
                 u"MSScriptControl.ScriptControl.1"};
  cls.factory = []() -> IUnknown* {
    return static_cast<IDispatch*>(new script::detail::ControlObject());
  };
  cls.contexts = CLSCTX_INPROC_SERVER;
  oleaut::RegisterComClass(std::move(cls));
}
