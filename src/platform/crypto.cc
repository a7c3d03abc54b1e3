#include "platform/crypto.h"

#include <nettle/des.h>
#include <nettle/md5.h>

#include <cstdint>

namespace qm::crypto {

namespace {

const uint8_t* Bytes(const std::string& text) {
  return reinterpret_cast<const uint8_t*>(text.data());
}

uint8_t* Bytes(std::string& text) { return reinterpret_cast<uint8_t*>(text.data()); }

}  // namespace

std::string Md5Digest(const std::string& bytes) {
  md5_ctx context;
  md5_init(&context);
  md5_update(&context, bytes.size(), Bytes(bytes));
  std::string digest(MD5_DIGEST_SIZE, '\0');
  md5_digest(&context, digest.size(), Bytes(digest));
  return digest;
}

std::string DesEncipherEcb(const std::string& key, const std::string& blocks) {
  if (key.size() != DES_KEY_SIZE || blocks.size() % DES_BLOCK_SIZE != 0) return {};
  // DES ignores the parity bits; setting them keeps the key schedule the same
  // whatever the library version thinks of parity. The result of des_set_key
  // only tells weak keys apart, which are valid keys all the same.
  std::string fixedKey(DES_KEY_SIZE, '\0');
  des_fix_parity(DES_KEY_SIZE, Bytes(fixedKey), Bytes(key));
  des_ctx context;
  des_set_key(&context, Bytes(fixedKey));
  std::string out(blocks.size(), '\0');
  des_encrypt(&context, blocks.size(), Bytes(out), Bytes(blocks));
  return out;
}

}  // namespace qm::crypto
