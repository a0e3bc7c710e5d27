#pragma once
// Reading and writing one registry value in one call, on the file-backed
// store. No failure is reported: a key that cannot be created or opened gives
// the handle 0, reads on it give "" and writes on it do nothing.
#include <cstdint>
#include <string>

namespace registry {

// The predefined root keys.
inline constexpr int32_t HKEY_CLASSES_ROOT = static_cast<int32_t>(0x80000000u);
inline constexpr int32_t HKEY_CURRENT_USER = static_cast<int32_t>(0x80000001u);
inline constexpr int32_t HKEY_LOCAL_MACHINE = static_cast<int32_t>(0x80000002u);
inline constexpr int32_t HKEY_USERS = static_cast<int32_t>(0x80000003u);
inline constexpr int32_t HKEY_CURRENT_CONFIG = static_cast<int32_t>(0x80000005u);

// The value types the store tells apart.
inline constexpr int32_t REG_SZ = 1;
inline constexpr int32_t REG_DWORD = 4;

// The root every setting of the program lives under.
inline constexpr int32_t lngRegRoot = HKEY_LOCAL_MACHINE;

// Creates the missing keys of the path ("Software\Q_ZOLT\") and opens the key;
// an existing key opens alike. The handle, 0 when the store cannot be written.
int32_t CreateRegKey(int32_t lngRootKey, const std::string& strSubKey);
// Opens an existing key; 0 when it does not exist or the store cannot be read.
int32_t OpenRegKey(int32_t lngRootKey, const std::string& strSubKey);
void CloseRegKey(int32_t lngKey);
// Stores the text under the value name of the open key.
void SetRegValue(int32_t lngKey, const std::string& strValueName, const std::string& strValue);
// The text stored under the value name, cut at its first NUL; "" when missing.
std::string QueryRegValue(int32_t lngKey, const std::string& strValueName);
// The value's type and raw data, as the registry hands them over; false when
// the key is not open or the value is missing. Data written "dword:" and eight
// hexadecimal digits (the form .reg files use) is a REG_DWORD of four bytes,
// least significant first; any other data is a REG_SZ text, uncut.
bool QueryRegValueEx(int32_t lngKey, const std::string& strValueName, int32_t& lngType, std::string& strData);

void SaveRegSetting(int32_t lngRootKey, const std::string& strSubKey, const std::string& strValueName,
                    const std::string& strValue);
std::string GetRegSetting(int32_t lngRootKey, const std::string& strSubKey, const std::string& strValueName);

}  // namespace registry
