// printf on UTF-16 texts, and the conversions between UTF-16 and UTF-8.
#include <cstdarg>
#include <cstdio>
#include <string>

#include "media/media.h"

static constexpr size_t FormatLimit = 2047;  // the game's format buffer holds 2048 units with the zero

static void AppendAscii(std::u16string* out, const std::string& text) {
  for (char c : text) out->push_back(static_cast<unsigned char>(c));
}

// A number through the C library's printf with the conversion spec as written.
template <typename T>
static void AppendNumber(std::u16string* out, const std::string& spec, T value) {
  char small[128];
  int length = std::snprintf(small, sizeof small, spec.c_str(), value);
  if (length < 0) return;
  if (static_cast<size_t>(length) < sizeof small) {
    AppendAscii(out, std::string(small, length));
    return;
  }
  std::string big(static_cast<size_t>(length) + 1, '\0');
  std::snprintf(big.data(), big.size(), spec.c_str(), value);
  big.resize(length);
  AppendAscii(out, big);
}

static void AppendPadded(std::u16string* out, const std::u16string& text, int width, bool left) {
  size_t pad = width > 0 && static_cast<size_t>(width) > text.size() ? width - text.size() : 0;
  if (!left) out->append(pad, u' ');
  out->append(text);
  if (left) out->append(pad, u' ');
}

std::u16string FormatText(const char16_t* format, va_list args) {
  std::u16string out;
  if (format == nullptr) return out;
  va_list ap;
  va_copy(ap, args);
  const char16_t* p = format;
  while (*p != 0 && out.size() <= FormatLimit) {
    if (*p != u'%') {
      out.push_back(*p++);
      continue;
    }
    const char16_t* start = p++;
    if (*p == u'%') {
      out.push_back(u'%');
      ++p;
      continue;
    }
    std::string spec = "%";
    bool left = false;
    while (*p == u'-' || *p == u'+' || *p == u' ' || *p == u'#' || *p == u'0') {
      if (*p == u'-') left = true;
      spec += static_cast<char>(*p++);
    }
    int width = -1, precision = -1;
    if (*p == u'*') {
      width = va_arg(ap, int);
      if (width < 0) {
        left = true;
        width = -width;
      }
      ++p;
    } else {
      while (*p >= u'0' && *p <= u'9') width = (width < 0 ? 0 : width) * 10 + (*p++ - u'0');
    }
    if (*p == u'.') {
      ++p;
      precision = 0;
      if (*p == u'*') {
        precision = va_arg(ap, int);
        ++p;
      } else {
        while (*p >= u'0' && *p <= u'9') precision = precision * 10 + (*p++ - u'0');
      }
    }
    // Widths beyond the buffer are cut like the text they would make.
    if (width > static_cast<int>(FormatLimit)) width = FormatLimit;
    if (precision > static_cast<int>(FormatLimit)) precision = FormatLimit;
    if (left && spec.find('-') == std::string::npos) spec += '-';
    if (width >= 0) spec += std::to_string(width);
    if (precision >= 0) spec += "." + std::to_string(precision);
    int longs = 0;
    while (*p == u'l' || *p == u'h' || *p == u'L' || *p == u'z' || *p == u'j' || *p == u't') {
      if (*p == u'l' || *p == u'z' || *p == u'j' || *p == u't') ++longs;
      ++p;
    }
    char16_t conversion = *p;
    if (conversion == 0) {
      out.append(start, p);
      break;
    }
    ++p;
    switch (conversion) {
      case u'd':
      case u'i':
        if (longs >= 2) AppendNumber(&out, spec + "lld", va_arg(ap, long long));
        else if (longs == 1) AppendNumber(&out, spec + "ld", va_arg(ap, long));
        else AppendNumber(&out, spec + "d", va_arg(ap, int));
        break;
      case u'u':
      case u'x':
      case u'X':
      case u'o': {
        char c = static_cast<char>(conversion);
        if (longs >= 2) AppendNumber(&out, spec + "ll" + c, va_arg(ap, unsigned long long));
        else if (longs == 1) AppendNumber(&out, spec + "l" + c, va_arg(ap, unsigned long));
        else AppendNumber(&out, spec + c, va_arg(ap, unsigned));
        break;
      }
      case u'f':
      case u'F':
      case u'e':
      case u'E':
      case u'g':
      case u'G':
      case u'a':
      case u'A':
        AppendNumber(&out, spec + static_cast<char>(conversion), va_arg(ap, double));
        break;
      case u'c':
        AppendPadded(&out, std::u16string(1, static_cast<char16_t>(va_arg(ap, int))), width, left);
        break;
      case u's': {
        const char16_t* text = va_arg(ap, const char16_t*);
        std::u16string value = text != nullptr ? std::u16string(text) : std::u16string(u"(null)");
        if (precision >= 0 && value.size() > static_cast<size_t>(precision)) value.resize(precision);
        AppendPadded(&out, value, width, left);
        break;
      }
      default:  // not a conversion: the text stays as written
        out.append(start, p);
        break;
    }
  }
  va_end(ap);
  if (out.size() > FormatLimit) out.resize(FormatLimit);
  return out;
}

std::u16string FormatTextV(const char16_t* format, ...) {
  va_list args;
  va_start(args, format);
  std::u16string text = FormatText(format, args);
  va_end(args);
  return text;
}

std::string Utf16ToUtf8(const char16_t* text, int length) {
  std::string out;
  if (text == nullptr) return out;
  size_t n = 0;
  if (length < 0) {
    while (text[n] != 0) ++n;
  } else {
    n = static_cast<size_t>(length);
  }
  for (size_t i = 0; i < n; ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;  // a lone surrogate
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

std::u16string Utf8ToUtf16(const char* text) {
  std::u16string out;
  if (text == nullptr) return out;
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  while (*s != 0) {
    char32_t c = *s;
    int extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
    if (extra < 0) {
      out.push_back(0xFFFD);
      ++s;
      continue;
    }
    c = extra == 0 ? c : extra == 1 ? c & 0x1F : extra == 2 ? c & 0x0F : c & 0x07;
    int i = 1;
    for (; i <= extra; ++i) {
      if ((s[i] & 0xC0) != 0x80) break;
      c = (c << 6) | (s[i] & 0x3F);
    }
    static constexpr char32_t Smallest[4] = {0, 0x80, 0x800, 0x10000};
    if (i <= extra || c < Smallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      out.push_back(0xFFFD);  // a cut, overlong or out-of-range sequence
      s += i;
      continue;
    }
    s += extra + 1;
    if (c >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}
