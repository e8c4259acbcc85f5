#include "tolx/RandomStream.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <limits>
#include <openssl/evp.h>
#include <stdexcept>
#include <sys/random.h>

namespace tolvex::tolx {

namespace {

constexpr std::size_t kKeyBytes = 32;
constexpr std::size_t kCounterBytes = 16;

void seedFromKernel(std::span<unsigned char> seed)
{
    std::size_t got = 0;
    while (got < seed.size()) {
        const ssize_t n = getrandom(seed.data() + got, seed.size() - got, 0);
        if (n < 0 && errno != EINTR)
            throw std::runtime_error(std::string("getrandom: ") + std::strerror(errno));
        if (n > 0)
            got += static_cast<std::size_t>(n);
    }
}

} // namespace

void RandomStream::CipherFree::operator()(evp_cipher_ctx_st* context) const
{
    EVP_CIPHER_CTX_free(context);
}

RandomStream::RandomStream() : cipher_(EVP_CIPHER_CTX_new())
{
    std::array<unsigned char, kKeyBytes + kCounterBytes> seed{};
    seedFromKernel(seed);
    const bool ready = cipher_ && EVP_EncryptInit_ex(cipher_.get(), EVP_aes_256_ctr(), nullptr,
                                                     seed.data(), seed.data() + kKeyBytes) == 1;
    OPENSSL_cleanse(seed.data(), seed.size());
    if (!ready)
        throw std::runtime_error("the AES-256-CTR cipher is not available");
}

RandomStream::~RandomStream() = default;

void RandomStream::fill(std::span<std::byte> out)
{
    // The keystream is what encrypting zeros yields.
    std::memset(out.data(), 0, out.size());
    const std::lock_guard lock(mutex_);
    auto* bytes = reinterpret_cast<unsigned char*>(out.data());
    std::size_t left = out.size();
    while (left > 0) {
        const int piece = static_cast<int>(std::min<std::size_t>(left, INT_MAX / 2));
        int written = 0;
        if (EVP_EncryptUpdate(cipher_.get(), bytes, &written, bytes, piece) != 1 ||
            written != piece)
            throw std::runtime_error("the AES-256-CTR cipher failed");
        bytes += piece;
        left -= static_cast<std::size_t>(piece);
    }
}

std::uint8_t RandomStream::byte()
{
    std::byte value{};
    fill(std::span(&value, 1));
    return static_cast<std::uint8_t>(value);
}

std::uint32_t RandomStream::below(std::uint32_t bound)
{
    // Rejecting the top sliver of the range keeps every result equally likely.
    const std::uint32_t limit = std::numeric_limits<std::uint32_t>::max() -
                                std::numeric_limits<std::uint32_t>::max() % bound;
    for (;;) {
        std::uint32_t value = 0;
        fill(std::as_writable_bytes(std::span(&value, 1)));
        if (value < limit)
            return value % bound;
    }
}

} // namespace tolvex::tolx
