#include "rules/rules_cipher.h"

#include <algorithm>

#include "platform/crypto.h"

namespace qm {

namespace {

constexpr int kBlockSize = 8;
constexpr int64_t kDerivedBlockSize = 512;

uint8_t ByteAt(const std::string& bytes, size_t at) {
  return static_cast<uint8_t>(bytes[at]);
}

uint8_t ReverseBits(uint8_t byte) {
  uint8_t out = 0;
  for (int bit = 0; bit < 8; ++bit) {
    if (byte & (1u << bit)) out |= static_cast<uint8_t>(0x80u >> bit);
  }
  return out;
}

}  // namespace

uint32_t ReadWordBigEndian(const std::string& bytes, size_t at) {
  return (uint32_t{ByteAt(bytes, at)} << 24) | (uint32_t{ByteAt(bytes, at + 1)} << 16) |
         (uint32_t{ByteAt(bytes, at + 2)} << 8) | uint32_t{ByteAt(bytes, at + 3)};
}

void WriteWordBigEndian(std::string& bytes, size_t at, uint32_t word) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(word >> (24 - 8 * i));
}

std::string LittleEndian(uint64_t value, int width) {
  std::string out(width, '\0');
  for (int i = 0; i < width; ++i) out[i] = static_cast<char>(value >> (8 * i));
  return out;
}

void XorBlock(std::string& block, const std::string& with) {
  for (int i = 0; i < kBlockSize; ++i) block[i] = static_cast<char>(block[i] ^ with[i]);
}

std::string Md5Hex(const std::string& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char byte : crypto::Md5Digest(bytes)) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 15];
  }
  return hex;
}

std::string KeyText(const std::string& q, int n) {
  if (n <= 0) return {};
  const int64_t count = (n + 31) / 32;
  const int64_t g = static_cast<int64_t>(q.size());
  std::string joined;
  for (int64_t i = 1; i <= count; ++i) {
    const int64_t v = (i + g + i * count) * (i - 1);
    joined += Md5Hex(std::to_string(v) + q);
  }
  return joined.substr(0, n);
}

std::string DesEncipherBlocks(const std::string& blocks, const std::string& k) {
  if (k.size() != kBlockSize) return {};
  std::string key(kBlockSize, '\0');
  for (int i = 0; i < kBlockSize; ++i) key[i] = static_cast<char>(ReverseBits(ByteAt(k, i)));
  return crypto::DesEncipherEcb(key, blocks);
}

std::string DesFrame(const std::string& x, const std::string& password) {
  if (x.empty()) return {};
  std::string k(kBlockSize, '\0');
  for (size_t j = 0; j < password.size(); ++j) k[j % kBlockSize] ^= password[j];
  std::string frame = LittleEndian(x.size(), 4) + x;
  frame.resize((frame.size() + kBlockSize - 1) / kBlockSize * kBlockSize, '\0');
  return DesEncipherBlocks(frame, k);
}

std::string DerivedBlock(const std::string& p, const std::string& q, int64_t a,
                         const std::string& salt) {
  if (a <= 0) return {};
  const std::string password =
      KeyText(salt + LittleEndian(static_cast<uint64_t>(a), 8) + q + salt, 256);
  const std::string f = DesFrame(p + salt, password);
  const int64_t copies = std::max<int64_t>(2, a / kDerivedBlockSize + 1);
  std::string repeated;
  for (int64_t i = 0; i < copies && static_cast<int64_t>(repeated.size()) < a; ++i) {
    repeated += f;
  }
  return repeated.substr(0, static_cast<size_t>(std::min<int64_t>(a, repeated.size())));
}

std::string NibbleUnscramble(const std::string& blob, const std::string& x, uint32_t mask) {
  if (blob.size() < 8 || x.size() < 4) return {};
  const size_t n = blob.size() - 8;
  const uint32_t trailer = uint32_t{ByteAt(blob, n + 4)} | (uint32_t{ByteAt(blob, n + 5)} << 8) |
                           (uint32_t{ByteAt(blob, n + 6)} << 16) |
                           (uint32_t{ByteAt(blob, n + 7)} << 24);
  const uint32_t m = trailer ^ mask;
  std::string out(n, '\0');
  for (size_t j = 0; j < n; ++j) {
    const uint8_t b = ByteAt(blob, j);
    const uint8_t q = ByteAt(x, j % 4);
    const uint8_t k = static_cast<uint8_t>(m >> (8 * (j % 4)));
    const uint8_t low = (b ^ q) & 15;
    const uint8_t high = ((b >> 4) ^ b ^ q ^ (q >> 4) ^ k) & 15;
    out[j] = static_cast<char>((high << 4) | low);
  }
  return out;
}

void TeaDecipherBlock(uint32_t& y, uint32_t& z, const uint32_t k[4], int cycles) {
  uint32_t sum = kTeaDelta * static_cast<uint32_t>(cycles);
  for (int i = 0; i < cycles; ++i) {
    z -= ((y << 4) + k[2]) ^ (y + sum) ^ ((y >> 5) + k[3]);
    y -= ((z << 4) + k[0]) ^ (z + sum) ^ ((z >> 5) + k[1]);
    sum -= kTeaDelta;
  }
}

bool TeaKeyWords(const std::string& key, uint32_t k[4]) {
  if (key.size() < 16) return false;
  for (int i = 0; i < 4; ++i) k[i] = ReadWordBigEndian(key, 4 * i);
  return true;
}

std::string TeaChainDecipher(const std::string& e, const std::string& key) {
  uint32_t k[4];
  if (!TeaKeyWords(key, k)) return {};
  const size_t n = e.size();
  if (n < 2 * kBlockSize || n % kBlockSize != 0) return {};

  // w(k) = D(w(k-1) XOR e(k)); plaintext block k = w(k) XOR e(k-1).
  std::string plain(n, '\0');
  std::string w(kBlockSize, '\0');
  std::string previousCipher(kBlockSize, '\0');
  for (size_t at = 0; at < n; at += kBlockSize) {
    const std::string cipher = e.substr(at, kBlockSize);
    XorBlock(w, cipher);
    uint32_t y = ReadWordBigEndian(w, 0);
    uint32_t z = ReadWordBigEndian(w, 4);
    TeaDecipherBlock(y, z, k, kRulesTeaCycles);
    WriteWordBigEndian(w, 0, y);
    WriteWordBigEndian(w, 4, z);
    std::string block = w;
    XorBlock(block, previousCipher);
    plain.replace(at, kBlockSize, block);
    previousCipher = cipher;
  }

  // Header byte, p pad bytes, 2 salt bytes, the document, 7 zero bytes.
  const int64_t pad = ByteAt(plain, 0) & 7;
  const int64_t d = static_cast<int64_t>(n) - pad - 10;
  if (d < 0) return {};
  const bool closed = std::all_of(plain.end() - 7, plain.end(), [](char c) { return c == 0; });
  if (!closed) return {};
  return plain.substr(static_cast<size_t>(3 + pad), static_cast<size_t>(d));
}

StageKeys DeriveStageKeys(const std::string& key, const std::string& salt) {
  const std::string s = KeyText(Md5Hex(key), 128);
  return {DerivedBlock(s, s, kDerivedBlockSize, salt),
          DerivedBlock(s, s + salt, kDerivedBlockSize, salt)};
}

std::string DecodeRules(const std::string& blob, const std::string& key,
                        const std::string& salt, uint32_t mask) {
  const StageKeys keys = DeriveStageKeys(key, salt);
  return TeaChainDecipher(NibbleUnscramble(blob, keys.x1, mask), keys.x2);
}

}  // namespace qm
