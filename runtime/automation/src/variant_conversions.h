// Program values to VARIANTs and back, by the tables of the automation commands.
#pragma once

#include "oleaut/variant.h"
#include "runtime/values.h"

namespace runtime::automation {

// The value an argument carries; for one passed by reference (the held-elsewhere bit), the
// value stored at the caller's variable, with the bit cleared.
CommandArg ValueOf(const CommandArg& arg);

// Stores a program value of a basic type or a Variant in `out` (VariantInit'ed or cleared
// by the caller). ComObjects are the caller's to convert. False for any other type.
bool ProgramToVariant(const CommandArg& value, VARIANT& out);

// Converts a VARIANT to the program type `type` (a basic type, ComObject or Variant) and
// stores it in the variable at `variable`, releasing what the variable held. False when
// the value cannot be converted (a record never can); the variable is then unchanged.
bool StoreInVariable(const VARIANT& value, TypeWord type, void* variable);

// Conversions for results: a new Text, a double, a new Variant block, a new ComObject record.
bool VariantToText(const VARIANT& value, Text* out);
bool VariantToDouble(const VARIANT& value, double* out);
void* VariantToNewVariantBlock(const VARIANT& value);  // never null
bool VariantToNewComObject(const VARIANT& value, void** record);

// The VARIANT converted to `vt` with references resolved; an error HRESULT when it cannot be.
HRESULT ConvertedCopy(const VARIANT& value, VARTYPE vt, oleaut::OwnedVariant& out);

}  // namespace runtime::automation
