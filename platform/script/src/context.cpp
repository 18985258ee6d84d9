#include "context.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "engine_text.h"

namespace script::detail {

namespace {

// Globals of the engine that reach past the language itself: the engine's own object
// (finalizers that would run at heap teardown, error hooks, raw pointers, coroutines,
// heap inspection) and the host's high-resolution clock. What remains is the language
// and pure computation on the script's own data.
constexpr const char* kHostGlobals[] = {"Duktape", "performance"};

// The engine's own calls around the script's: describing what a script threw can run its
// code again (toString), so these get a short deadline of their own. After a call with a
// timeout they get no more than what is left of it, so that the call ends within its
// timeout, but never less than the minimum, in which a plain error is described.
constexpr std::int32_t kHousekeepingBudgetMs = 1000;
constexpr std::int32_t kHousekeepingMinimumMs = 50;

std::int32_t HousekeepingBudget(std::int32_t timeLeftMs) {
  if (timeLeftMs < 0) return kHousekeepingBudgetMs;  // the call had no timeout
  return std::clamp(timeLeftMs, kHousekeepingMinimumMs, kHousekeepingBudgetMs);
}

// Protected bodies below hold nothing that needs destroying: an error leaves them by a
// long jump. Their state lives in the caller's records.

// A result that is an object is kept in the global stash (out of the script's reach)
// under a new id, so that the host can hold on to it.
struct Kept {
  bool object = false;
  std::uint32_t id = 0;
};

void KeepTop(duk_context* ctx, Context* context, Kept* kept) {
  const duk_int_t type = duk_get_type(ctx, -1);
  if (type != DUK_TYPE_OBJECT && type != DUK_TYPE_BUFFER && type != DUK_TYPE_LIGHTFUNC) return;
  const std::uint32_t id = context->NextObjectId();
  duk_push_global_stash(ctx);
  duk_dup(ctx, -2);
  duk_put_prop_index(ctx, -2, id);
  duk_pop(ctx);
  kept->object = true;
  kept->id = id;
}

struct ExecuteCall {
  Context* context;
  const std::string* source;
  bool wantValue;
  bool compiling;
  Kept kept;
};

duk_ret_t ExecuteBody(duk_context* ctx, void* udata) {
  auto* call = static_cast<ExecuteCall*>(udata);
  call->compiling = true;
  duk_compile_lstring(ctx, call->wantValue ? DUK_COMPILE_EVAL : 0, call->source->data(),
                      call->source->size());
  call->compiling = false;
  duk_call(ctx, 0);
  if (call->wantValue) {
    KeepTop(ctx, call->context, &call->kept);
  } else {
    duk_pop(ctx);
    duk_push_undefined(ctx);
  }
  return 1;
}

// An argument made ready for the engine before the protected call.
struct Argument {
  enum class Kind { Undefined, Null, Boolean, Number, String, Object } kind = Kind::Undefined;
  double number = 0;
  bool boolean = false;
  std::string text;
  std::uint32_t id = 0;
};

struct RunCall {
  Context* context;
  const std::string* name;
  const std::vector<Argument>* arguments;
  bool found;
  Kept kept;
};

void PushArgument(duk_context* ctx, const Argument& argument) {
  switch (argument.kind) {
    case Argument::Kind::Undefined: duk_push_undefined(ctx); break;
    case Argument::Kind::Null: duk_push_null(ctx); break;
    case Argument::Kind::Boolean: duk_push_boolean(ctx, argument.boolean); break;
    case Argument::Kind::Number: duk_push_number(ctx, argument.number); break;
    case Argument::Kind::String:
      duk_push_lstring(ctx, argument.text.data(), argument.text.size());
      break;
    case Argument::Kind::Object:
      duk_push_global_stash(ctx);
      duk_get_prop_index(ctx, -1, argument.id);
      duk_remove(ctx, -2);
      break;
  }
}

duk_ret_t RunBody(duk_context* ctx, void* udata) {
  auto* call = static_cast<RunCall*>(udata);
  duk_push_global_object(ctx);
  call->found = duk_has_prop_lstring(ctx, -1, call->name->data(), call->name->size());
  if (!call->found) {
    duk_push_undefined(ctx);
    return 1;
  }
  duk_get_prop_lstring(ctx, -1, call->name->data(), call->name->size());
  for (const Argument& argument : *call->arguments) PushArgument(ctx, argument);
  duk_call(ctx, static_cast<duk_idx_t>(call->arguments->size()));
  KeepTop(ctx, call->context, &call->kept);
  return 1;
}

struct ObjectCall {
  std::uint32_t id;
};

duk_ret_t DefaultValueBody(duk_context* ctx, void* udata) {
  duk_push_global_stash(ctx);
  duk_get_prop_index(ctx, -1, static_cast<ObjectCall*>(udata)->id);
  duk_to_string(ctx, -1);
  return 1;
}

duk_ret_t ReleaseBody(duk_context* ctx, void* udata) {
  duk_push_global_stash(ctx);
  duk_del_prop_index(ctx, -1, static_cast<ObjectCall*>(udata)->id);
  duk_push_undefined(ctx);
  return 1;
}

duk_ret_t DescribeBody(duk_context* ctx, void*) {
  duk_safe_to_string(ctx, -1);
  return 1;
}

duk_ret_t CollectBody(duk_context* ctx, void*) {
  duk_gc(ctx, 0);
  duk_gc(ctx, 0);  // the second pass takes what the first one's finalizing kept
  duk_push_undefined(ctx);
  return 1;
}

duk_ret_t RemoveHostGlobalsBody(duk_context* ctx, void*) {
  duk_push_global_object(ctx);
  for (const char* name : kHostGlobals) duk_del_prop_string(ctx, -1, name);
  duk_push_undefined(ctx);
  return 1;
}

Value NumberValue(double d) {
  if (std::isfinite(d) && d == std::trunc(d) && d >= std::numeric_limits<std::int32_t>::min() &&
      d <= std::numeric_limits<std::int32_t>::max()) {
    return static_cast<std::int32_t>(d);  // -0 becomes 0 here
  }
  return d;
}

std::u16string TopText(duk_context* ctx) {
  duk_size_t length = 0;
  const char* bytes = duk_get_lstring(ctx, -1, &length);
  if (bytes == nullptr) return {};
  return FromEngineText(std::string_view(bytes, length));
}

Result Failure(Status status, std::u16string message) {
  Result result;
  result.status = status;
  result.message = std::move(message);
  return result;
}

}  // namespace

std::shared_ptr<Context> Context::Create(std::size_t memoryLimit, std::int32_t timeoutMs,
                                         Result& failure) {
  std::unique_ptr<Heap> heap = Heap::Create(memoryLimit);
  if (heap == nullptr) {
    failure = Failure(Status::EngineFailure, u"the script engine could not start");
    return nullptr;
  }
  auto context = std::make_shared<Context>(std::move(heap), timeoutMs, memoryLimit);
  if (!context->RemoveHostGlobals()) {
    failure = Failure(Status::EngineFailure, u"the script engine could not start");
    return nullptr;
  }
  return context;
}

Context::Context(std::unique_ptr<Heap> heap, std::int32_t timeoutMs, std::size_t memoryLimit)
    : heap_(std::move(heap)), timeoutMs_(timeoutMs), memoryLimit_(memoryLimit) {}

bool Context::RemoveHostGlobals() {
  const CallStatus status = heap_->Call(kHousekeepingBudgetMs, &RemoveHostGlobalsBody, nullptr, 0);
  if (status == CallStatus::Fatal) return false;
  duk_pop(heap_->Context());
  return status == CallStatus::Ok;
}

Result Context::Execute(std::u16string_view code, bool wantValue) {
  const std::string source = ToEngineText(code);
  ExecuteCall call{this, &source, wantValue, false, {}};
  const CallStatus status = heap_->Call(timeoutMs_, &ExecuteBody, &call, 0);
  return Finish(status, call.compiling, call.kept.object, call.kept.id);
}

Result Context::Run(std::u16string_view name, std::span<const Value> arguments) {
  std::vector<Argument> prepared;
  prepared.reserve(arguments.size());
  for (const Value& value : arguments) {
    Argument argument;
    if (std::holds_alternative<Null>(value)) {
      argument.kind = Argument::Kind::Null;
    } else if (const bool* b = std::get_if<bool>(&value)) {
      argument.kind = Argument::Kind::Boolean;
      argument.boolean = *b;
    } else if (const std::int32_t* i = std::get_if<std::int32_t>(&value)) {
      argument.kind = Argument::Kind::Number;
      argument.number = *i;
    } else if (const double* d = std::get_if<double>(&value)) {
      argument.kind = Argument::Kind::Number;
      argument.number = *d;
    } else if (const std::u16string* s = std::get_if<std::u16string>(&value)) {
      argument.kind = Argument::Kind::String;
      argument.text = ToEngineText(*s);
    } else if (const auto* object = std::get_if<std::shared_ptr<ScriptObject>>(&value)) {
      // Only objects of this very heap can go back into it.
      if (*object == nullptr || (*object)->context_.get() != this) {
        return Failure(Status::InvalidArgument, u"an object of another script engine");
      }
      argument.kind = Argument::Kind::Object;
      argument.id = (*object)->Id();
    }
    prepared.push_back(std::move(argument));
  }
  const std::string engineName = ToEngineText(name);
  RunCall call{this, &engineName, &prepared, false, {}};
  const CallStatus status = heap_->Call(timeoutMs_, &RunBody, &call, 0);
  if (status == CallStatus::Ok && !call.found) {
    duk_pop(heap_->Context());
    return Failure(Status::UnknownName, u"unknown name: " + std::u16string(name));
  }
  return Finish(status, false, call.kept.object, call.kept.id);
}

Result Context::DefaultValue(std::uint32_t id) {
  ObjectCall call{id};
  const CallStatus status = heap_->Call(timeoutMs_, &DefaultValueBody, &call, 0);
  return Finish(status, false, false, 0);
}

void Context::Release(std::uint32_t id) {
  ObjectCall call{id};
  if (heap_->Call(kHousekeepingBudgetMs, &ReleaseBody, &call, 0) != CallStatus::Fatal) {
    duk_pop(heap_->Context());
  }
}

Result Context::Finish(CallStatus status, bool compiling, bool keptObject, std::uint32_t id) {
  if (status == CallStatus::Fatal) {
    return Failure(Status::EngineFailure,
                   u"script engine failure: " + FromEngineText(heap_->FatalMessage()));
  }
  const std::int32_t housekeeping = HousekeepingBudget(heap_->TimeLeftMs());
  duk_context* ctx = heap_->Context();
  // A call that ran out of time fails, also when the script caught the timeout and ended.
  if (heap_->TimedOut()) {
    duk_pop(ctx);
    if (status == CallStatus::Ok && keptObject) Release(id);
    return Failure(Status::Timeout, u"RangeError: execution timeout");
  }
  if (status == CallStatus::Ok) {
    Result result;
    result.value = ReadValue(keptObject, id);
    duk_pop(ctx);
    return result;
  }
  const bool syntax = compiling && duk_get_error_code(ctx, -1) == DUK_ERR_SYNTAX_ERROR;
  const bool refused = heap_->MemoryRefused();
  std::u16string message = DescribeThrown(housekeeping);
  if (heap_->Dead()) return Failure(Status::EngineFailure, u"script engine failure");
  Status kind = Status::ScriptError;
  if (syntax) {
    kind = Status::SyntaxError;
  } else if (refused) {
    // Whatever it threw in the end, a call that was refused memory ran into the limit
    // (when memory runs that short, the engine can only throw a bare "Error").
    kind = Status::OutOfMemory;
    CollectAfterRefusal(housekeeping);
  }
  return Failure(kind, std::move(message));
}

void Context::CollectAfterRefusal(std::int32_t budgetMs) {
  if (heap_->Call(budgetMs, &CollectBody, nullptr, 0) != CallStatus::Fatal) {
    duk_pop(heap_->Context());
  }
  exhausted_ = heap_->Dead() || heap_->MemoryInUse() > memoryLimit_ / 2;
}

Value Context::ReadValue(bool keptObject, std::uint32_t id) {
  duk_context* ctx = heap_->Context();
  if (keptObject) return std::make_shared<ScriptObject>(shared_from_this(), id);
  switch (duk_get_type(ctx, -1)) {
    case DUK_TYPE_NULL: return Null{};
    case DUK_TYPE_BOOLEAN: return duk_get_boolean(ctx, -1) != 0;
    case DUK_TYPE_NUMBER: return NumberValue(duk_get_number(ctx, -1));
    case DUK_TYPE_STRING:
      // A symbol has no form outside the script.
      if (duk_is_symbol(ctx, -1)) return std::monostate{};
      return TopText(ctx);
    default: return std::monostate{};
  }
}

// Takes the thrown value off the stack and gives its String() form.
std::u16string Context::DescribeThrown(std::int32_t budgetMs) {
  const CallStatus status = heap_->Call(budgetMs, &DescribeBody, nullptr, 1);
  if (status == CallStatus::Fatal) return u"script engine failure";
  std::u16string text = status == CallStatus::Ok && !heap_->TimedOut()
                            ? TopText(heap_->Context())
                            : u"Error: (the error could not be described)";
  duk_pop(heap_->Context());
  return text;
}

}  // namespace script::detail
