// A stand-in for libFuzzer's main where libFuzzer is not linked (the gcc
// sanitizer build): runs the target once over every file of the folders and
// files given, in name order, so the test suite replays each corpus. As
// libFuzzer's -timeout does, an input that runs longer than
// VELTA_FUZZ_INPUT_SECONDS (if set) ends the run with an error.
#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

namespace fs = std::filesystem;

char runningInput[4096];

void onTimeout(int) {
    const char message[] = "input timed out: ";
    [[maybe_unused]] ssize_t ignored = ::write(STDERR_FILENO, message, sizeof message - 1);
    ignored = ::write(STDERR_FILENO, runningInput, std::strlen(runningInput));
    ignored = ::write(STDERR_FILENO, "\n", 1);
    std::_Exit(70);
}

unsigned inputSeconds() {
    const char* given = std::getenv("VELTA_FUZZ_INPUT_SECONDS");
    return given ? unsigned(std::strtoul(given, nullptr, 10)) : 0;
}

std::vector<fs::path> inputsOf(const fs::path& given) {
    std::vector<fs::path> inputs;
    std::error_code error;
    if (!fs::is_directory(given, error)) {
        inputs.push_back(given);
        return inputs;
    }
    for (const auto& entry : fs::recursive_directory_iterator(given, error))
        if (entry.is_regular_file(error)) inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

bool readInput(const fs::path& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

} // namespace

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER|FILE...\n", argv[0]);
        return 2;
    }
    const unsigned seconds = inputSeconds();
    std::signal(SIGALRM, onTimeout);
    int runs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::vector<fs::path> inputs = inputsOf(argv[i]);
        if (inputs.empty()) {
            std::fprintf(stderr, "%s: no inputs\n", argv[i]);
            return 1;
        }
        for (const fs::path& input : inputs) {
            std::vector<uint8_t> bytes;
            if (!readInput(input, bytes)) {
                std::fprintf(stderr, "%s: cannot read\n", input.c_str());
                return 1;
            }
            // Named before it runs, so that a crash report follows its input's name.
            std::fprintf(stderr, "running %s (%zu bytes)\n", input.c_str(), bytes.size());
            std::snprintf(runningInput, sizeof runningInput, "%s", input.c_str());
            ::alarm(seconds);
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ::alarm(0);
            ++runs;
        }
    }
    std::fprintf(stderr, "%d inputs ran\n", runs);
    return 0;
}
