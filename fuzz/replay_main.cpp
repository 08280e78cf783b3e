// Runs a fuzz target once on the empty input and once on every file of the folders
// given, so that the seeds are replayed by any compiler without libFuzzer. A crash or a
// failed check aborts as it would under the fuzzer.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    LLVMFuzzerTestOneInput(nullptr, 0);
    int inputs = 1;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        std::filesystem::recursive_directory_iterator it(argv[i], ec), end;
        if (ec) {
            std::fprintf(stderr, "%s: %s\n", argv[i], ec.message().c_str());
            return 1;
        }
        for (; it != end; it.increment(ec)) {
            if (ec || !it->is_regular_file()) continue;
            std::ifstream in(it->path(), std::ios::binary);
            const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            // A copy of exactly the file's size, so a read past its end is not hidden by slack.
            const std::vector<std::uint8_t> input(bytes);
            LLVMFuzzerTestOneInput(input.data(), input.size());
            ++inputs;
        }
        if (ec) {
            std::fprintf(stderr, "%s: %s\n", argv[i], ec.message().c_str());
            return 1;
        }
    }
    std::printf("replayed %d inputs\n", inputs);
    return 0;
}
