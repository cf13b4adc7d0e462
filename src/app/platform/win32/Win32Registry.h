#pragma once
// String values of the registry through the wide API.
#include "app/platform/Platform.h"

#include <string>

namespace velmora::app::win32 {

std::wstring readRegistryString(RegistryHive hive, const std::wstring& key,
                                const std::wstring& name);
void writeRegistryString(RegistryHive hive, const std::wstring& key, const std::wstring& name,
                         const std::wstring& value);
void deleteRegistryKey(RegistryHive hive, const std::wstring& key);

} // namespace velmora::app::win32
