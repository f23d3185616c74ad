#include "server/Passwords.h"

#include <sodium.h>

#include <stdexcept>

namespace torvik::server {
namespace {

// Holds one of the semaphore's places while it lives.
class HashingTurn {
public:
    explicit HashingTurn(std::counting_semaphore<4>& places) : places_(places) {
        places_.acquire();
    }
    ~HashingTurn() { places_.release(); }
    HashingTurn(const HashingTurn&) = delete;
    HashingTurn& operator=(const HashingTurn&) = delete;

private:
    std::counting_semaphore<4>& places_;
};

} // namespace

PasswordCost PasswordCost::Interactive() {
    return {crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE};
}

PasswordCost PasswordCost::Minimum() {
    return {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};
}

Passwords::Passwords(PasswordCost cost) : cost_(cost) {
    if (sodium_init() < 0) {
        throw std::runtime_error("libsodium could not be initialised");
    }
}

std::string Passwords::Hash(std::string_view password) {
    char hash[crypto_pwhash_STRBYTES];
    const HashingTurn turn(hashing_);
    if (crypto_pwhash_str_alg(hash, password.data(), password.size(), cost_.opsLimit,
                              cost_.memLimit, crypto_pwhash_ALG_ARGON2ID13) != 0) {
        throw std::runtime_error("the password hash ran out of memory");
    }
    return hash;
}

bool Passwords::Verifies(const std::string& hash, std::string_view password) {
    if (hash.empty() || hash.size() >= crypto_pwhash_STRBYTES) {
        return false;
    }
    const HashingTurn turn(hashing_);
    return crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

void Passwords::VerifyNothing(std::string_view password) {
    std::call_once(decoyMade_, [this] { decoy_ = Hash("no account has this password"); });
    Verifies(decoy_, password);
}

} // namespace torvik::server
