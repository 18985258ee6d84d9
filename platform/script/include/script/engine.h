// A sandboxed JavaScript engine: what the "ScriptControl" automation object runs on.
//
// Each Engine has a heap of its own. Scripts reach nothing outside it (no files, network,
// processes or host hooks), every call ends within the engine's Timeout (RegExp matching
// included) and a heap never grows past its memory limit. A script that breaks a limit
// fails with an error result; the engine stays usable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace script {

namespace detail {
class Context;
}

class ScriptObject;

// The script's null, as opposed to undefined (std::monostate: "empty").
struct Null {
  bool operator==(const Null&) const = default;
};

// A value as it leaves or enters the engine. Numbers that are whole and fit in 32 bits
// (-0 too) come out as int32, every other number as double; objects, arrays and functions
// as a ScriptObject.
using Value = std::variant<std::monostate, Null, bool, std::int32_t, double, std::u16string,
                           std::shared_ptr<ScriptObject>>;

enum class Status {
  Ok,
  NotInitialized,   // no language set
  SyntaxError,      // the code given could not be compiled
  ScriptError,      // the script threw
  Timeout,          // the call ran past the Timeout
  OutOfMemory,      // the script hit the memory limit
  UnknownName,      // Run: no such global
  InvalidArgument,  // Run: an argument the engine cannot take
  EngineFailure,    // the engine itself broke down; the engine's state is lost
};

struct Result {
  Status status = Status::Ok;
  Value value;             // when Ok
  std::u16string message;  // when not Ok: the error as the script would print it
  bool ok() const { return status == Status::Ok; }
};

// An object that lives in an engine's heap, kept alive as long as the handle is.
class ScriptObject {
 public:
  ScriptObject(std::shared_ptr<detail::Context> context, std::uint32_t id);
  ScriptObject(const ScriptObject&) = delete;
  ScriptObject& operator=(const ScriptObject&) = delete;
  ~ScriptObject();

  // String(value): "1,2" for [1,2], "[object Object]" for {}. Runs script (toString),
  // so it is bounded by the engine's limits like any call.
  Result DefaultValue() const;
  // Whether the object lives in this engine's current heap.
  bool BelongsTo(const class Engine& engine) const;
  std::uint32_t Id() const { return id_; }

 private:
  friend class detail::Context;
  std::shared_ptr<detail::Context> context_;
  std::uint32_t id_;
};

class Engine {
 public:
  static constexpr std::int32_t kDefaultTimeoutMs = 10000;
  static constexpr std::int32_t kNoTimeout = -1;
  static constexpr std::size_t kDefaultMemoryLimit = 64 * 1024 * 1024;

  Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;
  ~Engine();

  // "javascript" or "jscript", in any case, starts a fresh heap; "" returns the engine to
  // having no language. Any other name is refused (false) and changes nothing.
  bool SetLanguage(std::u16string_view language);
  const std::u16string& Language() const { return language_; }
  bool HasLanguage() const { return !language_.empty(); }

  // Milliseconds per call; kNoTimeout for none, 0 for a deadline that has already passed.
  // Values below -1 are refused (false).
  bool SetTimeout(std::int32_t timeoutMs);
  std::int32_t Timeout() const { return timeoutMs_; }

  // Bytes the heap may hold; applies to the current heap at once and to later ones.
  void SetMemoryLimit(std::size_t bytes);
  std::size_t MemoryLimit() const { return memoryLimit_; }

  // Runs code as global code: its functions and variables stay for later calls.
  Result AddCode(std::u16string_view code);
  Result ExecuteStatement(std::u16string_view statement);
  // The value of the expression (the completion value of the code).
  Result Eval(std::u16string_view expression);
  // Calls the global function of that name (case-sensitive) with the arguments.
  Result Run(std::u16string_view name, std::span<const Value> arguments);
  // Drops every script and variable, keeping the language and the limits.
  void Reset();

 private:
  friend class ScriptObject;
  Result Execute(std::u16string_view code, bool wantValue);
  // The current heap, made anew after an engine failure; null without a language.
  detail::Context* LiveContext(Result& failure);

  std::u16string language_;
  std::int32_t timeoutMs_ = kDefaultTimeoutMs;
  std::size_t memoryLimit_ = kDefaultMemoryLimit;
  std::shared_ptr<detail::Context> context_;
};

}  // namespace script
