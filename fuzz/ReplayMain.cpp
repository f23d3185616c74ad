// Replays seed files through a fuzz target when it is built without
// libFuzzer: every file given (or found in a folder given), and every prefix
// of it, so that truncated inputs are covered too.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {
void Replay(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (size_t n = 0; n <= bytes.size(); ++n) {
        const std::vector<uint8_t> copy(bytes.begin(), bytes.begin() + static_cast<long>(n));
        LLVMFuzzerTestOneInput(copy.data(), copy.size());
    }
}
} // namespace

int main(int argc, char** argv) {
    size_t files = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg(argv[i]);
        // A seed folder that went missing must not pass as "nothing to replay".
        if (!std::filesystem::exists(arg)) {
            std::fprintf(stderr, "no such seed file or folder: %s\n", argv[i]);
            return 1;
        }
        if (std::filesystem::is_directory(arg)) {
            for (const auto& entry : std::filesystem::directory_iterator(arg)) {
                if (entry.is_regular_file()) {
                    Replay(entry.path());
                    ++files;
                }
            }
        } else {
            Replay(arg);
            ++files;
        }
    }
    std::printf("replayed %zu seed files\n", files);
    return files > 0 ? 0 : 1;
}
