// Numbered entries of a counted section.
#include "uninstall/numbered_entries.h"

#include <algorithm>

namespace vandrel::uninstall {

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
