#include "rules_encoder.h"

#include <random>

#include "rules/rules_cipher.h"

namespace qm {

namespace {

constexpr size_t kBlockSize = 8;

// Inverse of the decoder's chain: x(k) = plain(k) XOR e(k-1) and
// e(k) = E(x(k)) XOR x(k-1), with x(-1) and e(-1) zero blocks.
std::string TeaChainEncipher(const std::string& plain, const uint32_t k[4]) {
  std::string cipher(plain.size(), '\0');
  std::string previousX(kBlockSize, '\0');
  std::string previousCipher(kBlockSize, '\0');
  for (size_t at = 0; at < plain.size(); at += kBlockSize) {
    std::string x = plain.substr(at, kBlockSize);
    XorBlock(x, previousCipher);
    uint32_t y = ReadWordBigEndian(x, 0);
    uint32_t z = ReadWordBigEndian(x, 4);
    TeaEncipherBlock(y, z, k, kRulesTeaCycles);
    std::string block(kBlockSize, '\0');
    WriteWordBigEndian(block, 0, y);
    WriteWordBigEndian(block, 4, z);
    XorBlock(block, previousX);
    cipher.replace(at, kBlockSize, block);
    previousX = x;
    previousCipher = block;
  }
  return cipher;
}

// Inverse of the nibble stage: bl = ol XOR ql, bh = oh XOR ol XOR qh XOR kl.
std::string NibbleScramble(const std::string& e, const std::string& x, uint32_t m) {
  std::string out(e.size(), '\0');
  for (size_t j = 0; j < e.size(); ++j) {
    const uint8_t o = static_cast<uint8_t>(e[j]);
    const uint8_t q = static_cast<uint8_t>(x[j % 4]);
    const uint8_t k = static_cast<uint8_t>(m >> (8 * (j % 4)));
    const uint8_t low = (o ^ q) & 15;
    const uint8_t high = ((o >> 4) ^ o ^ (q >> 4) ^ k) & 15;
    out[j] = static_cast<char>((high << 4) | low);
  }
  return out;
}

}  // namespace

void TeaEncipherBlock(uint32_t& y, uint32_t& z, const uint32_t k[4], int cycles) {
  uint32_t sum = 0;
  for (int i = 0; i < cycles; ++i) {
    sum += kTeaDelta;
    y += ((z << 4) + k[0]) ^ (z + sum) ^ ((z >> 5) + k[1]);
    z += ((y << 4) + k[2]) ^ (y + sum) ^ ((y >> 5) + k[3]);
  }
}

int PadCount(size_t size) { return static_cast<int>((8 - (size + 10) % 8) % 8); }

std::string RulesPlaintext(const std::string& document, uint8_t header,
                           const std::string& filler) {
  const int pad = PadCount(document.size());
  std::string padAndSalt = filler.substr(0, pad + 2);
  padAndSalt.resize(pad + 2, '\0');
  const char first = static_cast<char>((header & ~7) | pad);
  return std::string(1, first) + padAndSalt + document + std::string(7, '\0');
}

std::string EncipherPlaintext(const std::string& plain, const std::string& key,
                              const std::string& salt, uint32_t mask, uint32_t trailer,
                              uint32_t unread) {
  if (plain.size() % kBlockSize != 0) return {};
  const StageKeys keys = DeriveStageKeys(key, salt);
  uint32_t k[4];
  if (!TeaKeyWords(keys.x2, k) || keys.x1.size() < 4) return {};
  return NibbleScramble(TeaChainEncipher(plain, k), keys.x1, trailer ^ mask) +
         LittleEndian(unread, 4) + LittleEndian(trailer, 4);
}

std::string EncodeRules(const std::string& document, const std::string& key,
                        const std::string& salt, uint32_t mask, uint64_t seed) {
  std::mt19937_64 random(seed);
  std::uniform_int_distribution<uint32_t> word;
  std::string filler;
  for (int i = 0; i < 9; ++i) filler += static_cast<char>(word(random));
  const uint8_t header = static_cast<uint8_t>(word(random));
  const uint32_t trailer = word(random);
  const uint32_t unread = word(random);
  return EncipherPlaintext(RulesPlaintext(document, header, filler), key, salt, mask, trailer,
                           unread);
}

}  // namespace qm
