#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "fake/fake_platform.h"

namespace fake {

namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts one unit; false when the input is not convertible.
  bool One(const char* in, std::size_t in_len, std::string& out) const {
    char buffer[16];
    char* in_ptr = const_cast<char*>(in);
    char* out_ptr = buffer;
    std::size_t out_left = sizeof buffer;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    const std::size_t r = iconv(cd_, &in_ptr, &in_len, &out_ptr, &out_left);
    if (r == static_cast<std::size_t>(-1) || in_len != 0) return false;
    out.append(buffer, static_cast<std::size_t>(out_ptr - buffer));
    return true;
  }

 private:
  iconv_t cd_;
};

const Converter& ToCp932() {
  static const Converter c("CP932", "UTF-16LE");
  return c;
}
const Converter& FromCp932() {
  static const Converter c("UTF-16LE", "CP932");
  return c;
}

bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

void AppendUtf16(std::u16string& out, const std::string& le_bytes) {
  for (std::size_t i = 0; i + 1 < le_bytes.size(); i += 2) {
    out += static_cast<char16_t>(static_cast<unsigned char>(le_bytes[i]) |
                                 (static_cast<unsigned char>(le_bytes[i + 1]) << 8));
  }
}

}  // namespace

std::string Cp932Codec::ToAnsi(std::u16string_view text) const {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    char le[4] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8), 0, 0};
    // Each half of a surrogate pair becomes its own "?", as the system does.
    if (!ToCp932().One(le, 2, out)) out += '?';
  }
  return out;
}

std::u16string Cp932Codec::FromAnsi(std::string_view bytes) const {
  std::u16string out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out += static_cast<char16_t>(b);
      continue;
    }
    std::string le;
    if (IsLeadByte(b) && i + 1 < bytes.size() && FromCp932().One(bytes.data() + i, 2, le)) {
      AppendUtf16(out, le);
      ++i;
    } else if (!IsLeadByte(b) && FromCp932().One(bytes.data() + i, 1, le)) {
      AppendUtf16(out, le);
    } else {
      out += u'\u30FB';
    }
  }
  return out;
}

std::string Utf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::u16string Utf16(std::string_view utf8) {
  std::u16string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    std::uint32_t c = b;
    std::size_t extra = 0;
    if (b >= 0xF0) {
      c = b & 0x07, extra = 3;
    } else if (b >= 0xE0) {
      c = b & 0x0F, extra = 2;
    } else if (b >= 0xC0) {
      c = b & 0x1F, extra = 1;
    }
    ++i;
    for (; extra > 0 && i < utf8.size(); --extra, ++i) {
      c = (c << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
    }
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

std::string Sjis(std::string_view utf8) {
  return Cp932Codec().ToAnsi(Utf16(utf8));
}

}  // namespace fake
