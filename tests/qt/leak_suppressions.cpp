// Fontconfig keeps a cache for the life of the process and never frees it; that is not ours to
// fix, and without this every headless test would end in a leak report under the sanitizers.
extern "C" const char* __lsan_default_suppressions();

extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
