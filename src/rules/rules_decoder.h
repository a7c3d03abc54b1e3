// Deciphers the rules document carried in the program. Two stages: a per-byte
// nibble transform, then a chained 16-cycle TEA decipherment; their keys come
// from the key block and the salt through MD5 digests and DES encipherments.
// Every operation is pure; every failure is an empty result.
#pragma once

#include <cstdint>
#include <string>

namespace qm {

// The document bytes of `blob` deciphered with the 2048-byte `key`; empty on
// any failure.
std::string RulesDecoder(const std::string& blob, const std::string& key);

// The stages, exposed for tests and for the build-time encoder.
std::string Md5Hex(const std::string& bytes);
std::string KeyText(const std::string& q, int n);
std::string DesFrame(const std::string& x, const std::string& password);
std::string DerivedBlock(const std::string& p, const std::string& q, int64_t a);
std::string NibbleUnscramble(const std::string& blob, const std::string& x);
std::string TeaChainDecipher(const std::string& e, const std::string& key);

// The constants carried in the program.
const std::string& EmbeddedRulesBlob();
const std::string& EmbeddedRulesKey();   // 2048 bytes
const std::string& EmbeddedRulesSalt();  // 512 bytes
uint32_t EmbeddedRulesMask();

}  // namespace qm
