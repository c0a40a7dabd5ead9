// Comparison without regard to case, case mapping, trimming and numbered key names.
#include "platform/text/text_rules.h"

#include <algorithm>

namespace vandrel::text {

char upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

std::string toUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = upper(c);
  return out;
}

std::string toLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = lower(c);
  return out;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

int compareNoCase(std::string_view a, std::string_view b) {
  std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    int x = static_cast<unsigned char>(lower(a[i]));
    int y = static_cast<unsigned char>(lower(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool lessNoCase(std::string_view a, std::string_view b) { return compareNoCase(a, b) < 0; }

std::string_view trim(std::string_view text, std::string_view blanks) {
  std::size_t begin = text.find_first_not_of(blanks);
  if (begin == std::string_view::npos) return text.substr(text.size());
  std::size_t end = text.find_last_not_of(blanks);
  return text.substr(begin, end - begin + 1);
}

std::string_view trimLeading(std::string_view text, std::string_view blanks) {
  std::size_t begin = text.find_first_not_of(blanks);
  return begin == std::string_view::npos ? text.substr(text.size()) : text.substr(begin);
}

std::optional<long long> entryNumber(std::string_view name) {
  if (name.empty() || name.size() > 18) return std::nullopt;
  if (name.size() > 1 && name[0] == '0') return std::nullopt;
  long long value = 0;
  for (char c : name) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::vector<long long> entryNumbers(std::string_view keyList, long long first, long long last) {
  std::vector<long long> numbers;
  std::size_t start = 0;
  while (start < keyList.size()) {
    std::size_t end = keyList.find('\0', start);
    if (end == std::string_view::npos) end = keyList.size();
    std::optional<long long> number = entryNumber(keyList.substr(start, end - start));
    if (number && *number >= first && *number <= last) numbers.push_back(*number);
    start = end + 1;
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

std::string listItem(std::string_view list, int k, std::string_view def) {
  // There is no item 0 or below: such a request gets the default like a missing item.
  if (list.empty() || k < 1) return std::string(def);
  std::size_t start = 0;
  for (int commas = 0; commas < k - 1; ++commas) {
    std::size_t comma = list.find(',', start);
    if (comma == std::string_view::npos) return std::string(def);
    start = comma + 1;
  }
  std::size_t end = list.find(',', start);
  if (end == std::string_view::npos) end = list.size();
  return std::string(list.substr(start, end - start));
}

}  // namespace vandrel::text
