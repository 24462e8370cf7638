#pragma once
// Builds a text in a caller's fixed buffer: every piece is cut to fit, the text always stays
// terminated and nothing is allocated. Used on the draw path of the list.
#include <cstddef>

class BoundedText {
  public:
    BoundedText(wchar_t* buffer, size_t size);
    BoundedText& Add(const wchar_t* text);
    BoundedText& Number(int value);
    // A format from local.dat, trusted only with the one number it names: its first "%d" takes
    // value, everything else is taken as it stands (a format without one, wholly).
    BoundedText& AddWithNumber(const wchar_t* format, int value);
    bool Cut() const { return cut; } // some text did not fit

  private:
    BoundedText& AddAtMost(const wchar_t* text, size_t count);

    wchar_t* buffer;
    size_t size;
    size_t used = 0;
    bool cut = false;
};

// Copies text into buffer (size characters with the terminator), cut to fit.
void CopyCut(wchar_t* buffer, size_t size, const wchar_t* text);
