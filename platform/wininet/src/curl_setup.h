// libcurl's one-time global initialisation, before any handle is made.
#pragma once

namespace wininet {
void EnsureCurl();
}
