// The ComObject record and the Variant block as the automation commands see them.
#pragma once

#include <string_view>

#include "oleaut/record_info.h"
#include "oleaut/variant.h"
#include "runtime/automation.h"
#include "runtime/values.h"

namespace runtime::automation {

struct ComObjectRecord {
  IUnknown* object;  // holds one reference; an IRecordInfo when recordData is set
  void* recordData;  // the record of a VT_RECORD value, else null
};
static_assert(sizeof(ComObjectRecord) == ComObjectRecordSize);
static_assert(sizeof(VARIANT) == VariantBlockSize);

// The record or block an argument names: by value (the variable's pointer) or by
// reference (the address of the variable). Null when the argument is of another type.
ComObjectRecord* ComObjectOf(const CommandArg& arg);
VARIANT* VariantOf(const CommandArg& arg);

// Releases what the record holds and leaves it empty.
void ClearRecord(ComObjectRecord& record);
// Empties the record, then stores a new reference on `object` in it.
void StoreObject(ComObjectRecord& record, IUnknown* object);

// Texts cross into OLE as UTF-16 converted from the ANSI code page, and back.
BSTR TextToBstr(const char* text);
Text BstrToText(BSTR text);  // null for an empty string

}  // namespace runtime::automation
