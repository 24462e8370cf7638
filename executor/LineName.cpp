#include "executor/LineName.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

bool LineNameIs(const LINEDEVCAPS* caps, size_t blockSize, const wchar_t* name) {
    if (blockSize < sizeof(LINEDEVCAPS)) return false;
    const size_t filled = std::min<size_t>(caps->dwUsedSize, blockSize);
    const size_t offset = caps->dwLineNameOffset;
    const size_t size = caps->dwLineNameSize;
    if (offset > filled || size > filled - offset) return false;

    // The offset need not be aligned for a wide character, so each one is copied out.
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(caps) + offset;
    const size_t capacity = size / sizeof(wchar_t);
    const size_t wanted = wcslen(name);
    size_t length = 0;
    for (; length < capacity; ++length) {
        wchar_t c;
        std::memcpy(&c, bytes + length * sizeof(wchar_t), sizeof(wchar_t));
        if (c == L'\0') break;
        if (length == wanted || c != name[length]) return false;
    }
    return length == wanted;
}
