// "ScriptControl" as an automation object (the IScriptControl dispatch interface), over
// the sandboxed engine of script/engine.h. Results are VARIANTs: undefined VT_EMPTY, null
// VT_NULL, whole numbers that fit VT_I4, other numbers VT_R8, strings VT_BSTR, booleans
// VT_BOOL, objects and arrays VT_DISPATCH whose default value (DISPID_VALUE) is the
// script's String() of them.
//
// HRESULTs: E_FAIL while no Language is set; a syntax error in the code given
// 0x800A03EC; an error the script throws, a timeout or running out of memory
// DISP_E_EXCEPTION (with the message as the exception's description); Run of an unknown
// name DISP_E_UNKNOWNNAME; a property value out of range CTL_E_INVALIDPROPERTYVALUE.
#pragma once

#include "oleaut/guid.h"

namespace script {

inline constexpr GUID LIBID_MSScriptControl{
    0x0E59F1D2, 0x1FBE, 0x11D0, {0x8F, 0xF2, 0x00, 0xA0, 0xD1, 0x00, 0x38, 0xBC}};
inline constexpr IID IID_IScriptControl{
    0x0E59F1D3, 0x1FBE, 0x11D0, {0x8F, 0xF2, 0x00, 0xA0, 0xD1, 0x00, 0x38, 0xBC}};
inline constexpr CLSID CLSID_ScriptControl{
    0x0E59F1D5, 0x1FBE, 0x11D0, {0x8F, 0xF2, 0x00, 0xA0, 0xD1, 0x00, 0x38, 0xBC}};

inline constexpr HRESULT CTL_E_INVALIDPROPERTYVALUE = static_cast<HRESULT>(0x800A017C);
// JScript's "expected ';'": what a syntax error in the given code reports.
inline constexpr HRESULT SCRIPT_E_SYNTAX = static_cast<HRESULT>(0x800A03EC);

}  // namespace script

// Registers the class under the ProgIDs "ScriptControl", "MSScriptControl.ScriptControl"
// and "MSScriptControl.ScriptControl.1" (matched without regard to case). Safe to call
// more than once.
void RegisterScriptControl();
