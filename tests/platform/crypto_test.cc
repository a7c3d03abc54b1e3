// The crypto wrappers against published answers.
#include "platform/crypto.h"

#include <gtest/gtest.h>

#include "support/hex.h"

namespace qm::crypto {
namespace {

using testing::FromHex;

TEST(Md5Digest, GivesTheSixteenDigestBytes) {
  EXPECT_EQ(Md5Digest("abc"), FromHex("900150983cd24fb0d6963f7d28e17f72"));
  EXPECT_EQ(Md5Digest(std::string("\0", 1)), FromHex("93b885adfe0da089cdf634904fd59f71"));
}

TEST(DesEncipherEcb, PublishedVectorsBlockByBlock) {
  // FIPS 81 and textbook vectors; two blocks enciphered independently.
  EXPECT_EQ(DesEncipherEcb(FromHex("133457799BBCDFF1"), FromHex("0123456789ABCDEF")),
            FromHex("85E813540F0AB405"));
  EXPECT_EQ(DesEncipherEcb(FromHex("0123456789ABCDEF"), "Now is the time for all "),
            FromHex("3FA40E8A984D48156A271787AB8883F9893D51EC4B563B53"));
}

TEST(DesEncipherEcb, ParityBitsAndWeakKeysAreAccepted) {
  const std::string plain = FromHex("0123456789ABCDEF");
  // 0x13 ^ 1, 0x34 ^ 1, ...: every parity bit flipped.
  std::string flipped = FromHex("133457799BBCDFF1");
  for (char& c : flipped) c = static_cast<char>(c ^ 1);
  EXPECT_EQ(DesEncipherEcb(flipped, plain), FromHex("85E813540F0AB405"));
  // The all-zero key is weak, yet a key like any other.
  EXPECT_EQ(DesEncipherEcb(std::string(8, '\0'), std::string(8, '\0')),
            FromHex("8CA64DE9C1B123A7"));
}

TEST(DesEncipherEcb, WrongSizesGiveNothing) {
  EXPECT_EQ(DesEncipherEcb("short", std::string(8, 'p')), "");
  EXPECT_EQ(DesEncipherEcb(std::string(8, 'k'), "seven b"), "");
}

}  // namespace
}  // namespace qm::crypto
