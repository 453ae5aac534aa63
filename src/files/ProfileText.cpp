#include "files/ProfileText.h"

#include <cstdint>

namespace tdxx {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";

void AppendUtf8(std::string& out, std::uint32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (codePoint >> 18));
    out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

void AppendUtf16Le(std::string& out, std::uint32_t unit) {
  out += static_cast<char>(unit & 0xFF);
  out += static_cast<char>(unit >> 8);
}

// UTF-16LE to UTF-8. A lone surrogate is kept as its own three-byte form, so that a file
// written back comes out byte for byte as it was read.
std::string Utf16LeToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  auto unitAt = [&](std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
  };
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const std::uint32_t unit = unitAt(i);
    if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
      const std::uint32_t low = unitAt(i + 2);
      if (low >= 0xDC00 && low < 0xE000) {
        AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    AppendUtf8(out, unit);
  }
  return out;
}

// UTF-8 (lone surrogates in their three-byte form included) to UTF-16LE; a byte that starts no
// valid sequence becomes U+FFFD.
std::string Utf8ToUtf16Le(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    std::uint32_t codePoint = 0;
    if (lead < 0x80) {
      length = 1;
      codePoint = lead;
    } else if (lead >= 0xC2 && lead < 0xE0) {
      length = 2;
      codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead < 0xF0) {
      length = 3;
      codePoint = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead < 0xF5) {
      length = 4;
      codePoint = lead & 0x07u;
    }
    bool valid = length > 0 && i + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      codePoint = (codePoint << 6) | (next & 0x3F);
    }
    const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    valid = valid && codePoint >= smallest[length] && codePoint <= 0x10FFFF;
    if (!valid) {
      AppendUtf16Le(out, 0xFFFD);
      ++i;
      continue;
    }
    if (codePoint >= 0x10000) {
      AppendUtf16Le(out, 0xD800 + ((codePoint - 0x10000) >> 10));
      AppendUtf16Le(out, 0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    } else {
      AppendUtf16Le(out, codePoint);
    }
    i += length;
  }
  return out;
}

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

ProfileText ProfileText::Decode(std::string_view fileBytes) {
  ProfileText result;
  std::string text;
  if (fileBytes.starts_with(kUtf16LeBom)) {
    result.encoding = Encoding::kUtf16LeWithBom;
    fileBytes.remove_prefix(kUtf16LeBom.size());
    if (fileBytes.size() % 2 != 0) {
      result.oddTrailingByte = fileBytes.back();
    }
    text = Utf16LeToUtf8(fileBytes);
  } else if (fileBytes.starts_with(kUtf8Bom)) {
    result.encoding = Encoding::kUtf8WithBom;
    text = fileBytes.substr(kUtf8Bom.size());
  } else {
    text = fileBytes;
  }

  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t stop = text.find_first_of("\r\n", start);
    if (stop == std::string::npos) {
      result.lines.push_back({text.substr(start), ""});
      break;
    }
    const std::size_t endLength = text.compare(stop, 2, "\r\n") == 0 ? 2 : 1;
    result.lines.push_back({text.substr(start, stop - start), text.substr(stop, endLength)});
    start = stop + endLength;
  }
  return result;
}

std::string ProfileText::Encode() const {
  std::string text;
  for (const Line& line : lines) {
    text += line.text;
    text += line.end;
  }
  switch (encoding) {
    case Encoding::kUtf8:
      return text;
    case Encoding::kUtf8WithBom:
      return std::string(kUtf8Bom) + text;
    case Encoding::kUtf16LeWithBom:
      return std::string(kUtf16LeBom) + Utf8ToUtf16Le(text) + oddTrailingByte;
  }
  return text;
}

std::string_view ProfileText::PreferredLineEnd() const {
  for (const Line& line : lines) {
    if (!line.end.empty()) {
      return line.end;
    }
  }
  return "\r\n";
}

std::string_view TrimBlanks(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\v\f";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

ProfileLine ClassifyProfileLine(std::string_view line) {
  ProfileLine result;
  line = TrimBlanks(line);
  if (line.empty() || line.front() == ';') {
    return result;
  }
  if (line.front() == '[') {
    const std::size_t close = line.rfind(']');
    if (close != std::string_view::npos) {
      result.kind = ProfileLine::Kind::kSection;
      result.name = TrimBlanks(line.substr(1, close - 1));
      return result;
    }
  }
  // A line without '=' names a key with an empty value.
  const std::size_t equals = line.find('=');
  result.kind = ProfileLine::Kind::kEntry;
  result.name = TrimBlanks(line.substr(0, equals));
  if (equals != std::string_view::npos) {
    result.value = TrimBlanks(line.substr(equals + 1));
  }
  if (result.name.empty()) {
    result.kind = ProfileLine::Kind::kOther;
  }
  return result;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace tdxx
