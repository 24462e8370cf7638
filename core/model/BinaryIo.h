#pragma once
// Little-endian fields of "storage.dat", written and read byte by byte whatever the host.
#include <cstdint>
#include <cstdio>

inline bool WriteU8(FILE* f, uint32_t v) {
    return fputc(static_cast<int>(v & 0xFF), f) != EOF;
}

inline bool WriteU16(FILE* f, uint32_t v) {
    const unsigned char b[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
    return fwrite(b, 1, 2, f) == 2;
}

inline bool WriteU32(FILE* f, uint32_t v) {
    const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                static_cast<unsigned char>(v >> 16),
                                static_cast<unsigned char>(v >> 24)};
    return fwrite(b, 1, 4, f) == 4;
}

// A single byte of the stream widened to 0-255; false at the end of the file.
inline bool ReadU8(FILE* f, uint32_t* v) {
    const int c = fgetc(f);
    if (c == EOF) return false;
    *v = static_cast<uint32_t>(c);
    return true;
}

inline bool ReadU16(FILE* f, uint16_t* v) {
    unsigned char b[2];
    if (fread(b, 1, 2, f) != 2) return false;
    *v = static_cast<uint16_t>(b[0] | (b[1] << 8));
    return true;
}

inline bool ReadU32(FILE* f, uint32_t* v) {
    unsigned char b[4];
    if (fread(b, 1, 4, f) != 4) return false;
    *v = static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
         (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
    return true;
}
