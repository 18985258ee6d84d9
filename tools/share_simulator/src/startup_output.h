// The lines printed on start, one record per line, fields separated by tabs:
//   listening   http://127.0.0.1:<port>
//   connect-to  <PANLIFT_CONNECT_TO value>
//   share       <service> <link> <file name>     (one per share, catalogue order)
//   ready
#pragma once

#include <cstdio>

#include "site.h"

namespace share_simulator {

void PrintStartup(std::FILE* out, const Site& site);

}  // namespace share_simulator
