// Writing any type library in the text format (oleaut/typelib_text.h), through ITypeLib
// and ITypeInfo alone.
#include <cstdio>
#include <vector>

#include "oleaut/com_ptr.h"

#include "name_compare.h"
#include "oleaut/ole32.h"
#include "oleaut/typelib_text.h"
#include "typelib_text_format.h"

namespace oleaut {

namespace {

struct WriteError {
  HRESULT hr;
};

void Check(HRESULT hr) {
  if (FAILED(hr)) throw WriteError{hr};
}

std::string GuidText(const GUID& guid) {
  OLECHAR buffer[39];
  StringFromGUID2(guid, buffer, 39);
  return detail::ToUtf8(std::u16string_view(buffer, 38));
}

std::string Hex(DWORD value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%lX", static_cast<unsigned long>(value));
  return buffer;
}

// Takes ownership of a BSTR and gives its text as UTF-8.
std::string Take(BSTR text) {
  std::string out = detail::ToUtf8(BstrView(text));
  SysFreeString(text);
  return out;
}

class Writer {
 public:
  explicit Writer(ITypeLib* lib) : lib_(lib) {
    ComPtr<IUnknown> identity;
    lib->QueryInterface(IID_IUnknown, identity.PutVoid());
    identity_ = identity.Get();
  }

  std::string Write() {
    BSTR name = nullptr;
    BSTR doc = nullptr;
    Check(lib_->GetDocumentation(-1, &name, &doc, nullptr, nullptr));
    const std::string docText = Take(doc);
    const std::string libName = Take(name);
    TLIBATTR* attr = nullptr;
    Check(lib_->GetLibAttr(&attr));
    out_ = "typelib " + libName + " " + GuidText(attr->guid) + " " +
           std::to_string(attr->wMajorVerNum) + "." + std::to_string(attr->wMinorVerNum) +
           " lcid " + Hex(attr->lcid) + "\n";
    lib_->ReleaseTLibAttr(attr);
    Doc(docText, "");
    const UINT count = lib_->GetTypeInfoCount();
    for (UINT i = 0; i < count; ++i) {
      ComPtr<ITypeInfo> type;
      Check(lib_->GetTypeInfo(i, type.Put()));
      Type(type.Get());
    }
    return out_;
  }

 private:
  void Doc(const std::string& doc, const char* indent) {
    if (!doc.empty()) out_ += std::string(indent) + "doc " + detail::QuoteText(doc) + "\n";
  }

  std::string NameOf(ITypeInfo* type, MEMBERID member = MEMBERID_NIL) {
    BSTR name = nullptr;
    Check(type->GetDocumentation(member, &name, nullptr, nullptr, nullptr));
    return Take(name);
  }

  std::string TypeText(const TYPEDESC& desc, ITypeInfo* scope) {
    switch (desc.vt) {
      case VT_PTR: return "ptr(" + TypeText(*desc.lptdesc, scope) + ")";
      case VT_SAFEARRAY: return "safearray(" + TypeText(*desc.lptdesc, scope) + ")";
      case VT_CARRAY: {
        std::string text = "carray(" + TypeText(desc.lpadesc->tdescElem, scope);
        const SAFEARRAYBOUND* bounds = desc.lpadesc->rgbounds;
        for (USHORT i = 0; i < desc.lpadesc->cDims; ++i) {
          text += "," + std::to_string(bounds[i].cElements) + "," + std::to_string(bounds[i].lLbound);
        }
        return text + ")";
      }
      case VT_USERDEFINED: {
        ComPtr<ITypeInfo> target;
        Check(scope->GetRefTypeInfo(desc.hreftype, target.Put()));
        ComPtr<ITypeLib> owner;
        UINT index = 0;
        Check(target->GetContainingTypeLib(owner.Put(), &index));
        ComPtr<IUnknown> identity;
        owner->QueryInterface(IID_IUnknown, identity.PutVoid());
        if (identity.Get() != identity_) throw WriteError{E_NOTIMPL};  // another library
        return NameOf(target.Get());
      }
      default:
        if (const char* name = detail::BasicTypeName(desc.vt)) return name;
        throw WriteError{E_NOTIMPL};
    }
  }

