// The summary-information property set: one section of typed properties, little-endian.
#include "builder/codec/summary_stream.h"

#include <cstring>
#include <vector>

namespace vandrel::builder {

namespace {

constexpr std::uint16_t VT_I2 = 2;
constexpr std::uint16_t VT_I4 = 3;
constexpr std::uint16_t VT_LPSTR = 30;
constexpr std::uint16_t VT_FILETIME = 64;

// F29F85E0-4FF9-1068-AB91-08002B27B3D9 in its stored byte order.
constexpr unsigned char kFormatId[16] = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                         0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};
constexpr std::size_t kHeaderSize = 48;  // header, one format id and its offset
// No string property is believed beyond this size when reading.
constexpr std::uint32_t kMaxString = 1 << 20;

// How each property of the record is typed and stored.
struct Property {
  std::uint32_t id;
  std::uint16_t type;
  std::string SummaryInfo::*text = nullptr;
  std::int32_t SummaryInfo::*number = nullptr;
  std::uint64_t SummaryInfo::*time = nullptr;
};

const std::vector<Property>& properties() {
  static const std::vector<Property> table{
      {2, VT_LPSTR, &SummaryInfo::title},        {3, VT_LPSTR, &SummaryInfo::subject},
      {4, VT_LPSTR, &SummaryInfo::author},       {5, VT_LPSTR, &SummaryInfo::keywords},
      {6, VT_LPSTR, &SummaryInfo::comments},     {7, VT_LPSTR, &SummaryInfo::templateName},
      {8, VT_LPSTR, &SummaryInfo::lastAuthor},   {9, VT_LPSTR, &SummaryInfo::revision},
      {10, VT_FILETIME, nullptr, nullptr, &SummaryInfo::editingTime},
      {11, VT_FILETIME, nullptr, nullptr, &SummaryInfo::lastPrinted},
      {12, VT_FILETIME, nullptr, nullptr, &SummaryInfo::created},
      {13, VT_FILETIME, nullptr, nullptr, &SummaryInfo::lastSaved},
      {14, VT_I4, nullptr, &SummaryInfo::pageCount},
      {15, VT_I4, nullptr, &SummaryInfo::wordCount},
      {16, VT_I4, nullptr, &SummaryInfo::charCount},
      {18, VT_LPSTR, &SummaryInfo::appName},
      {19, VT_I4, nullptr, &SummaryInfo::security},
  };
  return table;
}

void put16(std::string& out, std::uint16_t v) {
  out += char(v & 0xff);
  out += char(v >> 8);
}
void put32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out += char((v >> (8 * i)) & 0xff);
}
void put64(std::string& out, std::uint64_t v) {
  put32(out, std::uint32_t(v));
  put32(out, std::uint32_t(v >> 32));
}
void pad4(std::string& out) {
  while (out.size() % 4) out += '\0';
}

std::uint32_t get16(std::string_view s, std::size_t at) {
  return std::uint8_t(s[at]) | std::uint32_t(std::uint8_t(s[at + 1])) << 8;
}
std::uint32_t get32(std::string_view s, std::size_t at) {
  return get16(s, at) | get16(s, at + 2) << 16;
}
std::uint64_t get64(std::string_view s, std::size_t at) {
  return get32(s, at) | std::uint64_t(get32(s, at + 4)) << 32;
}

std::string encodeValue(const SummaryInfo& info, const Property& p) {
  std::string value;
  put16(value, p.type);
  put16(value, 0);
  if (p.type == VT_LPSTR) {
    const std::string& text = info.*(p.text);
    put32(value, std::uint32_t(text.size() + 1));
    value += text;
    value += '\0';
  } else if (p.type == VT_FILETIME) {
    put64(value, info.*(p.time));
  } else {
    put32(value, std::uint32_t(info.*(p.number)));
  }
  pad4(value);
  return value;
}

// One property value at offset `at` of the section into its field; damaged values are left.
void decodeValue(std::string_view section, std::size_t at, const Property& p, SummaryInfo& info) {
  if (at + 8 > section.size()) return;
  std::uint32_t type = get16(section, at);
  std::size_t data = at + 4;
  if (p.type == VT_LPSTR && type == VT_LPSTR) {
    std::uint32_t size = get32(section, data);
    if (size > kMaxString || data + 4 + size > section.size()) return;
    std::string text(section.substr(data + 4, size));
    if (auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    info.*(p.text) = text;
  } else if (p.type == VT_FILETIME && type == VT_FILETIME) {
    if (data + 8 <= section.size()) info.*(p.time) = get64(section, data);
  } else if (p.type == VT_I4 && (type == VT_I4 || type == VT_I2)) {
    std::uint32_t v = get32(section, data);
    info.*(p.number) = type == VT_I2 ? std::int16_t(v & 0xffff) : std::int32_t(v);
  }
}

}  // namespace

std::string encodeSummaryInfo(const SummaryInfo& info) {
  std::vector<std::pair<std::uint32_t, std::string>> values;
  std::string codePage;
  put16(codePage, VT_I2);
  put16(codePage, 0);
  put16(codePage, std::uint16_t(info.codePage));
  put16(codePage, 0);
  values.emplace_back(1, codePage);
  for (const Property& p : properties()) values.emplace_back(p.id, encodeValue(info, p));

  std::string section;
  std::size_t offset = 8 + 8 * values.size();
  std::string body;
  put32(section, 0);  // size, filled below
  put32(section, std::uint32_t(values.size()));
  for (const auto& [id, value] : values) {
    put32(section, id);
    put32(section, std::uint32_t(offset + body.size()));
    body += value;
  }
  section += body;
  std::uint32_t size = std::uint32_t(section.size());
  for (int i = 0; i < 4; ++i) section[std::size_t(i)] = char((size >> (8 * i)) & 0xff);

  std::string out;
  put16(out, 0xFFFE);
  put16(out, 0);
  put32(out, 0x00020005);   // Win32, version 5.0
  out.append(16, '\0');     // class id
  put32(out, 1);            // one section
  out.append(reinterpret_cast<const char*>(kFormatId), 16);
  put32(out, std::uint32_t(kHeaderSize));
  return out + section;
}

std::optional<SummaryInfo> decodeSummaryInfo(std::string_view stream) {
  if (stream.size() < kHeaderSize || get16(stream, 0) != 0xFFFE) return std::nullopt;
  if (get32(stream, 24) < 1 || std::memcmp(stream.data() + 28, kFormatId, 16) != 0) {
    return std::nullopt;
  }
  std::size_t start = get32(stream, 44);
  if (start > stream.size() || stream.size() - start < 8) return std::nullopt;
  std::string_view section = stream.substr(start);
  if (std::size_t declared = get32(section, 0); declared >= 8 && declared < section.size()) {
    section = section.substr(0, declared);
  }
  std::size_t count = get32(section, 4);
  if (count > (section.size() - 8) / 8) return std::nullopt;

  SummaryInfo info;
  for (std::size_t i = 0; i < count; ++i) {
    std::uint32_t id = get32(section, 8 + 8 * i);
    std::size_t at = get32(section, 12 + 8 * i);
    if (id == 1) {
      if (at + 8 <= section.size() && get16(section, at) == VT_I2) {
        info.codePage = int(get16(section, at + 4));
      }
      continue;
    }
    for (const Property& p : properties()) {
      if (p.id == id) decodeValue(section, at, p, info);
    }
  }
  return info;
}

}  // namespace vandrel::builder
