// The one runtime-error routine: every fatal condition of the runtime and its libraries
// ends here, shows one message box and ends the process with exit code -1.
#include <string>

#include "context.h"
#include "runtime/messages.h"
#include "ui/message_box.h"

namespace runtime {
namespace {

const char* const kNumberedMessages[] = {
    messages::kArraySubscriptOutOfRange, messages::kNumericDataExpected,
    messages::kArrayDimensionMismatch,   messages::kArraySubscriptBelowOne,
    messages::kTypeMismatch,             messages::kDllStackError,
    messages::kSubStatementNoData,       messages::kCompareOnlyEquality,
    messages::kChoiceIndexOutOfRange,    messages::kRedimDimensionInvalid,
    messages::kArgumentTypeInvalid,
};
constexpr int kNumberedMessageCount = sizeof kNumberedMessages / sizeof kNumberedMessages[0];

std::string ErrorText(const char* message, std::int32_t errorNumber) {
  std::string text = messages::kErrorHeading;
  if (errorNumber != 0) {
    text += messages::kErrorCodeLabel;
    text += std::to_string(errorNumber);
    text += "\r\n\r\n";
  }
  if (message && *message) {
    text += messages::kErrorMessageLabel;
    text += message;
    text += "\r\n";
  }
  return text;
}

}  // namespace

void ReportRuntimeError(std::int32_t errorNumber) {
  const char* message =
      errorNumber >= 1 && errorNumber <= kNumberedMessageCount ? kNumberedMessages[errorNumber - 1] : "";
  RaiseRuntimeError(message, errorNumber);
}

void RaiseRuntimeError(const char* message, std::int32_t errorNumber) {
  RuntimeContext& context = Context();
  ++context.errorExitNesting;  // from now on no event reaches the program

  bool suppressed = false;
  if (context.errorHook && !context.errorHookRunning) {
    context.errorHookRunning = true;
    suppressed = context.errorHook(errorNumber, message ? message : "") != 0;
    context.errorHookRunning = false;
  }
  if (!suppressed) {
    MessageBoxA(nullptr, ErrorText(message, errorNumber).c_str(), messages::kErrorCaption, MB_ICONHAND);
  }

  context.exitHook = nullptr;
  ExitProgram(-1);
}

void SetErrorHook(ErrorHookFunction hook) { Context().errorHook = hook; }

std::int32_t ErrorExitNesting() { return Context().errorExitNesting.load(); }

}  // namespace runtime
