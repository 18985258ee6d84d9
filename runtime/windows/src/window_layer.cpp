#include "runtime/windows/window_layer.h"

#include "runtime/frame.h"

namespace runtime {
namespace {

const WindowLayer kWindowLayer = {
    DeliverEvent, DestroyAllWindows, ReadProperty, WriteProperty, RunMessageLoop, LoadStartupWindow,
};

}  // namespace

void InstallWindowLayer() { SetWindowLayer(&kWindowLayer); }

}  // namespace runtime
