// TypeLibBuilder::Build: checks a description and turns it into a TypeLibImpl.
#include <map>
#include <set>
#include <stdexcept>

#include "name_compare.h"
#include "oleaut/typeinfo_builder.h"
#include "type_model.h"
#include "variant_types.h"

namespace oleaut {

namespace {

using detail::DeclType;
using detail::FuncData;
using detail::ParamData;
using detail::TypeInfoImpl;
using detail::TypeLibImpl;
using detail::VarData;

[[noreturn]] void Fail(const std::u16string& where, const std::string& what) {
  throw std::invalid_argument(detail::ToUtf8(where) + ": " + what);
}

bool IsDeclarableBasic(VARTYPE vt) {
  switch (vt) {
    case VT_I1: case VT_I2: case VT_I4: case VT_I8: case VT_UI1: case VT_UI2: case VT_UI4:
    case VT_UI8: case VT_INT: case VT_UINT: case VT_R4: case VT_R8: case VT_CY: case VT_DATE:
    case VT_BSTR: case VT_DISPATCH: case VT_ERROR: case VT_BOOL: case VT_VARIANT: case VT_UNKNOWN:
    case VT_DECIMAL: case VT_VOID: case VT_HRESULT: case VT_LPSTR: case VT_LPWSTR:
      return true;
    default:
      return false;
  }
}

class LibraryMaker {
 public:
  explicit LibraryMaker(const detail::LibSpec& spec) : spec_(spec) {}

  ComPtr<ITypeLib> Make() {
    lib_ = ComPtr<TypeLibImpl>::Adopt(new TypeLibImpl);
    lib_->name = spec_.name;
    lib_->libid = spec_.libid;
    lib_->major = spec_.major;
    lib_->minor = spec_.minor;
    lib_->lcid = spec_.lcid;
    lib_->doc = spec_.doc;
    for (const detail::TypeDeclSpec& type : spec_.types) {
      if (type.name.empty()) Fail(spec_.name, "a type without a name");
      if (lib_->FindType(type.name)) Fail(type.name, "declared twice");
      auto info = std::make_unique<TypeInfoImpl>(*lib_.Get(),
                                                 static_cast<UINT>(lib_->types.size()));
      info->kind = type.kind;
      info->name = type.name;
      info->guid = type.guid;
      info->typeFlags = type.typeFlags;
      info->doc = type.doc;
      lib_->types.push_back(std::move(info));
    }
    // Aliases first: default values of parameters are converted through them.
    for (int pass = 0; pass < 2; ++pass) {
      for (std::size_t i = 0; i < spec_.types.size(); ++i) {
        const detail::TypeDeclSpec& type = spec_.types[i];
        if ((type.kind == TKIND_ALIAS) != (pass == 0)) continue;
        TypeInfoImpl& info = *lib_->types[i];
        switch (type.kind) {
          case TKIND_DISPATCH: MakeInterface(type, info); break;
          case TKIND_ENUM: MakeEnum(type, info); break;
          case TKIND_ALIAS: MakeAlias(type, info); break;
          case TKIND_RECORD: MakeRecord(type, info); break;
          case TKIND_COCLASS: MakeCoClass(type, info); break;
          default: Fail(type.name, "a kind of type that cannot be built");
        }
      }
      if (pass == 0) CheckAliasLoops();
    }
    ComPtr<ITypeLib> result(static_cast<ITypeLib*>(lib_.Get()));
    return result;
  }

