// AutomationCall: a method call or property write on an automation object by name.
#pragma once

#include "runtime/values.h"

namespace runtime::automation {

enum class CallKind { Method, PropertyWrite, PropertyRead };
enum class WantedResult { None, Variant, Text, Double };

// args: the ComObject, the member name, then the member's arguments. Stores the outcome in
// LastComError and fills `result` with the wanted value (its empty value after a failure).
void AutomationCall(CommandResult* result, std::int32_t argc, CommandArg* args, CallKind kind,
                    WantedResult wanted);

void SetLastComError(std::int32_t code);

}  // namespace runtime::automation
