#pragma once
// A fixed six-character price text: a value is stored left-aligned, cut to
// its first six characters or padded with blanks; a text nothing has written
// holds six NUL characters. Readers convert it back with Val; two readers
// compare the texts themselves, by character code.
#include <array>
#include <compare>
#include <string>
#include <string_view>

namespace rt {

class PriceText {
 public:
  static constexpr size_t kWidth = 6;

  PriceText() = default;
  explicit PriceText(std::string_view text) { Assign(text); }
  explicit PriceText(double value) { Assign(value); }

  void Assign(std::string_view text);
  void Assign(double value);  // the number's default text form, then cut or padded

  // True when the six characters keep every character before the text's
  // decimal point, so that cutting drops decimals only: "123.4567" keeps its
  // value to two decimals, while "1234567" would read as 123456.
  static bool KeepsWholePart(std::string_view text);

  std::string Text() const { return std::string(chars_.data(), kWidth); }  // all six characters
  std::string Trimmed() const;                                             // without the padding blanks or NULs
  double Value() const;                                                    // Val of the text
  bool IsBlank() const;                                                    // never written

  friend bool operator==(const PriceText& a, const PriceText& b) = default;
  friend std::strong_ordering operator<=>(const PriceText& a, const PriceText& b) {
    for (size_t i = 0; i < kWidth; ++i) {
      auto ca = static_cast<unsigned char>(a.chars_[i]);
      auto cb = static_cast<unsigned char>(b.chars_[i]);
      if (ca != cb) return ca <=> cb;
    }
    return std::strong_ordering::equal;
  }

 private:
  std::array<char, kWidth> chars_{};
};

}  // namespace rt
