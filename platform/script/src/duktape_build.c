/* The one translation unit that compiles Duktape, from the Debian package's amalgamation
   in place, with our configuration. */
#define DUK_COMPILING_DUKTAPE
#include "duktape_config.h"
#include "/usr/share/duktape/duktape.c"
