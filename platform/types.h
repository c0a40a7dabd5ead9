// Small vocabulary types shared by the platform interfaces.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vandrel::platform {

using Bytes = std::vector<std::uint8_t>;

// A point in time as Windows keeps it: 100-nanosecond ticks since 1601-01-01 UTC.
using FileTime = std::uint64_t;

// Windows error codes the interfaces return (the values of the Windows API).
namespace error {
constexpr long Success = 0;
constexpr long FileNotFound = 2;
constexpr long PathNotFound = 3;
constexpr long AccessDenied = 5;
constexpr long InvalidHandle = 6;
constexpr long NotEnoughMemory = 8;
constexpr long WriteProtect = 19;
constexpr long SharingViolation = 32;
constexpr long FileExists = 80;
constexpr long InvalidParameter = 87;
constexpr long DiskFull = 112;
constexpr long InsufficientBuffer = 122;
constexpr long DirNotEmpty = 145;
constexpr long AlreadyExists = 183;
constexpr long MoreData = 234;
constexpr long NoMoreItems = 259;
constexpr long BadDb = 1009;  // ERROR_BADDB: the registry store is damaged
constexpr long KeyDeleted = 1018;
}  // namespace error

}  // namespace vandrel::platform
