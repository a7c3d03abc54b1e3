// Deciphers the rules document carried in the program. Two stages: a per-byte
// nibble transform, then a chained 16-cycle TEA decipherment; their keys come
// from the key block and the salt through MD5 digests and DES encipherments
// (the stages themselves are in rules_cipher.h). Every operation is pure;
// every failure is an empty result.
#pragma once

#include <cstdint>
#include <string>

#include "rules/rules_cipher.h"

namespace qm {

// The document bytes of `blob` deciphered with the 2048-byte `key` and the
// program's salt and mask; empty on any failure.
std::string RulesDecoder(const std::string& blob, const std::string& key);

// The stages that take the program's salt or mask.
std::string DerivedBlock(const std::string& p, const std::string& q, int64_t a);
std::string NibbleUnscramble(const std::string& blob, const std::string& x);

// The constants carried in the program.
const std::string& EmbeddedRulesBlob();
const std::string& EmbeddedRulesKey();   // 2048 bytes
const std::string& EmbeddedRulesSalt();  // 512 bytes
uint32_t EmbeddedRulesMask();

}  // namespace qm
