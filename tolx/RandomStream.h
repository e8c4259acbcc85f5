#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

struct evp_cipher_ctx_st;

namespace tolvex::tolx {

// A cryptographic byte stream: AES-256 in counter mode over a key and counter drawn from the
// kernel's generator. One stream serves the whole run; it may be read from two threads.
class RandomStream {
public:
    RandomStream();
    ~RandomStream();
    RandomStream(const RandomStream&) = delete;
    RandomStream& operator=(const RandomStream&) = delete;

    void fill(std::span<std::byte> out);
    std::uint8_t byte();
    // A uniformly distributed number in [0, bound); bound must be at least 1.
    std::uint32_t below(std::uint32_t bound);

private:
    struct CipherFree {
        void operator()(evp_cipher_ctx_st* context) const;
    };

    std::mutex mutex_;
    std::unique_ptr<evp_cipher_ctx_st, CipherFree> cipher_;
};

} // namespace tolvex::tolx
