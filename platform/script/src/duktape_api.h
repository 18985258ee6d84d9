// Duktape's public interface as our configuration sees it.
#pragma once

#include "/usr/share/duktape/duktape.h"
#include "duktape_config.h"
