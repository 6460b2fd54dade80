#include "framework/core/registry.h"

#include <algorithm>
#include <vector>

void TRegistry::SetRootKey(HKEY rootKey) {
  if (rootKey == rootKey_) return;
  CloseKey();
  rootKey_ = rootKey;
}

bool TRegistry::Open(const String& key, REGSAM access, bool canCreate) {
  const bool relative = key.empty() || key[0] != '\\';
  const String subKey = relative ? key : key.substr(1);
  HKEY base = relative && currentKey_ ? currentKey_.get() : rootKey_;
  HKEY opened = nullptr;
  LONG rc = !canCreate || subKey.empty()
                ? RegOpenKeyExA(base, subKey.c_str(), 0, access, &opened)
                : RegCreateKeyExA(base, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                                  &opened, nullptr);
  if (rc != ERROR_SUCCESS) return false;
  String path = relative && currentKey_ && !currentPath_.empty() ? currentPath_ + "\\" + subKey : subKey;
  currentKey_.reset(opened);
  currentPath_ = path;
  return true;
}

bool TRegistry::OpenKey(const String& key, bool canCreate) { return Open(key, KEY_ALL_ACCESS, canCreate); }

bool TRegistry::OpenKeyReadOnly(const String& key) { return Open(key, KEY_READ, false); }

void TRegistry::CloseKey() {
  currentKey_.reset();
  currentPath_.clear();
}

bool TRegistry::KeyExists(const String& key) {
  const bool relative = key.empty() || key[0] != '\\';
  HKEY base = relative && currentKey_ ? currentKey_.get() : rootKey_;
  HKEY probe = nullptr;
  if (RegOpenKeyExA(base, relative ? key.c_str() : key.c_str() + 1, 0, KEY_READ, &probe) != ERROR_SUCCESS)
    return false;
  RegCloseKey(probe);
  return true;
}

bool TRegistry::ValueExists(const String& name) {
  return currentKey_ &&
         RegQueryValueExA(currentKey_.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

String TRegistry::ReadString(const String& name) {
  DWORD type = 0;
  DWORD size = 0;
  if (!currentKey_ ||
      RegQueryValueExA(currentKey_.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return String();
  if (type != REG_SZ && type != REG_EXPAND_SZ) throw ERegistryException(Format("Invalid data type for '%s'", name));
  // The value may grow between the two calls; ask again until it fits.
  std::vector<char> data;
  LONG rc;
  do {
    data.resize(size + 1);
    size = static_cast<DWORD>(data.size() - 1);
    rc = RegQueryValueExA(currentKey_.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
  } while (rc == ERROR_MORE_DATA);
  if (rc != ERROR_SUCCESS) return String();
  if (type != REG_SZ && type != REG_EXPAND_SZ) throw ERegistryException(Format("Invalid data type for '%s'", name));
  // Stored strings need not end with a NUL; stop at the first one if they do.
  String text(data.data(), std::min<size_t>(size, data.size() - 1));
  size_t nul = text.find('\0');
  return nul == String::npos ? text : text.substr(0, nul);
}

void TRegistry::WriteString(const String& name, const String& value) {
  if (!currentKey_ ||
      RegSetValueExA(currentKey_.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
    throw ERegistryException(Format("Failed to set data for '%s'", name));
}

int TRegistry::ReadInteger(const String& name) {
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  if (!currentKey_) throw ERegistryException(Format("Failed to get data for '%s'", name));
  LONG rc = RegQueryValueExA(currentKey_.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  if (rc == ERROR_MORE_DATA || (rc == ERROR_SUCCESS && type != REG_DWORD))
    throw ERegistryException(Format("Invalid data type for '%s'", name));
  if (rc != ERROR_SUCCESS) throw ERegistryException(Format("Failed to get data for '%s'", name));
  return static_cast<int>(value);
}

void TRegistry::WriteInteger(const String& name, int value) {
  DWORD data = static_cast<DWORD>(value);
  if (!currentKey_ || RegSetValueExA(currentKey_.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                                     sizeof data) != ERROR_SUCCESS)
    throw ERegistryException(Format("Failed to set data for '%s'", name));
}

bool TRegistry::ReadBool(const String& name) { return ReadInteger(name) != 0; }

bool TRegistry::DeleteValue(const String& name) {
  return currentKey_ && RegDeleteValueA(currentKey_.get(), name.c_str()) == ERROR_SUCCESS;
}
