// Numbered entries of a counted section.
#include "uninstall/numbered_entries.h"

#include <algorithm>

namespace vandrel::uninstall {

namespace {

// A plain decimal entry name, or -1.
long long entryNumber(std::string_view name) {
  if (name.empty() || name.size() > 18) return -1;
  if (name.size() > 1 && name[0] == '0') return -1;
  long long value = 0;
  for (char c : name) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

std::vector<long long> entryNumbers(std::string_view keyList, long long count) {
  std::vector<long long> numbers;
  size_t start = 0;
  while (start < keyList.size()) {
    size_t end = keyList.find('\0', start);
    if (end == std::string_view::npos) end = keyList.size();
    long long number = entryNumber(keyList.substr(start, end - start));
    if (number >= 0 && number < count) numbers.push_back(number);
    start = end + 1;
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

bool walkEntries(const std::vector<long long>& present, long long count, Order order,
                 const std::function<bool(long long)>& onEntry,
                 const std::function<bool(long long)>& onGap) {
  if (count <= 0) return true;
  // Only numbers inside 0..count-1 take part, in the walking order.
  std::vector<long long> numbers;
  for (long long n : present) {
    if (n >= 0 && n < count) numbers.push_back(n);
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  if (order == Order::Descending) std::reverse(numbers.begin(), numbers.end());

  // next: the number the walk expects to reach next.
  long long next = order == Order::Descending ? count - 1 : 0;
  for (long long n : numbers) {
    long long missing = order == Order::Descending ? next - n : n - next;
    if (missing > 0 && !onGap(missing)) return false;
    if (!onEntry(n)) return false;
    next = order == Order::Descending ? n - 1 : n + 1;
  }
  long long rest = order == Order::Descending ? next + 1 : count - next;
  if (rest > 0 && !onGap(rest)) return false;
  return true;
}

}  // namespace vandrel::uninstall
