// Fontconfig keeps its parsed configuration until the process ends; the
// sanitizer build must not count that as our leak.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
