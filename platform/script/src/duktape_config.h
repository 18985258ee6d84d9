/* Duktape's configuration for Panlift: the package's own configuration, plus the hooks
   that let us stop a script that runs too long. Included first by the translation unit
   that compiles the engine, and by our code that calls the engine's interface. */
#ifndef PANLIFT_SCRIPT_DUKTAPE_CONFIG_H
#define PANLIFT_SCRIPT_DUKTAPE_CONFIG_H

#include "/usr/share/duktape/duk_config.h"

#ifdef __cplusplus
extern "C" {
#endif
/* Both answer non-zero once the running call has passed its deadline (and stay so until
   the next call sets a new one); the stack check also guards the native stack. */
int panlift_script_exec_timed_out(void *heap_udata);
int panlift_script_native_stack_check(void);
#ifdef __cplusplus
}
#endif

/* The bytecode executor asks periodically; RegExp matching and other native recursion
   never reach the executor, but do pass the native stack check on every level. */
#define DUK_USE_INTERRUPT_COUNTER
#define DUK_USE_EXEC_TIMEOUT_CHECK(udata) (panlift_script_exec_timed_out((udata)) != 0)
#define DUK_USE_NATIVE_STACK_CHECK() (panlift_script_native_stack_check())

#endif
