// Texts the runtime turns into numbers and dates (settings fields, stored
// cells, quote cells): every conversion ends without a fault, raising only
// its own errors; a number's round-trip text reads back as the same number,
// and a date read from any text survives the stored form.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/db/value.h"
#include "platform/runtime/conversions.h"
#include "platform/runtime/date.h"
#include "platform/runtime/error.h"
#include "platform/runtime/number_text.h"
#include "platform/runtime/price_text.h"

namespace {

template <typename Conversion>
void Try(Conversion conversion) {
  try {
    conversion();
  } catch (const rt::Error&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  double value = rt::Val(text);
  rt::FormatNumber(value);
  if (rt::Val(rt::FormatRoundTrip(value)) != value) std::abort();
  rt::IsNumeric(text);
  Try([&] { rt::LeadingInteger(text); });
  Try([&] { rt::CDbl(text); });
  Try([&] { rt::CSng(text); });
  Try([&] { rt::CInt(text); });
  Try([&] { rt::CLng(text); });
  Try([&] { rt::CDate(text); });
  rt::PriceText price(text);
  price.Value();

  if (std::optional<rt::Date> date = rt::ParseDate(text)) {
    rt::FormatDate(*date);
    std::optional<rt::Date> stored = db::ParseStoredDate(rt::FormatIso(*date));
    if (!stored || !(*stored == *date)) std::abort();
  }
  db::ParseStoredDate(text);
  return 0;
}
