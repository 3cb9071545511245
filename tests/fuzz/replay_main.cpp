// Replays a fuzz target's inputs without libFuzzer: every file named on the
// command line, or found directly in a folder named there, goes once through
// LLVMFuzzerTestOneInput. Built with any compiler, so the sanitizer builds
// run the seed corpora as ordinary tests. Prints how many inputs it replayed
// and fails when there were none or a path could not be read.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

bool replay(const std::filesystem::path &file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char **argv) {
  int replayed = 0;
  bool ok = true;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path path(argv[i]);
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
      for (const auto &entry : std::filesystem::directory_iterator(path, error))
        if (entry.is_regular_file()) {
          ok = replay(entry.path()) && ok;
          ++replayed;
        }
    } else {
      ok = replay(path) && ok;
      ++replayed;
    }
    if (error) ok = false;
  }
  std::printf("replayed %d inputs\n", replayed);
  return ok && replayed > 0 ? 0 : 1;
}
