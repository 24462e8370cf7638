#pragma once
// Temporary folders and raw file bytes for the storage tests, with paths in the core's form
// (backslashes on both builds).
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    std::wstring File(const wchar_t* name) const { return path + L"\\" + name; }
    std::vector<std::wstring> Names() const; // files in the folder
    std::wstring path;
};

Bytes ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const Bytes& bytes);
void MakeFolder(const std::wstring& path);
void RemoveFolder(const std::wstring& path);
// A symbolic link at link to target; false where the system makes none.
bool MakeLink(const std::wstring& link, const std::wstring& target);
bool IsLink(const std::wstring& path);
// Gives or takes the write permission (on Windows: the read-only attribute).
void SetWritable(const std::wstring& path, bool writable);
