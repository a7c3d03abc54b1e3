#include "platform/script_host.h"

#include <duktape.h>
#include <strings.h>

#include <charconv>
#include <csetjmp>
#include <cmath>
#include <cstddef>
#include <cstdlib>

namespace qm {
namespace {

constexpr char kProgId[] = "MSScriptControl.ScriptControl";
constexpr size_t kHeapCap = size_t{256} << 20;

thread_local int t_comCount = 0;
thread_local bool t_failCreation = false;

// ---- A capped allocator: each block carries its size, so the heap's total is
// known and a runaway string fails with "alloc failed" instead of eating memory.

struct HeapBudget {
  size_t used = 0;
};

struct alignas(std::max_align_t) BlockHeader {
  size_t size;
};

void* Allocate(void* udata, duk_size_t size) {
  auto* budget = static_cast<HeapBudget*>(udata);
  if (size > kHeapCap - budget->used) return nullptr;
  auto* block = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + size));
  if (block == nullptr) return nullptr;
  block->size = size;
  budget->used += size;
  return block + 1;
}

void Free(void* udata, void* ptr) {
  if (ptr == nullptr) return;
  BlockHeader* block = static_cast<BlockHeader*>(ptr) - 1;
  static_cast<HeapBudget*>(udata)->used -= block->size;
  std::free(block);
}

void* Reallocate(void* udata, void* ptr, duk_size_t size) {
  if (ptr == nullptr) return Allocate(udata, size);
  if (size == 0) {
    Free(udata, ptr);
    return nullptr;
  }
  auto* budget = static_cast<HeapBudget*>(udata);
  BlockHeader* block = static_cast<BlockHeader*>(ptr) - 1;
  if (size > block->size && size - block->size > kHeapCap - budget->used) return nullptr;
  auto* grown = static_cast<BlockHeader*>(std::realloc(block, sizeof(BlockHeader) + size));
  if (grown == nullptr) return nullptr;
  budget->used = budget->used - grown->size + size;
  grown->size = size;
  return grown + 1;
}

// ---- Fatal errors. Duktape calls abort() when its fatal handler returns, so
// ours jumps back to the host call that is running on this thread; that heap
// is then never touched again.

thread_local std::jmp_buf* t_fatalTarget = nullptr;

[[noreturn]] void OnFatal(void*, const char*) {
  if (t_fatalTarget != nullptr) std::longjmp(*t_fatalTarget, 1);
  std::abort();  // a fatal error outside any host call: nothing to return to
}

// Runs `step` so that a fatal engine error returns false instead of ending the
// process. `step` may hold no object with a destructor while it calls Duktape:
// the jump passes over its frame.
template <typename Step>
bool SurvivesFatal(Step&& step) {
  std::jmp_buf target;
  std::jmp_buf* outer = t_fatalTarget;
  t_fatalTarget = &target;
  volatile bool survived = false;
  if (setjmp(target) == 0) {
    step();
    survived = true;
  }
  t_fatalTarget = outer;
  return survived;
}

// ---- Conversions by the automation rules.

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A decimal number with optional blanks around it and an optional sign.
bool ParseNumericText(const char* text, size_t length, double* number) {
  const char* begin = text;
  const char* end = text + length;
  while (begin < end && IsBlank(*begin)) ++begin;
  while (end > begin && IsBlank(end[-1])) --end;
  bool negative = begin < end && *begin == '-';
  if (begin < end && (*begin == '+' || *begin == '-')) ++begin;
  // from_chars would also take "inf" and "nan", which are not numeric texts.
  if (begin == end || !((*begin >= '0' && *begin <= '9') || *begin == '.')) return false;
  double value = 0;
  auto [stop, error] = std::from_chars(begin, end, value);
  if (error != std::errc() || stop != end) return false;
  *number = negative ? -value : value;
  return true;
}

bool ParseBooleanWord(const char* text, size_t length, bool* truth) {
  const char* begin = text;
  const char* end = text + length;
  while (begin < end && IsBlank(*begin)) ++begin;
  while (end > begin && IsBlank(end[-1])) --end;
  size_t n = static_cast<size_t>(end - begin);
  if (n == 4 && strncasecmp(begin, "true", 4) == 0) {
    *truth = true;
    return true;
  }
  if (n == 5 && strncasecmp(begin, "false", 5) == 0) {
    *truth = false;
    return true;
  }
  return false;
}

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Decodes the sequence of `length` bytes (2 to 4) at `at`; -1 when it is not
// one well-formed sequence of that length. Surrogates are let through: the
// engine writes them as three-byte sequences.
int32_t DecodeSequence(const unsigned char* at, size_t available, size_t length) {
  static constexpr uint32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
  if (length > available) return -1;
  uint32_t code = at[0] & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((at[i] & 0xC0) != 0x80) return -1;
    code = (code << 6) | (at[i] & 0x3F);
  }
  if (code < kMinimum[length] || code > 0x10FFFF) return -1;
  return static_cast<int32_t>(code);
}

