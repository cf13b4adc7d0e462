#pragma once
// String values of the registry through the wide API.
#include "app/platform/Platform.h"

#include <string>
#include <vector>

namespace velmora::app::win32 {

std::wstring readRegistryString(RegistryHive hive, const std::wstring& key,
                                const std::wstring& name);
// Opens the key once and sets the values in their order.
void writeRegistryStrings(RegistryHive hive, const std::wstring& key,
                          const std::vector<RegistryValue>& values);
void deleteRegistryKey(RegistryHive hive, const std::wstring& key);

} // namespace velmora::app::win32
