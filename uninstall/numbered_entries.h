// Walking a counted section's numbered entries ("0", "1", ...) in the removal order without
// visiting, one by one, numbers that the section does not hold: a damaged count (two billion
// for five entries) costs the entries that exist, not the count.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vandrel::uninstall {

enum class Order { Descending, Ascending };

// Visits entries count-1 down to 0 (Descending) or 0 up to count-1 (Ascending). Each present
// number goes to onEntry; each run of consecutive absent numbers goes to onGap once, with
// the run's length. A callback that returns false ends the walk, which then returns false.
bool walkEntries(const std::vector<long long>& present, long long count, Order order,
                 const std::function<bool(long long number)>& onEntry,
                 const std::function<bool(long long missing)>& onGap);

}  // namespace vandrel::uninstall
