#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Inspector.h"

namespace {

// Arguments in the user's multibyte encoding; bytes that do not convert are taken one by one.
std::wstring Widen(const char* text) {
    std::wstring wide(strlen(text) + 1, L'\0');
    const size_t n = mbstowcs(&wide[0], text, wide.size());
    if (n != static_cast<size_t>(-1)) {
        wide.resize(n);
        return wide;
    }
    std::wstring bytes;
    for (const char* p = text; *p; ++p)
        bytes += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    setlocale(LC_CTYPE, "");
    std::vector<std::wstring> wide;
    for (int i = 0; i < argc; ++i)
        wide.push_back(Widen(argv[i]));
    std::vector<wchar_t*> pointers;
    for (std::wstring& w : wide)
        pointers.push_back(&w[0]);
    return RunInspector(argc, pointers.data(), stdout, stderr);
}
