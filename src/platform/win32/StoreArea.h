#pragma once
// Where a settings store keeps its registry values (system side; defined
// with the store in ProfileStore.cpp).

#include <filesystem>
#include <string>

namespace platform::win32 {

// The key under HKEY_CURRENT_USER that holds the registry values of a store
// on `folder` apart from the user's ("Software\Quorvane\Stores\<hash>");
// empty for the user's own store, whose values are the registry's own.
std::wstring storeRegistryArea(const std::filesystem::path& folder);

}  // namespace platform::win32
