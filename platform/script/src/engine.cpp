#include "script/engine.h"

#include "context.h"
#include "win/ascii_case.h"

namespace script {

namespace {

Result NotInitialized() {
  Result result;
  result.status = Status::NotInitialized;
  result.message = u"no script language has been set";
  return result;
}

}  // namespace

ScriptObject::ScriptObject(std::shared_ptr<detail::Context> context, std::uint32_t id)
    : context_(std::move(context)), id_(id) {}

ScriptObject::~ScriptObject() {
  if (context_ != nullptr && !context_->Dead()) context_->Release(id_);
}

Result ScriptObject::DefaultValue() const {
  if (context_->Dead()) {
    Result result;
    result.status = Status::EngineFailure;
    result.message = u"the object's script engine has failed";
    return result;
  }
  return context_->DefaultValue(id_);
}

bool ScriptObject::BelongsTo(const Engine& engine) const {
  return context_ != nullptr && context_ == engine.context_;
}

Engine::Engine() = default;
Engine::~Engine() = default;

bool Engine::SetLanguage(std::u16string_view language) {
  if (language.empty()) {
    language_.clear();
    context_.reset();
    return true;
  }
  if (!ascii::EqualsIgnoreCase(language, u"javascript") && !ascii::EqualsIgnoreCase(language, u"jscript")) return false;
  language_ = std::u16string(language);
  context_.reset();  // made on first use, with the limits in force then
  return true;
}

bool Engine::SetTimeout(std::int32_t timeoutMs) {
  if (timeoutMs < kNoTimeout) return false;
  timeoutMs_ = timeoutMs;
  if (context_ != nullptr) context_->SetTimeout(timeoutMs);
  return true;
}

void Engine::SetMemoryLimit(std::size_t bytes) {
  memoryLimit_ = bytes;
  if (context_ != nullptr) context_->SetMemoryLimit(bytes);
}

void Engine::Reset() { context_.reset(); }

detail::Context* Engine::LiveContext(Result& failure) {
  if (!HasLanguage()) {
    failure = NotInitialized();
    return nullptr;
  }
  // A heap that broke down, or that the script filled for good, gives way to a new one.
  if (context_ == nullptr || context_->Dead() || context_->Exhausted()) {
    context_ = detail::Context::Create(memoryLimit_, timeoutMs_, failure);
  }
  return context_.get();
}

Result Engine::Execute(std::u16string_view code, bool wantValue) {
  Result failure;
  detail::Context* context = LiveContext(failure);
  if (context == nullptr) return failure;
  return context->Execute(code, wantValue);
}

Result Engine::AddCode(std::u16string_view code) { return Execute(code, false); }
Result Engine::ExecuteStatement(std::u16string_view statement) { return Execute(statement, false); }
Result Engine::Eval(std::u16string_view expression) { return Execute(expression, true); }

Result Engine::Run(std::u16string_view name, std::span<const Value> arguments) {
  Result failure;
  detail::Context* context = LiveContext(failure);
  if (context == nullptr) return failure;
  return context->Run(name, arguments);
}

}  // namespace script
