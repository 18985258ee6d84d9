// A shared object for the module-loading tests.
extern "C" int TestModuleAnswer() { return 42; }
