// The UB checks of the ASan + UBSan build can recover, so that a run with
// UBSAN_OPTIONS=halt_on_error=0 lists every site; a test program left to its
// defaults still stops at the first report, with a stack.
extern "C" const char *__ubsan_default_options() {
  return "halt_on_error=1:print_stacktrace=1";
}