  std::string ValueText(const VARIANT& value) {
    if (value.vt == VT_EMPTY) return "empty";
    if (value.vt == VT_NULL) return "null";
    const char* typeName = detail::BasicTypeName(value.vt);
    if (!typeName) throw WriteError{E_NOTIMPL};
    if (value.vt == VT_BSTR) {
      return std::string("bstr ") + detail::QuoteText(detail::ToUtf8(BstrView(value.bstrVal)));
    }
    if (value.vt == VT_DATE || value.vt == VT_R8 || value.vt == VT_R4) {
      char buffer[40];
      std::snprintf(buffer, sizeof buffer, "%.17g", value.vt == VT_R4 ? value.fltVal : value.dblVal);
      return std::string(typeName) + " " + buffer;
    }
    if (value.vt == VT_ERROR) return "error " + std::to_string(value.scode);
    OwnedVariant text;
    Check(VariantChangeTypeEx(text.get(), &value, detail::kFormatLocale, 0, VT_BSTR));
    return std::string(typeName) + " " + detail::ToUtf8(BstrView(text->bstrVal));
  }

  void Type(ITypeInfo* type) {
    TYPEATTR* attr = nullptr;
    Check(type->GetTypeAttr(&attr));
    // Given back on every path, the failing ones included.
    struct AttrGuard {
      ITypeInfo* type;
      TYPEATTR* attr;
      ~AttrGuard() { type->ReleaseTypeAttr(attr); }
    } guard{type, attr};
    BSTR name = nullptr;
    BSTR doc = nullptr;
    Check(type->GetDocumentation(MEMBERID_NIL, &name, &doc, nullptr, nullptr));
    const std::string typeName = Take(name);
    const std::string docText = Take(doc);
    const bool hasGuid = !IsEqualGUID(attr->guid, GUID_NULL);
    const std::string guid = hasGuid ? " " + GuidText(attr->guid) : "";
    switch (attr->typekind) {
      case TKIND_ENUM:
        out_ += "enum " + typeName + guid + "\n";
        Doc(docText, "  ");
        Variables(type, attr->cVars, "const");
        break;
      case TKIND_ALIAS:
        out_ += "alias " + typeName + " " + TypeText(attr->tdescAlias, type) + "\n";
        Doc(docText, "  ");
        break;
      case TKIND_RECORD:
        out_ += "record " + typeName + guid + "\n";
        Doc(docText, "  ");
        Variables(type, attr->cVars, "field");
        break;
      case TKIND_DISPATCH:
        out_ += "dispinterface " + typeName + " " + GuidText(attr->guid);
        if (attr->wTypeFlags & TYPEFLAG_FHIDDEN) out_ += " hidden";
        if (attr->wTypeFlags & TYPEFLAG_FDUAL) out_ += " dual";
        out_ += "\n";
        Doc(docText, "  ");
        for (UINT i = 0; i < attr->cFuncs; ++i) Function(type, i);
        Variables(type, attr->cVars, "var");
        break;
      case TKIND_COCLASS:
        out_ += "coclass " + typeName + " " + GuidText(attr->guid) + "\n";
        Doc(docText, "  ");
        for (UINT i = 0; i < attr->cImplTypes; ++i) {
          HREFTYPE ref;
          INT flags = 0;
          Check(type->GetRefTypeOfImplType(i, &ref));
          Check(type->GetImplTypeFlags(i, &flags));
          ComPtr<ITypeInfo> target;
          Check(type->GetRefTypeInfo(ref, target.Put()));
          out_ += "  implements " + NameOf(target.Get());
          if (flags & IMPLTYPEFLAG_FDEFAULT) out_ += " default";
          if (flags & IMPLTYPEFLAG_FSOURCE) out_ += " source";
          out_ += "\n";
        }
        break;
      default:
        throw WriteError{E_NOTIMPL};
    }
  }

