// Known answers for the cipher stages: MD5, DES through the bit-reversed key,
// TEA, and the framing and key derivation built on them.
#include "rules/rules_cipher.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/crypto.h"
#include "support/hex.h"
#include "rules_encoder.h"

namespace qm {
namespace {

using testing::FromHex;

std::string ReverseBitsOfEachByte(const std::string& bytes) {
  std::string out = bytes;
  for (char& c : out) {
    unsigned char in = static_cast<unsigned char>(c), reversed = 0;
    for (int bit = 0; bit < 8; ++bit) reversed |= ((in >> bit) & 1) << (7 - bit);
    c = static_cast<char>(reversed);
  }
  return out;
}

TEST(Md5Hex, MatchesTheRfc1321TestSuite) {
  const struct {
    std::string input;
    std::string digest;
  } cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"1234567890123456789012345678901234567890123456789012345678901234567890123456789"
       "0",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& c : cases) EXPECT_EQ(Md5Hex(c.input), c.digest) << '"' << c.input << '"';
}

// Published DES vectors (key, plaintext, ciphertext) hold for the cipher's DES
// only when each key byte is given with its bits reversed.
TEST(DesEncipherBlocks, PublishedVectorsHoldThroughTheBitReversedKey) {
  const struct {
    const char* key;
    const char* plain;
    const char* cipher;
  } vectors[] = {
      {"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
      {"0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815"},
      {"0E329232EA6D0D73", "8787878787878787", "0000000000000000"},
  };
  for (const auto& v : vectors) {
    const std::string key = FromHex(v.key);
    const std::string plain = FromHex(v.plain);
    EXPECT_EQ(DesEncipherBlocks(plain, ReverseBitsOfEachByte(key)), FromHex(v.cipher)) << v.key;
    EXPECT_NE(DesEncipherBlocks(plain, key), FromHex(v.cipher)) << v.key;
  }
}

TEST(DesEncipherBlocks, TopBitOfEachKeyByteHasNoEffect) {
  const std::string k = "\x12\x34\x56\x78\x1a\x2b\x3c\x4d";
  std::string flipped = k;
  for (char& c : flipped) c = static_cast<char>(c ^ 0x80);
  const std::string blocks = "sixteen bytes!!!";
  EXPECT_EQ(DesEncipherBlocks(blocks, flipped), DesEncipherBlocks(blocks, k));
  EXPECT_EQ(DesEncipherBlocks(blocks, k).size(), 16u);
}

TEST(DesFrame, FrameLengths) {
  const struct {
    size_t in;
    size_t out;
  } cases[] = {{0, 0}, {4, 8}, {5, 16}, {640, 648}};
  for (const auto& c : cases) {
    EXPECT_EQ(DesFrame(std::string(c.in, 'x'), "password").size(), c.out) << c.in;
  }
}

// The password folds into 8 key bytes by XOR; the frame is the 32-bit length
// then the bytes.
TEST(DesFrame, FoldsThePasswordAndFramesTheLength) {
  const std::string password = "abcdefghij";
  std::string k = "abcdefgh";
  k[0] ^= 'i';
  k[1] ^= 'j';
  const std::string expected =
      crypto::DesEncipherEcb(ReverseBitsOfEachByte(k), std::string("\x04\0\0\0wxyz", 8));
  EXPECT_EQ(DesFrame("wxyz", password), expected);
}

TEST(KeyText, Joins4And8DigestsWithTheirCounters) {
  const std::string q32(32, 'q');
  EXPECT_EQ(KeyText(q32, 128), Md5Hex("0" + q32) + Md5Hex("42" + q32) + Md5Hex("94" + q32) +
                                   Md5Hex("156" + q32));
  EXPECT_EQ(KeyText("abc", 256), Md5Hex("0abc") + Md5Hex("21abc") + Md5Hex("60abc") +
                                     Md5Hex("117abc") + Md5Hex("192abc") + Md5Hex("285abc") +
                                     Md5Hex("396abc") + Md5Hex("525abc"));
  EXPECT_EQ(KeyText("abc", 40), (Md5Hex("0abc") + Md5Hex("9abc")).substr(0, 40));
}

TEST(DerivedBlock, RepeatsTheFrameToTheAskedLength) {
  const std::string salt(512, 's');
  const std::string p(128, 'p');
  const std::string block512 = DerivedBlock(p, "q", 512, salt);
  const std::string block1024 = DerivedBlock(p, "q", 1024, salt);
  ASSERT_EQ(block512.size(), 512u);
  ASSERT_EQ(block1024.size(), 1024u);
  // The frame of 128 + 512 bytes is 648 bytes long; longer blocks repeat it.
  EXPECT_EQ(block1024.substr(648), block1024.substr(0, 1024 - 648));
  EXPECT_NE(DerivedBlock(p, "q", 512, salt), DerivedBlock(p, "r", 512, salt));
}

TEST(NibbleUnscramble, MixesNibblesWithTheBlockAndTheTrailerWord) {
  // b = 0x5A, q = 0x3C, m0 = 1: low = A^C = 6, high = 5^A^C^3^1 = 1.
  // One data byte, the 4 unread bytes, then the trailer word 1.
  const std::string blob = "\x5A" + std::string(4, '\0') + std::string("\x01\0\0\0", 4);
  const std::string x("\x3C\0\0\0", 4);
  EXPECT_EQ(NibbleUnscramble(blob, x, 0), "\x16");
  // Only the low nibbles of the mask's bytes and the first 4 bytes of x count.
  EXPECT_EQ(NibbleUnscramble(blob, x + "junk", 0xF0F0F0F0u), "\x16");
  EXPECT_EQ(NibbleUnscramble(blob, x, 1), "\x06");
  EXPECT_EQ(NibbleUnscramble("short", x, 0), "");
}

// Published TEA vectors (32 cycles, big-endian words).
TEST(Tea, PublishedVectorsAt32Cycles) {
  const struct {
    const char* key;
    const char* plain;
    const char* cipher;
  } vectors[] = {
      {"00000000000000000000000000000000", "0000000000000000", "41ea3a0a94baa940"},
      {"00000000000000000000000000000000", "0102030405060708", "6a2f9cf3fccf3c55"},
      {"0123456712345678234567893456789A", "0000000000000000", "34e943b0900f5dcb"},
      {"0123456712345678234567893456789A", "0102030405060708", "773dc179878a81c0"},
  };
  for (const auto& v : vectors) {
    uint32_t k[4];
    ASSERT_TRUE(TeaKeyWords(FromHex(v.key), k));
    const std::string plain = FromHex(v.plain), cipher = FromHex(v.cipher);

    uint32_t y = ReadWordBigEndian(cipher, 0), z = ReadWordBigEndian(cipher, 4);
    TeaDecipherBlock(y, z, k, 32);
    EXPECT_EQ(y, ReadWordBigEndian(plain, 0)) << v.cipher;
    EXPECT_EQ(z, ReadWordBigEndian(plain, 4)) << v.cipher;

    y = ReadWordBigEndian(plain, 0), z = ReadWordBigEndian(plain, 4);
    TeaEncipherBlock(y, z, k, 32);
    EXPECT_EQ(y, ReadWordBigEndian(cipher, 0)) << v.plain;
    EXPECT_EQ(z, ReadWordBigEndian(cipher, 4)) << v.plain;
  }
}

TEST(Tea, SixteenCyclesRoundTrip) {
  std::mt19937 random(7);
  auto word = [&random] { return static_cast<uint32_t>(random()); };
  for (int i = 0; i < 100; ++i) {
    const uint32_t k[4] = {word(), word(), word(), word()};
    const uint32_t y0 = word(), z0 = word();
    uint32_t y = y0, z = z0;
    TeaEncipherBlock(y, z, k, 16);
    uint32_t y32 = y0, z32 = z0;
    TeaEncipherBlock(y32, z32, k, 32);
    EXPECT_FALSE(y == y32 && z == z32);
    TeaDecipherBlock(y, z, k, 16);
    EXPECT_EQ(y, y0);
    EXPECT_EQ(z, z0);
  }
}

TEST(TeaChainDecipher, MalformedInputGivesNothing) {
  const std::string key(16, 'k');
  const struct {
    const char* name;
    std::string e;
    std::string key;
  } cases[] = {
      {"key under 16 bytes", std::string(16, 'e'), std::string(15, 'k')},
      {"empty ciphertext", "", key},
      {"length not a multiple of 8", std::string(20, 'e'), key},
      {"a single block", std::string(8, 'e'), key},
  };
  for (const auto& c : cases) EXPECT_EQ(TeaChainDecipher(c.e, c.key), "") << c.name;
}

}  // namespace
}  // namespace qm
