// The describing entry points of the library.
#include "quorvane.h"

extern "C" {

int getVersion() { return 0x02000000; }

const char *getDescription() { return "Quorvane"; }

const char *getCopyright() { return "Copyright (c) 2026 the Quorvane developers"; }

}  // extern "C"
