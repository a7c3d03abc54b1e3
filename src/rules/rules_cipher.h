// The stages of the rules cipher with every constant passed in, so that the
// program's decoder (which uses the constants it carries) and the build-time
// encoder (which makes the blob from the same constants) share one copy.
// Every operation is pure; every failure is an empty result.
#pragma once

#include <cstdint>
#include <string>

namespace qm {

// TEA's round constant, and the number of cycles the rules cipher runs.
inline constexpr uint32_t kTeaDelta = 0x9E3779B9u;
inline constexpr int kRulesTeaCycles = 16;

// Byte helpers shared with the encoder. The big-endian 32-bit word at byte
// offset `at`, and its writing back; `width` bytes of a number, least
// significant first; the first 8 bytes of `block` XORed with those of `with`.
uint32_t ReadWordBigEndian(const std::string& bytes, size_t at);
void WriteWordBigEndian(std::string& bytes, size_t at, uint32_t word);
std::string LittleEndian(uint64_t value, int width);
void XorBlock(std::string& block, const std::string& with);

// The MD5 digest of `bytes` as 32 lowercase hexadecimal digits.
std::string Md5Hex(const std::string& bytes);

// n characters made of joined Md5Hex digests of q, each prefixed with a
// decimal counter text ("0" for the first).
std::string KeyText(const std::string& q, int n);

// DES of 8-byte blocks (a multiple of 8 bytes) under the 8-byte key k with the
// bits of each key byte reversed, so the top bit of each k byte is a parity bit.
std::string DesEncipherBlocks(const std::string& blocks, const std::string& k);

// x framed (32-bit little-endian length, x, zero pad to a multiple of 8) and
// enciphered with a DES key folded from the password. Empty for an empty x.
std::string DesFrame(const std::string& x, const std::string& password);

// a bytes derived from p and q through KeyText and DesFrame, salted with `salt`.
std::string DerivedBlock(const std::string& p, const std::string& q, int64_t a,
                         const std::string& salt);

// The nibble stage: the L - 8 leading bytes of the blob with each nibble
// unmixed by the derived block x and the blob's trailer word XOR `mask`.
// Empty when the blob has fewer than 8 bytes or x fewer than 4.
std::string NibbleUnscramble(const std::string& blob, const std::string& x,
                             uint32_t mask);

// TEA decipherment of the block (y, z) with key words k over `cycles` cycles
// (the rules cipher uses 16; TEA as published uses 32).
void TeaDecipherBlock(uint32_t& y, uint32_t& z, const uint32_t k[4], int cycles);

// The first 16 bytes of `key` as four big-endian key words; false when shorter.
bool TeaKeyWords(const std::string& key, uint32_t k[4]);

// The document bytes of the chained 16-cycle TEA ciphertext e, checked by
// its seven closing zero bytes; empty on any failure.
std::string TeaChainDecipher(const std::string& e, const std::string& key);

// The two derived blocks of the cipher: x1 keys the nibble stage, x2 the TEA
// stage.
struct StageKeys {
  std::string x1;
  std::string x2;
};
StageKeys DeriveStageKeys(const std::string& key, const std::string& salt);

// The whole decoding with the given constants: the document bytes or empty.
std::string DecodeRules(const std::string& blob, const std::string& key,
                        const std::string& salt, uint32_t mask);

}  // namespace qm
