// The build-time rules encoder: makes the blob that the program's RulesDecoder
// turns back into the document, by inverting both cipher stages in reverse
// order. Never linked into the program; the blob generator and tests use it.
//
// A test that needs a blob of its own document for the program's decoder:
//   std::string blob = qm::EncodeRules(document, qm::EmbeddedRulesKey(),
//                                      qm::EmbeddedRulesSalt(), qm::EmbeddedRulesMask());
//   qm::RulesDecoder(blob, qm::EmbeddedRulesKey()) == document
#pragma once

#include <cstdint>
#include <string>

namespace qm {

// The blob of `document` under the key block, salt and mask. The values the
// decoder never reads (the header's high bits, pad and salt bytes, the trailer
// word and the 4 unread bytes) come from a generator seeded with `seed`, so
// one seed always gives the same blob.
std::string EncodeRules(const std::string& document, const std::string& key,
                        const std::string& salt, uint32_t mask, uint64_t seed = 0);

// The number of pad bytes that makes the plaintext of a document of `size`
// bytes a multiple of 8 bytes long.
int PadCount(size_t size);

// The plaintext stream: a header byte (the high 5 bits of `header`, the pad
// count in the low 3), PadCount pad bytes and 2 salt bytes taken from
// `filler` (zeros where it runs short), the document, 7 zero bytes.
std::string RulesPlaintext(const std::string& document, uint8_t header,
                           const std::string& filler);

// The blob of a plaintext stream whose length is a multiple of 8: the chained
// 16-cycle TEA encipherment, then the inverse nibble stage under the trailer
// word, then the 4 bytes the decoder skips (`unread`, little-endian) and the
// trailer word (little-endian). Empty when the length is not a multiple of 8.
std::string EncipherPlaintext(const std::string& plain, const std::string& key,
                              const std::string& salt, uint32_t mask, uint32_t trailer,
                              uint32_t unread);

// TEA encipherment of the block (y, z) with key words k over `cycles` cycles.
void TeaEncipherBlock(uint32_t& y, uint32_t& z, const uint32_t k[4], int cycles);

}  // namespace qm