size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// The engine's strings are CESU-8: a character above U+FFFF is a pair of
// three-byte surrogates, and a lone surrogate may occur. The program gets
// strict UTF-8, with U+FFFD for anything that is not a character.
std::string ToStrictUtf8(const char* text, size_t size) {
  constexpr uint32_t kReplacement = 0xFFFD;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  std::string out;
  out.reserve(size);
  size_t at = 0;
  while (at < size) {
    if (bytes[at] < 0x80) {
      out += static_cast<char>(bytes[at++]);
      continue;
    }
    size_t length = SequenceLength(bytes[at]);
    int32_t code = length == 0 ? -1 : DecodeSequence(bytes + at, size - at, length);
    if (code < 0) {
      AppendUtf8(out, kReplacement);
      ++at;
      continue;
    }
    if (code >= 0xD800 && code <= 0xDBFF && at + 6 <= size && SequenceLength(bytes[at + 3]) == 3) {
      int32_t low = DecodeSequence(bytes + at + 3, size - at - 3, 3);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00));
        at += 6;
        continue;
      }
    }
    AppendUtf8(out, code >= 0xD800 && code <= 0xDFFF ? kReplacement : static_cast<uint32_t>(code));
    at += length;
  }
  return out;
}

// ---- One evaluation: compile, call and convert inside one protected call.

enum class Want { kNothing, kText, kNumber, kBool };

struct Request {
  const std::string* code;
  Want want;
  double number = 0;
  bool truth = false;
};

// Runs under duk_safe_call, with one result slot: the text result when one is
// wanted, else nothing. Holds no object with a destructor (see SurvivesFatal).
duk_ret_t RunRequest(duk_context* ctx, void* udata) {
  auto* request = static_cast<Request*>(udata);
  if (duk_pcompile_lstring(ctx, 0, request->code->data(), request->code->size()) != 0) {
    return DUK_RET_ERROR;
  }
  if (duk_pcall(ctx, 0) != DUK_EXEC_SUCCESS) return DUK_RET_ERROR;

  duk_size_t length = 0;
  const char* text = nullptr;
  switch (request->want) {
    case Want::kNothing:
      return 0;
    case Want::kText:
      if (duk_is_null_or_undefined(ctx, -1)) return 0;
      duk_to_string(ctx, -1);
      return 1;
    case Want::kNumber:
      if (duk_is_number(ctx, -1)) {
        request->number = duk_get_number(ctx, -1);
      } else if (duk_is_boolean(ctx, -1)) {
        request->number = duk_get_boolean(ctx, -1) ? -1 : 0;
      } else if ((text = duk_get_lstring(ctx, -1, &length)) != nullptr) {
        ParseNumericText(text, length, &request->number);
      }
      return 0;
    case Want::kBool:
      if (duk_is_boolean(ctx, -1)) {
        request->truth = duk_get_boolean(ctx, -1);
      } else if (duk_is_number(ctx, -1)) {
        double number = duk_get_number(ctx, -1);
        request->truth = number != 0 && !std::isnan(number);
      } else if ((text = duk_get_lstring(ctx, -1, &length)) != nullptr) {
        double number = 0;
        if (!ParseBooleanWord(text, length, &request->truth) &&
            ParseNumericText(text, length, &number)) {
          request->truth = number != 0;
        }
      }
      return 0;
  }
  return 0;
}

class DuktapeHost final : public ScriptHost {
 public:
  DuktapeHost() {
    SurvivesFatal([this] {
      context_ = duk_create_heap(Allocate, Reallocate, Free, &budget_, OnFatal);
    });
  }

  ~DuktapeHost() override {
    // A heap that met a fatal error is in no state to be walked: it is left.
    if (context_ == nullptr || broken_) return;
    SurvivesFatal([this] { duk_destroy_heap(context_); });
  }

  bool Started() const { return context_ != nullptr; }

  bool SetProperty(const std::string& name, const std::string& value) override {
    if (name != "Language" || value != "JavaScript") return false;
    languageSet_ = true;
    return true;
  }

  bool AddCode(const std::string& code) override {
    Request request{&code, Want::kNothing};
    return Run(request, nullptr);
  }

  std::string EvalText(const std::string& code) override {
    Request request{&code, Want::kText};
    std::string text;
    Run(request, &text);
    return text;
  }

  double EvalNumber(const std::string& code) override {
    Request request{&code, Want::kNumber};
    return Run(request, nullptr) ? request.number : 0;
  }

  bool EvalBool(const std::string& code) override {
    Request request{&code, Want::kBool};
    return Run(request, nullptr) && request.truth;
  }

 private:
  // Runs the request; on success a wanted text is copied out as UTF-8.
  bool Run(Request& request, std::string* text) {
    if (context_ == nullptr || broken_ || !languageSet_) return false;
    bool succeeded = false;
    bool survived = SurvivesFatal([&] {
      succeeded = duk_safe_call(context_, RunRequest, &request, 0, 1) == DUK_EXEC_SUCCESS;
      if (succeeded && text != nullptr) {
        duk_size_t length = 0;
        const char* result = duk_get_lstring(context_, -1, &length);
        if (result != nullptr) *text = ToStrictUtf8(result, length);
      }
      duk_pop(context_);
    });
    if (!survived) {
      broken_ = true;
      return false;
    }
    return succeeded;
  }

  HeapBudget budget_;
  duk_context* context_ = nullptr;
  bool languageSet_ = false;
  bool broken_ = false;
};

}  // namespace

std::shared_ptr<ScriptHost> ScriptHost::Create(const std::string& progId) {
  if (progId != kProgId || t_failCreation) return nullptr;
  auto host = std::make_shared<DuktapeHost>();
  if (!host->Started()) return nullptr;
  return host;
}

void ScriptHost::FailCreationForTesting(bool fail) { t_failCreation = fail; }

void ComInitialize() { ++t_comCount; }

void ComUninitialize() { --t_comCount; }

int ComInitializeCount() { return t_comCount; }

}  // namespace qm
