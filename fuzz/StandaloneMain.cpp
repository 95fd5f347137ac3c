// Runs a fuzz target on the files named on the command line, without
// libFuzzer: for replaying inputs in a build without sanitizers (timings,
// debugging). Prints the time each input took.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto start = std::chrono::steady_clock::now();
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("%s: %.3f s\n", argv[i], took.count());
  }
  return 0;
}