 private:
  DeclType Resolve(const TypeSpec& spec, const std::u16string& where, int depth = 0) {
    if (depth > 16) Fail(where, "a type nested too deeply");
    DeclType type;
    type.vt = spec.vt();
    switch (spec.vt()) {
      case VT_PTR:
      case VT_SAFEARRAY:
      case VT_CARRAY: {
        if (!spec.inner()) Fail(where, "a pointer or array type without its element type");
        type.inner = std::make_shared<const DeclType>(Resolve(*spec.inner(), where, depth + 1));
        type.bounds = spec.bounds();
        if (spec.vt() == VT_CARRAY && type.bounds.empty()) Fail(where, "a fixed array without bounds");
        if (spec.vt() != VT_PTR && (type.inner->vt == VT_VOID || type.inner->vt == VT_HRESULT)) {
          Fail(where, "an array of void");
        }
        return type;
      }
      case VT_USERDEFINED:
        if (ITypeInfo* external = spec.external()) {
          type.href = ExternalRef(external);
          return type;
        }
        if (TypeInfoImpl* target = lib_->FindType(spec.name())) {
          type.href = target->index();
          return type;
        }
        Fail(where, "refers to the unknown type \"" + detail::ToUtf8(spec.name()) + "\"");
      default:
        if (!IsDeclarableBasic(spec.vt())) Fail(where, "an unknown basic type");
        return type;
    }
  }

  HREFTYPE ExternalRef(ITypeInfo* external) {
    for (std::size_t i = 0; i < lib_->externals.size(); ++i) {
      if (lib_->externals[i].Get() == external) {
        return TypeLibImpl::kExternalRef | static_cast<HREFTYPE>(i);
      }
    }
    lib_->externals.emplace_back(external);
    return TypeLibImpl::kExternalRef | static_cast<HREFTYPE>(lib_->externals.size() - 1);
  }

  VARTYPE VarTypeOf(const DeclType& type, TypeInfoImpl& scope) {
    return detail::ResolveVarType(type, static_cast<ITypeInfo*>(&scope));
  }

  // Member ids: given ones first; the rest numbered from 1 by name.
  void AssignIds(const detail::TypeDeclSpec& type, std::vector<FuncData>& funcs,
                 std::vector<VarData>& vars) {
    std::vector<std::pair<std::u16string, DISPID>> byName;
    std::set<DISPID> used;
    auto idOf = [&](const std::u16string& name) -> DISPID* {
      for (auto& [n, id] : byName) {
        if (detail::NamesEqual(n, name)) return &id;
      }
      return nullptr;
    };
    auto claim = [&](const std::u16string& name, DISPID id) {
      if (id == detail::kAutoId) {
        if (!idOf(name)) byName.emplace_back(name, detail::kAutoId);
        return;
      }
      if (DISPID* existing = idOf(name)) {
        if (*existing != detail::kAutoId && *existing != id) Fail(name, "two member ids for one name");
        if (*existing == detail::kAutoId && used.count(id)) Fail(name, "a member id used twice");
        *existing = id;
      } else {
        if (used.count(id)) Fail(name, "a member id used twice");
        byName.emplace_back(name, id);
      }
      used.insert(id);
    };
    for (const detail::FuncSpec& f : type.funcs) claim(f.name, f.id);
    for (const detail::VarSpec& v : type.vars) claim(v.name, v.id);
    DISPID next = 1;
    for (auto& [name, id] : byName) {
      if (id != detail::kAutoId) continue;
      while (used.count(next)) ++next;
      id = next;
      used.insert(next);
    }
    for (FuncData& f : funcs) f.id = *idOf(f.name);
    for (VarData& v : vars) v.id = *idOf(v.name);
  }

  ParamData MakeParam(const ParamSpec& spec, const std::u16string& where, TypeInfoImpl& info) {
    ParamData param;
    param.name = spec.name;
    param.flags = spec.flags;
    param.type = Resolve(spec.type, where);
    if (param.type.vt == VT_VOID || param.type.vt == VT_HRESULT) Fail(where, "a void parameter");
    if ((param.flags & PARAMFLAG_FOUT) && param.type.vt != VT_PTR) {
      Fail(where, "an out parameter that is no pointer");
    }
    if (param.type.vt == VT_PTR && param.type.inner->vt == VT_PTR) {
      Fail(where, "a pointer to a pointer");
    }
    if (param.flags & PARAMFLAG_FLCID) Fail(where, "locale parameters are not supported");
    if (param.flags & PARAMFLAG_FHASDEFAULT) {
      param.flags |= PARAMFLAG_FOPT;
      const DeclType& valueType = param.type.vt == VT_PTR ? *param.type.inner : param.type;
      const VARTYPE vt = VarTypeOf(valueType, info);
      if (vt == VT_VARIANT) {
        param.defaultValue = spec.defaultValue;
      } else if (FAILED(VariantChangeType(param.defaultValue.get(), spec.defaultValue.get(), 0,
                                          vt))) {
        Fail(where, "a default value that does not fit the parameter's type");
      }
    }
    return param;
  }

