#include "rules/rules_decoder.h"

namespace qm {

std::string RulesDecoder(const std::string& blob, const std::string& key) {
  return DecodeRules(blob, key, EmbeddedRulesSalt(), EmbeddedRulesMask());
}

std::string DerivedBlock(const std::string& p, const std::string& q, int64_t a) {
  return DerivedBlock(p, q, a, EmbeddedRulesSalt());
}

std::string NibbleUnscramble(const std::string& blob, const std::string& x) {
  return NibbleUnscramble(blob, x, EmbeddedRulesMask());
}

}  // namespace qm
