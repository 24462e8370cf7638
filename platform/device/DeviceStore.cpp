#include "platform/device/DeviceStore.h"

#include <cwchar>

namespace {

const wchar_t kDeviceKey[] = L"Software\\Dozara\\Device";
const wchar_t kJournalKey[] = L"Software\\Dozara\\Device\\Journal";
const wchar_t kMutexName[] = L"DozaraDeviceState";
const wchar_t kJournalNext[] = L"JournalNext";

enum class Access { Read, Write };

// Opens one of the device's keys, creating it for writing; null when it is absent or the
// registry refuses. Readers never create keys, so reading leaves no trace.
HKEY OpenKey(const wchar_t* path, Access access) {
    HKEY key = nullptr;
    LSTATUS status = access == Access::Read
                         ? RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key)
                         : RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0,
                                           KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    return status == ERROR_SUCCESS ? key : nullptr;
}

class Key {
  public:
    Key(const wchar_t* path, Access access) : key(OpenKey(path, access)) {}
    ~Key() {
        if (key) RegCloseKey(key);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY get() const { return key; }

  private:
    HKEY key;
};

bool ReadText(const wchar_t* path, const wchar_t* name, std::wstring& text) {
    Key key(path, Access::Read);
    DWORD type = 0;
    DWORD bytes = 0;
    if (!key.get() ||
        RegQueryValueExW(key.get(), name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    std::wstring buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&buffer[0]),
                         &bytes) != ERROR_SUCCESS)
        return false;
    // The stored text may or may not carry its terminator; it ends at the first null.
    buffer.resize(wcsnlen(buffer.c_str(), bytes / sizeof(wchar_t)));
    text = buffer;
    return true;
}

bool WriteText(const wchar_t* path, const wchar_t* name, const std::wstring& text) {
    Key key(path, Access::Write);
    return key.get() &&
           RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::wstring JournalValueName(DWORD number) {
    wchar_t name[16];
    swprintf(name, 16, L"%08lu", static_cast<unsigned long>(number));
    return name;
}

} // namespace

DeviceLock::DeviceLock() : mutex(CreateMutexW(nullptr, FALSE, kMutexName)) {
    // An owner that died while holding the mutex leaves it abandoned; the state it guards is
    // still whole, since every value is written by one registry call.
    if (mutex) WaitForSingleObject(mutex, INFINITE);
}

DeviceLock::~DeviceLock() {
    if (!mutex) return;
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

DWORD ReadStoreNumber(const wchar_t* name, DWORD fallback) {
    Key key(kDeviceKey, Access::Read);
    DWORD type = 0;
    DWORD value = 0;
    DWORD bytes = sizeof(value);
    if (!key.get() ||
        RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &bytes) != ERROR_SUCCESS ||
        type != REG_DWORD)
        return fallback;
    return value;
}

bool WriteStoreNumber(const wchar_t* name, DWORD value) {
    Key key(kDeviceKey, Access::Write);
    return key.get() &&
           RegSetValueExW(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof(value)) == ERROR_SUCCESS;
}

bool ReadStoreText(const wchar_t* name, std::wstring& text) {
    return ReadText(kDeviceKey, name, text);
}

bool WriteStoreText(const wchar_t* name, const std::wstring& text) {
    return WriteText(kDeviceKey, name, text);
}

bool ClearStore() {
    DeviceLock lock;
    LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, kDeviceKey);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool AppendJournalLine(const std::wstring& line) {
    DeviceLock lock;
    DWORD number = ReadStoreNumber(kJournalNext, 1);
    if (!WriteText(kJournalKey, JournalValueName(number).c_str(), line)) return false;
    return WriteStoreNumber(kJournalNext, number + 1);
}

DWORD JournalLineCount() {
    return ReadStoreNumber(kJournalNext, 1) - 1;
}

bool ReadJournalLine(DWORD number, std::wstring& line) {
    return ReadText(kJournalKey, JournalValueName(number).c_str(), line);
}

bool ClearJournal() {
    DeviceLock lock;
    LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, kJournalKey);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return false;
    return WriteStoreNumber(kJournalNext, 1);
}