  FuncData MakeFunc(const detail::FuncSpec& spec, const std::u16string& where, TypeInfoImpl& info) {
    FuncData func;
    func.name = spec.name;
    func.kind = spec.kind;
    func.flags = spec.flags;
    func.doc = spec.doc;
    func.handler = spec.handler;
    func.result = Resolve(spec.result, where);
    for (const ParamSpec& p : spec.params) {
      func.params.push_back(MakeParam(p, where + u"(" + p.name + u")", info));
    }
    // The parameter order that IDL allows: required, then optional, then the variable
    // argument list, then the retval.
    std::size_t end = func.params.size();
    for (std::size_t i = 0; i < func.params.size(); ++i) {
      if ((func.params[i].flags & PARAMFLAG_FRETVAL) && i + 1 != func.params.size()) {
        Fail(where, "a retval parameter that is not the last");
      }
    }
    if (func.HasRetval()) {
      --end;
      if (func.result.vt != VT_HRESULT && func.result.vt != VT_VOID) {
        Fail(where, "a retval parameter beside a return type");
      }
      if (!(func.params.back().flags & PARAMFLAG_FOUT)) Fail(where, "a retval parameter that is not out");
    }
    if (spec.varargs) {
      if (end == 0) Fail(where, "a variable argument list without its parameter");
      const DeclType& last = func.params[end - 1].type;
      if (last.vt != VT_SAFEARRAY || last.inner->vt != VT_VARIANT) {
        Fail(where, "a variable argument list whose last parameter is no safearray(variant)");
      }
      --end;
      func.optionalCount = -1;
    }
    bool optionalSeen = false;
    for (std::size_t i = 0; i < end; ++i) {
      const bool optional = func.params[i].flags & PARAMFLAG_FOPT;
      if (optionalSeen && !optional) Fail(where, "a required parameter after an optional one");
      optionalSeen = optionalSeen || optional;
      if (optional && !(func.params[i].flags & PARAMFLAG_FHASDEFAULT) && !spec.varargs) {
        ++func.optionalCount;
      }
    }
    if (spec.kind == INVOKE_PROPERTYPUT || spec.kind == INVOKE_PROPERTYPUTREF) {
      if (end == 0 || (func.params[end - 1].flags & PARAMFLAG_FOPT) || spec.varargs) {
        Fail(where, "a property put needs its value as the last parameter");
      }
    }
    return func;
  }

  void MakeInterface(const detail::TypeDeclSpec& type, TypeInfoImpl& info) {
    info.instanceSize = sizeof(void*);
    info.alignment = alignof(void*);
    for (const detail::FuncSpec& f : type.funcs) {
      const std::u16string where = type.name + u"." + f.name;
      for (const FuncData& other : info.funcs) {
        if (detail::NamesEqual(other.name, f.name) && other.kind == f.kind) {
          Fail(where, "declared twice");
        }
      }
      info.funcs.push_back(MakeFunc(f, where, info));
    }
    for (const detail::VarSpec& v : type.vars) {
      const std::u16string where = type.name + u"." + v.name;
      for (const FuncData& other : info.funcs) {
        if (detail::NamesEqual(other.name, v.name)) Fail(where, "both a function and a variable");
      }
      for (const VarData& other : info.vars) {
        if (detail::NamesEqual(other.name, v.name)) Fail(where, "declared twice");
      }
      VarData var;
      var.name = v.name;
      var.kind = VAR_DISPATCH;
      var.type = Resolve(v.type, where);
      if (var.type.vt == VT_VOID || var.type.vt == VT_HRESULT) Fail(where, "a void variable");
      var.flags = v.flags;
      var.doc = v.doc;
      var.getter = v.getter;
      var.setter = v.setter;
      var.valueParam.name = u"value";
      var.valueParam.type = var.type;
      info.vars.push_back(std::move(var));
    }
    AssignIds(type, info.funcs, info.vars);
  }