  void Function(ITypeInfo* type, UINT index) {
    FUNCDESC* desc = nullptr;
    Check(type->GetFuncDesc(index, &desc));
    std::vector<BSTR> names(static_cast<std::size_t>(desc->cParams) + 1, nullptr);
    UINT count = 0;
    HRESULT hr = type->GetNames(desc->memid, names.data(), static_cast<UINT>(names.size()), &count);
    std::vector<std::string> text;
    for (UINT i = 0; i < count; ++i) text.push_back(Take(names[i]));
    try {
      Check(hr);
      static const char* const kKinds[] = {"", "method", "get", "", "put", "", "", "", "putref"};
      BSTR docBstr = nullptr;
      Check(type->GetDocumentation(desc->memid, nullptr, &docBstr, nullptr, nullptr));
      const std::string doc = Take(docBstr);
      // GetNames answers for the first function of the member (a property's get), whose
      // index parameters a put shares; a put's value parameter is named "value".
      const bool put = desc->invkind == INVOKE_PROPERTYPUT || desc->invkind == INVOKE_PROPERTYPUTREF;
      if (put && desc->cParams > 0) {
        text.resize(static_cast<std::size_t>(desc->cParams), "");
        text.push_back("value");
      }
      out_ += "  " + std::string(kKinds[desc->invkind]) + " " + std::to_string(desc->memid) + " " +
              (text.empty() ? std::string("?") : text[0]);
      if (desc->elemdescFunc.tdesc.vt != VT_VOID) {
        out_ += " returns " + TypeText(desc->elemdescFunc.tdesc, type);
      }
      if (desc->cParamsOpt == -1) out_ += " vararg";
      if (desc->wFuncFlags & FUNCFLAG_FHIDDEN) out_ += " hidden";
      out_ += "\n";
      Doc(doc, "    ");
      for (SHORT p = 0; p < desc->cParams; ++p) {
        const ELEMDESC& param = desc->lprgelemdescParam[p];
        const USHORT flags = param.paramdesc.wParamFlags;
        std::string paramName =
            static_cast<std::size_t>(p) + 1 < text.size() ? text[p + 1] : std::string();
        if (paramName.empty()) paramName = "p" + std::to_string(p);
        out_ += "    param " + paramName + " " + TypeText(param.tdesc, type);
        if (flags & PARAMFLAG_FIN) out_ += " in";
        if (flags & PARAMFLAG_FOUT) out_ += " out";
        if (flags & PARAMFLAG_FRETVAL) out_ += " retval";
        if (flags & PARAMFLAG_FHASDEFAULT && param.paramdesc.pparamdescex) {
          out_ += " default " + ValueText(param.paramdesc.pparamdescex->varDefaultValue);
        } else if (flags & PARAMFLAG_FOPT) {
          out_ += " opt";
        }
        out_ += "\n";
      }
    } catch (...) {
      type->ReleaseFuncDesc(desc);
      throw;
    }
    type->ReleaseFuncDesc(desc);
  }

  void Variables(ITypeInfo* type, UINT count, const char* word) {
    for (UINT i = 0; i < count; ++i) {
      VARDESC* desc = nullptr;
      Check(type->GetVarDesc(i, &desc));
      try {
        BSTR docBstr = nullptr;
        BSTR name = nullptr;
        Check(type->GetDocumentation(desc->memid, &name, &docBstr, nullptr, nullptr));
        const std::string doc = Take(docBstr);
        const std::string varName = Take(name);
        const std::string w = word;
        if (w == "const") {
          OwnedVariant value;
          Check(VariantChangeType(value.get(), desc->lpvarValue, 0, VT_I4));
          out_ += "  const " + varName + " " + std::to_string(value->lVal) + "\n";
        } else if (w == "field") {
          out_ += "  field " + varName + " " + TypeText(desc->elemdescVar.tdesc, type) + "\n";
        } else {
          out_ += "  var " + std::to_string(desc->memid) + " " + varName + " " +
                  TypeText(desc->elemdescVar.tdesc, type);
          if (desc->wVarFlags & VARFLAG_FREADONLY) out_ += " readonly";
          if (desc->wVarFlags & VARFLAG_FHIDDEN) out_ += " hidden";
          out_ += "\n";
        }
        Doc(doc, "    ");
      } catch (...) {
        type->ReleaseVarDesc(desc);
        throw;
      }
      type->ReleaseVarDesc(desc);
    }
  }

  ITypeLib* lib_;
  IUnknown* identity_ = nullptr;  // compared only, never called
  std::string out_;
};

}  // namespace

HRESULT WriteTypeLibText(ITypeLib* lib, std::string* text) {
  if (!lib || !text) return E_INVALIDARG;
  try {
    *text = Writer(lib).Write();
    return S_OK;
  } catch (const WriteError& e) {
    return e.hr;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace oleaut
