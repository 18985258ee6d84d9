// Duktape's public interface as our configuration sees it.
#pragma once

#include "duktape_config.h"
#include "/usr/share/duktape/duktape.h"
