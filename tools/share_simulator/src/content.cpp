#include "content.h"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

#include <openssl/evp.h>

namespace share_simulator {
namespace {

constexpr std::uint64_t kGamma = 0x9E3779B97F4A7C15ull;

std::uint64_t Fnv1a(std::string_view text) {
  std::uint64_t hash = 0xCBF29CE484222325ull;
  for (unsigned char c : text) hash = (hash ^ c) * 0x100000001B3ull;
  return hash;
}

std::uint64_t Key(std::string_view seed, std::uint64_t size) { return Fnv1a(seed) ^ (size * kGamma); }

// Word k of the stream: SplitMix64's output for step k, so any word is reachable directly.
std::uint64_t Word(std::uint64_t key, std::uint64_t k) {
  std::uint64_t z = key + (k + 1) * kGamma;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

class Md5 {
 public:
  Md5() : context_(EVP_MD_CTX_new(), EVP_MD_CTX_free) {
    if (!context_ || !EVP_DigestInit_ex(context_.get(), EVP_md5(), nullptr)) throw std::runtime_error("MD5 unavailable");
  }
  void Update(const void* data, std::size_t length) { EVP_DigestUpdate(context_.get(), data, length); }
  std::string HexDigest() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(context_.get(), digest, &length);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
      hex += kHex[digest[i] >> 4];
      hex += kHex[digest[i] & 15];
    }
    return hex;
  }

 private:
  std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> context_;
};

}  // namespace

void FillContent(std::string_view seed, std::uint64_t size, std::uint64_t offset, char* out, std::size_t length) {
  const std::uint64_t key = Key(seed, size);
  while (length > 0) {
    std::uint64_t word = Word(key, offset / 8);
    std::size_t skip = offset % 8;
    std::size_t n = std::min<std::size_t>(8 - skip, length);
    for (std::size_t j = 0; j < n; ++j) out[j] = static_cast<char>(word >> (8 * (skip + j)));
    out += n;
    offset += n;
    length -= n;
  }
}

std::string ContentMd5(std::string_view seed, std::uint64_t size) {
  Md5 md5;
  if (size > kServableLimit) {
    std::string text = std::string(seed) + ":" + std::to_string(size);
    md5.Update(text.data(), text.size());
    return md5.HexDigest();
  }
  std::vector<char> chunk(1 << 16);
  for (std::uint64_t offset = 0; offset < size; offset += chunk.size()) {
    std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), size - offset));
    FillContent(seed, size, offset, chunk.data(), n);
    md5.Update(chunk.data(), n);
  }
  return md5.HexDigest();
}

}  // namespace share_simulator
