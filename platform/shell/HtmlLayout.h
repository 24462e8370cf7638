#pragma once
// Lays a page out for a width: every word gets its place and font, lines wrap at spaces
// (a word wider than the line is cut where it must be). Measures with GDI.
#include "platform/shell/HtmlDocument.h"
#include <windows.h>
#include <string>
#include <vector>

// The viewer's fonts by text size and style, made when first asked for.
class HtmlFonts {
  public:
    enum Size { Body, Heading3, Heading2, Heading1, SizeCount };
    HtmlFonts() = default;
    HtmlFonts(const HtmlFonts&) = delete;
    HtmlFonts& operator=(const HtmlFonts&) = delete;
    ~HtmlFonts();
    HFONT Get(Size size, bool bold, bool italic);

  private:
    HFONT fonts[SizeCount][2][2] = {};
};

struct HtmlFragment {
    int x = 0;
    int y = 0; // top of the text, from the top of the page
    std::wstring text;
    HFONT font = nullptr;
};

struct HtmlLayout {
    std::vector<HtmlFragment> fragments;
    int height = 0;          // of the whole page, margins included
    size_t measurements = 0; // text measurements asked of GDI: the layout's cost
};

HtmlLayout LayOutPage(const HtmlDocument& document, int width, HDC dc, HtmlFonts& fonts);