  void MakeEnum(const detail::TypeDeclSpec& type, TypeInfoImpl& info) {
    info.instanceSize = 4;
    info.alignment = 4;
    MEMBERID id = 0x40000000;
    for (const detail::VarSpec& v : type.vars) {
      for (const VarData& other : info.vars) {
        if (detail::NamesEqual(other.name, v.name)) Fail(type.name + u"." + v.name, "declared twice");
      }
      VarData var;
      var.name = v.name;
      var.id = id++;
      var.kind = VAR_CONST;
      var.type.vt = VT_I4;
      var.value = v.value;
      var.doc = v.doc;
      info.vars.push_back(std::move(var));
    }
  }

  void MakeAlias(const detail::TypeDeclSpec& type, TypeInfoImpl& info) {
    info.aliased = Resolve(type.aliased, type.name);
    if (info.aliased.vt == VT_VOID || info.aliased.vt == VT_HRESULT) Fail(type.name, "an alias of void");
  }

  void MakeRecord(const detail::TypeDeclSpec& type, TypeInfoImpl& info) {
    ULONG offset = 0;
    ULONG alignment = 1;
    for (const detail::VarSpec& v : type.vars) {
      const std::u16string where = type.name + u"." + v.name;
      VarData var;
      var.name = v.name;
      var.kind = VAR_PERINSTANCE;
      var.type = Resolve(v.type, where);
      const ULONG size = detail::ValueSize(var.type.vt);
      if (size == 0 || var.type.vt == VT_USERDEFINED) Fail(where, "a field type records cannot hold");
      const ULONG align = size > 8 ? 8 : size;
      offset = (offset + align - 1) / align * align;
      var.offset = offset;
      offset += size;
      alignment = align > alignment ? align : alignment;
      var.id = static_cast<MEMBERID>(0x40000000 + info.vars.size());
      info.vars.push_back(std::move(var));
    }
    info.instanceSize = (offset + alignment - 1) / alignment * alignment;
    info.alignment = static_cast<WORD>(alignment);
  }

  void MakeCoClass(const detail::TypeDeclSpec& type, TypeInfoImpl& info) {
    info.instanceSize = sizeof(void*);
    info.alignment = alignof(void*);
    for (const detail::ImplSpec& impl : type.implemented) {
      TypeInfoImpl* target = lib_->FindType(impl.name);
      if (!target || (target->kind != TKIND_DISPATCH && target->kind != TKIND_INTERFACE)) {
        Fail(type.name, "implements \"" + detail::ToUtf8(impl.name) + "\", which is no interface");
      }
      info.impls.push_back(detail::ImplData{target->index(), impl.flags});
    }
  }

  void CheckAliasLoops() {
    for (const auto& type : lib_->types) {
      if (type->kind != TKIND_ALIAS) continue;
      const TypeInfoImpl* current = type.get();
      for (int steps = 0; current && current->kind == TKIND_ALIAS; ++steps) {
        if (steps > static_cast<int>(lib_->types.size())) Fail(type->name, "an alias of itself");
        const DeclType& aliased = current->aliased;
        if (aliased.vt != VT_USERDEFINED || (aliased.href & TypeLibImpl::kExternalRef)) break;
        current = lib_->types[aliased.href].get();
      }
    }
  }

  const detail::LibSpec& spec_;
  ComPtr<TypeLibImpl> lib_;
};

}  // namespace

ComPtr<ITypeLib> detail::BuildLibrary(const detail::LibSpec& spec) {
  return LibraryMaker(spec).Make();
}

ComPtr<ITypeLib> TypeLibBuilder::Build() const { return detail::BuildLibrary(spec_); }

}  // namespace oleaut
