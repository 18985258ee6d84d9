#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "error_text.h"
#include "runtime/entry_table.h"
#include "runtime/frame.h"

namespace runtime {
namespace {

using testing::AllOf;
using testing::HasSubstr;
using testing::Not;

void NoisyExitHook() { std::fputs("exit hook ran\n", stderr); }

struct NumberedError {
  int number;
  const char* message;
};

const NumberedError kNumberedErrors[] = {
    {1, "数组成员引用下标超出定义范围"},
    {2, "未得到所需要的数值型数据"},
    {3, "引用数组成员时维数不为1且不等于该数组目前所具有的维数"},
    {4, "数组成员引用下标必须大于等于1"},
    {5, "数据或数组类型不匹配"},
    {6, "调用DLL命令后发现堆栈错误"},
    {7, "子语句参数未返回数据或者返回了非系统基本类型或数组型数据"},
    {8, "被比较数据只能使用等于或不等于命令比较"},
    {9, "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围"},
    {10, "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零"},
    {11, "所提供参数的数据类型不符合要求"},
};

TEST(RuntimeErrorDeathTest, EachNumberedErrorShowsItsTextAndEndsWithMinusOne) {
  for (const NumberedError& error : kNumberedErrors) {
    SCOPED_TRACE(error.number);
    EXPECT_EXIT(EntryTable().ReportRuntimeError(error.number), testing::ExitedWithCode(255),
                HasSubstr(NumberedErrorBox(error.number, error.message)));
  }
}

TEST(RuntimeErrorDeathTest, TheExitHookDoesNotRun) {
  EXPECT_EXIT(
      {
        SetExitHook(NoisyExitHook);
        ReportRuntimeError(1);
      },
      testing::ExitedWithCode(255), AllOf(HasSubstr("数组成员"), Not(HasSubstr("exit hook ran"))));
}

TEST(RuntimeErrorDeathTest, MessageOnlyErrorsHaveNoCodeLine) {
  EXPECT_EXIT(RuntimeNotify(notify::RaiseError, reinterpret_cast<std::intptr_t>("\xB2\xE2\xCA\xD4"), 0),
              testing::ExitedWithCode(255), AllOf(HasSubstr(MessageErrorBox("测试")), Not(HasSubstr("错误代码"))));
}

TEST(RuntimeErrorDeathTest, AnEmptyMessageLeavesOnlyTheHeading) {
  EXPECT_EXIT(RaiseRuntimeError(""), testing::ExitedWithCode(255), HasSubstr(ErrorBox("运行时出错!\r\n\r\n")));
}

std::int32_t SilentHook(std::int32_t number, const char* message) {
  std::fprintf(stderr, "hook %d [%s]\n", number, message);
  return 1;
}

TEST(RuntimeErrorDeathTest, AnErrorHookThatAnswersNonZeroSuppressesTheBox) {
  EXPECT_EXIT(
      {
        SetErrorHook(SilentHook);
        ReportRuntimeError(5);
      },
      testing::ExitedWithCode(255), AllOf(HasSubstr("hook 5 ["), Not(HasSubstr("运行时出错"))));
}

std::int32_t PassingHook(std::int32_t, const char*) { return 0; }

TEST(RuntimeErrorDeathTest, AnErrorHookThatAnswersZeroLeavesTheBox) {
  EXPECT_EXIT(
      {
        SetErrorHook(PassingHook);
        ReportRuntimeError(2);
      },
      testing::ExitedWithCode(255), HasSubstr(NumberedErrorBox(2, "未得到所需要的数值型数据")));
}

std::int32_t FailingHook(std::int32_t number, const char*) {
  std::fprintf(stderr, "hook entered for %d\n", number);
  ReportRuntimeError(3);  // an error inside the hook: the hook is not entered again
}

TEST(RuntimeErrorDeathTest, AnErrorInsideTheHookDoesNotReenterIt) {
  EXPECT_EXIT(
      {
        SetErrorHook(FailingHook);
        ReportRuntimeError(4);
      },
      testing::ExitedWithCode(255),
      AllOf(HasSubstr("hook entered for 4"), Not(HasSubstr("hook entered for 3")),
            HasSubstr(NumberedErrorBox(3, "引用数组成员时维数不为1且不等于该数组目前所具有的维数"))));
}

}  // namespace
}  // namespace runtime
