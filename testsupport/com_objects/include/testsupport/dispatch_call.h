// Calling an automation object by member name, as a late-bound caller does.
#pragma once

#include <string>
#include <vector>

#include "oleaut/dispatch.h"
#include "oleaut/variant.h"

struct DispatchOutcome {
  HRESULT hr = S_OK;
  oleaut::OwnedVariant result;
  SCODE scode = 0;             // of an exception
  std::u16string description;  // of an exception
};

// Arguments in their written order; a property put passes its value as the last one.
inline DispatchOutcome CallByName(IDispatch* object, std::u16string name, WORD flags,
                                  std::vector<oleaut::OwnedVariant> args = {}) {
  DispatchOutcome outcome;
  LPOLESTR names[] = {name.data()};
  DISPID id = DISPID_UNKNOWN;
  outcome.hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(outcome.hr)) return outcome;
  std::vector<VARIANT> reversed;
  for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(**it);
  DISPID put = DISPID_PROPERTYPUT;
  const bool isPut = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  DISPPARAMS params{reversed.data(), isPut ? &put : nullptr, static_cast<UINT>(reversed.size()),
                    isPut ? 1u : 0u};
  EXCEPINFO info{};
  UINT argumentError = 0;
  outcome.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                              outcome.result.get(), &info, &argumentError);
  if (outcome.hr == DISP_E_EXCEPTION) {
    outcome.scode = info.scode;
    outcome.description = std::u16string(oleaut::BstrView(info.bstrDescription));
    oleaut::ClearExcepInfo(info);
  }
  return outcome;
}

inline DispatchOutcome CallMethod(IDispatch* object, std::u16string name,
                                  std::vector<oleaut::OwnedVariant> args = {}) {
  return CallByName(object, std::move(name), DISPATCH_METHOD, std::move(args));
}
inline DispatchOutcome GetProperty(IDispatch* object, std::u16string name) {
  return CallByName(object, std::move(name), DISPATCH_PROPERTYGET);
}
inline DispatchOutcome PutProperty(IDispatch* object, std::u16string name,
                                   oleaut::OwnedVariant value) {
  std::vector<oleaut::OwnedVariant> args;
  args.push_back(std::move(value));
  return CallByName(object, std::move(name), DISPATCH_PROPERTYPUT, std::move(args));
}
