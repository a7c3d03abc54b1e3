// Round trips through the build-time encoder and the decoder, and what the
// decoder must ignore or refuse in a blob.
#include "rules_encoder.h"

#include <gtest/gtest.h>

#include <random>

#include "rules/rules_decoder.h"

namespace qm {
namespace {

struct Material {
  std::string key;
  std::string salt;
  uint32_t mask;
};

std::string RandomBytes(std::mt19937& random, size_t size) {
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

Material RandomMaterial(std::mt19937& random) {
  return {RandomBytes(random, 2048), RandomBytes(random, 512), static_cast<uint32_t>(random())};
}

TEST(RulesEncoder, RandomDocumentsOfManyLengthsComeBack) {
  std::mt19937 random(11);
  std::vector<size_t> lengths;
  for (size_t n = 1; n <= 64; ++n) lengths.push_back(n);
  for (size_t n : {100, 255, 1000, 4592, 65537}) lengths.push_back(n);
  for (size_t n : lengths) {
    const Material m = RandomMaterial(random);
    const std::string document = RandomBytes(random, n);
    const std::string blob = EncodeRules(document, m.key, m.salt, m.mask, random());
    // Header, pad and salt, 7 closing bytes, then the unread word and the trailer.
    EXPECT_EQ(blob.size(), n + PadCount(n) + 10 + 8) << n;
    EXPECT_EQ((blob.size() - 8) % 8, 0u) << n;
    EXPECT_EQ(DecodeRules(blob, m.key, m.salt, m.mask), document) << n;
  }
}

TEST(RulesEncoder, ProgramConstantsRoundTripAndOtherKeysFail) {
  const std::string document = R"({"Type":[{"k":[{"about":"","g":[]}]}]})";
  const std::string& key = EmbeddedRulesKey();
  const std::string blob =
      EncodeRules(document, key, EmbeddedRulesSalt(), EmbeddedRulesMask(), 5);
  EXPECT_EQ(RulesDecoder(blob, key), document);

  std::string otherKey = key;
  otherKey[100] ^= 1;
  EXPECT_EQ(RulesDecoder(blob, otherKey), "");
  EXPECT_EQ(DecodeRules(blob, key, EmbeddedRulesSalt(), EmbeddedRulesMask() ^ 0x01), "");
}

TEST(RulesEncoder, SeedsChangeTheBlobButNotTheDocument) {
  const std::string document = "the same document";
  const std::string salt(512, 's');
  const std::string a = EncodeRules(document, "key", salt, 1, 1);
  const std::string b = EncodeRules(document, "key", salt, 1, 2);
  EXPECT_NE(a, b);
  EXPECT_EQ(a, EncodeRules(document, "key", salt, 1, 1));
  EXPECT_EQ(DecodeRules(a, "key", salt, 1), document);
  EXPECT_EQ(DecodeRules(b, "key", salt, 1), document);
}

class BlobLayout : public ::testing::Test {
 protected:
  // 9 bytes of document leave 5 pad bytes: n = 1 + 5 + 2 + 9 + 7 = 24.
  const std::string document = "nine byte";
  const std::string key = std::string(2048, 'K');
  const std::string salt = std::string(512, 'S');
  const uint32_t mask = 0x12345678u;

  std::string Plain() const { return RulesPlaintext(document, 0x00, "PPPPPss"); }
  std::string Decode(const std::string& plain) const {
    return DecodeRules(EncipherPlaintext(plain, key, salt, mask, 0xCAFEF00Du, 0), key, salt, mask);
  }
};

TEST_F(BlobLayout, PlaintextHoldsHeaderPadSaltDocumentAndClosingZeros) {
  ASSERT_EQ(PadCount(document.size()), 5);
  const std::string plain = Plain();
  EXPECT_EQ(plain, std::string("\x05PPPPPss", 8) + document + std::string(7, '\0'));
  EXPECT_EQ(Decode(plain), document);
}

TEST_F(BlobLayout, UnreadPlaintextBytesChangeNothing) {
  const struct {
    const char* name;
    size_t at;
    unsigned char xorWith;
  } changes[] = {
      {"header high bits", 0, 0xF8}, {"first pad byte", 1, 0xFF}, {"last pad byte", 5, 0x01},
      {"first salt byte", 6, 0x80},  {"second salt byte", 7, 0x3C},
  };
  for (const auto& c : changes) {
    std::string plain = Plain();
    plain[c.at] = static_cast<char>(plain[c.at] ^ c.xorWith);
    EXPECT_EQ(Decode(plain), document) << c.name;
  }
}

TEST_F(BlobLayout, AnyNonZeroClosingByteRefusesTheBlob) {
  for (size_t i = 1; i <= 7; ++i) {
    std::string plain = Plain();
    plain[plain.size() - i] = static_cast<char>(1 << (i % 8));
    EXPECT_EQ(Decode(plain), "") << "closing byte " << 8 - i;
  }
}

TEST_F(BlobLayout, TheFourUnreadTrailerBytesChangeNothing) {
  const std::string blob = EncodeRules(document, key, salt, mask, 3);
  for (size_t at = blob.size() - 8; at < blob.size() - 4; ++at) {
    std::string changed = blob;
    changed[at] = static_cast<char>(changed[at] ^ 0xA5);
    EXPECT_EQ(DecodeRules(changed, key, salt, mask), document) << at;
  }
}

TEST_F(BlobLayout, TooShortOrOverPaddedBlobsGiveNothing) {
  EXPECT_EQ(DecodeRules(std::string(16, 'b'), key, salt, mask), "");
  EXPECT_EQ(DecodeRules(EncodeRules("", key, salt, mask).substr(0, 16), key, salt, mask), "");
  EXPECT_EQ(DecodeRules("", key, salt, mask), "");
  // 16 plaintext bytes whose pad count 7 leaves no room: d = 16 - 7 - 10 < 0.
  EXPECT_EQ(Decode(std::string("\x07", 1) + std::string(15, '\0')), "");
}

TEST_F(BlobLayout, DecodingTwiceGivesIdenticalBytes) {
  const std::string blob = EncodeRules(document, key, salt, mask, 9);
  const std::string first = DecodeRules(blob, key, salt, mask);
  EXPECT_EQ(first, document);
  EXPECT_EQ(DecodeRules(blob, key, salt, mask), first);
}

}  // namespace
}  // namespace qm
