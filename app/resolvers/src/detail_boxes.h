// The four detail boxes of MainWindow, which every resolver fills in the same order.
#pragma once

namespace app {

void WriteDetailBoxes(const char* fileName, const char* extension, const char* size, const char* hash);

}  // namespace app
