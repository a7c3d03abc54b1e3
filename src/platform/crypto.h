// Thin wrappers over the system's crypto library for the two published
// algorithms the rules decoder builds on. Byte strings in, byte strings out.
#pragma once

#include <string>

namespace qm::crypto {

// The 16-byte MD5 digest (RFC 1321) of `bytes`.
std::string Md5Digest(const std::string& bytes);

// DES (FIPS 46-3) in electronic codebook mode: each 8-byte block of `blocks` is
// enciphered on its own with the 8-byte `key`, in the standard byte order (the
// first byte is the most significant). The low bit of each key byte is parity
// and has no effect; weak keys are accepted. Empty when the key is not 8 bytes
// or the length of `blocks` is not a multiple of 8.
std::string DesEncipherEcb(const std::string& key, const std::string& blocks);

}  // namespace qm::crypto
