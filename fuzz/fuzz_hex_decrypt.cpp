// The last-reply file is stored as hex digits of the stream cipher: any file
// content must decode without fault, and the cipher must stay invertible.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "protocol/Cipher.h"
#include "protocol/Encodings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const uint32_t key = size >= 2 ? (data[0] | data[1] << 8) : 38461;
    const std::string bytes = torvik::Hex2Bin(input);
    if (bytes.size() != input.size() / 2 || torvik::Hex2Bin(torvik::Bin2Hex(bytes)) != bytes) {
        std::abort();
    }
    const std::string plain = torvik::DecryptX(input, key);
    if (torvik::Encrypt(plain, key) != bytes ||
        torvik::Decrypt(torvik::Encrypt(input, key), key) != input) {
        std::abort();
    }
    return 0;
}
