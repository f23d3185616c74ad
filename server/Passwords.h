#pragma once
#include <cstddef>
#include <mutex>
#include <semaphore>
#include <string>
#include <string_view>

namespace torvik::server {

// The longest password accepted, in bytes: enough for any passphrase, and a
// bound on the work one request can ask of the hash.
inline constexpr size_t kMaxPasswordBytes = 200;

// The work factors of the password hash (libsodium's argon2id).
struct PasswordCost {
    unsigned long long opsLimit;
    size_t memLimit;
    // libsodium's interactive limits: the service's own.
    static PasswordCost Interactive();
    // The least libsodium allows: for tests only, which hash many times
    // under sanitizers.
    static PasswordCost Minimum();
};

// Slow salted password hashes (crypto_pwhash_str). Safe to use from
// several threads.
class Passwords {
public:
    // Throws std::runtime_error when libsodium cannot be initialised.
    explicit Passwords(PasswordCost cost);

    // A new hash of password, with its own salt. Throws std::runtime_error
    // when the memory for it cannot be had.
    std::string Hash(std::string_view password);
    // Whether password is the one hashed; false for an empty hash.
    bool Verifies(const std::string& hash, std::string_view password);
    // Verifies against a hash of no account, so that an unknown user name
    // costs the same time as a wrong password.
    void VerifyNothing(std::string_view password);

private:
    PasswordCost cost_;
    // Each hash takes memLimit bytes (64 MiB interactive): the service's
    // threads hashing at once could otherwise take gigabytes.
    std::counting_semaphore<4> hashing_{4};
    // Made at its first use: a service that never meets an unknown name
    // never pays for it.
    std::once_flag decoyMade_;
    std::string decoy_;
};

} // namespace torvik::server
