// runMethod, the one door through which scripting bindings reach the
// library: it reads the method name, resolves it through the registry and
// runs the invoker inside a call scope that owns every copy made. Nothing
// thrown below leaves it; running out of memory is reported as a message,
// also when the operation called caught it and returned its failure value.
#include <new>

#include "base/guarded.h"
#include "quorvane.h"
#include "script/hierarchy.h"
#include "script/marshal.h"
#include "script/registry.h"

namespace {

// The tables are built while the library loads, before any export runs.
[[maybe_unused]] const bool kTablesBuilt =
    (quorvane::script::hierarchy(), quorvane::script::registry(), true);

}  // namespace

extern "C" int runMethod(const HostAccessor *accessor, int argc, void *const *argv,
                         void *result, char *errorBuffer) {
  using namespace quorvane::script;
  char ignored[kErrorBufferSize];
  if (errorBuffer == nullptr) errorBuffer = ignored;
  errorBuffer[0] = '\0';
  if (accessor == nullptr) {
    writeError(errorBuffer, "no host accessor table");
    return 0;
  }
  if (argc < 1 || argv == nullptr) {
    writeError(errorBuffer, "no method name");
    return 0;
  }
  try {
    CallScope scope(*accessor);
    const char *name = nullptr;
    if (!scope.get(argv[0], name)) {
      writeError(errorBuffer, "first argument must be the method name (a text string)");
      return 0;
    }
    const Invoker *invoker = registry().resolve(name);
    if (invoker == nullptr) {
      writeError(errorBuffer, "unknown method %s", name);
      return 0;
    }
    // A void operation that ran out did nothing, and a null result could be
    // a plain answer: only the watch tells the host that the call fell short.
    const quorvane::FailureWatch watch;
    const bool ok = invoker->invoke(argc, argv, result, scope, errorBuffer);
    if (watch.sawFailure()) {
      writeError(errorBuffer, "out of memory");
      return 0;
    }
    return ok ? 1 : 0;
  } catch (const std::bad_alloc &) {
    writeError(errorBuffer, "out of memory");
  } catch (...) {
    writeError(errorBuffer, "internal error");
  }
  return 0;
}
