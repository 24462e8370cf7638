#include "platform/shell/HtmlLayout.h"
#include "platform/shell/PhoneScreen.h"
#include <algorithm>

namespace {

constexpr int Margin = 6;
constexpr int ListIndent = 16;
constexpr int MarkerGap = 4;

int PixelHeight(HtmlFonts::Size size) {
    static const int heights[HtmlFonts::SizeCount] = {13, 14, 16, 19};
    return heights[size];
}

HtmlFonts::Size SizeOf(HtmlBlockKind kind) {
    switch (kind) {
    case HtmlBlockKind::Heading1: return HtmlFonts::Heading1;
    case HtmlBlockKind::Heading2: return HtmlFonts::Heading2;
    case HtmlBlockKind::Heading3: return HtmlFonts::Heading3;
    default: return HtmlFonts::Body;
    }
}

int SpaceBefore(HtmlBlockKind kind) {
    switch (kind) {
    case HtmlBlockKind::Heading1: return 10;
    case HtmlBlockKind::Heading2:
    case HtmlBlockKind::Heading3: return 8;
    case HtmlBlockKind::ListItem: return 3;
    default: return 6;
    }
}

struct Piece {
    std::wstring text;
    HFONT font;
    int width;
    int ascent;
    int descent;
};

// Fills lines from left to right and moves down a line at a time.
class LineFiller {
  public:
    LineFiller(HDC dc, HtmlLayout& layout, int left, int right, int top)
        : dc(dc), layout(layout), left(left), right(right), top(top), x(left) {}

    void Word(const std::wstring& text, HFONT font) {
        Piece piece = Measure(text, font);
        if (x + piece.width > right && !line.empty()) NewLine();
        if (piece.width > right - left) return CutWord(text, font);
        Place(std::move(piece));
    }

    void Space(HFONT font) {
        if (line.empty()) return;
        x += Measure(L" ", font).width;
    }

    // A line break ends the line even when it is empty; its height comes from the font.
    void Break(HFONT font) {
        if (line.empty()) {
            Piece strut = Measure(L" ", font);
            lineAscent = std::max(lineAscent, strut.ascent);
            lineDescent = std::max(lineDescent, strut.descent);
        }
        NewLine();
    }

    int Finish() {
        if (!line.empty()) NewLine();
        return top;
    }

  private:
    Piece Measure(const std::wstring& text, HFONT font) {
        HGDIOBJ old = SelectObject(dc, font);
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        return {text, font, size.cx, metrics.tmAscent, metrics.tmDescent};
    }

    void Place(Piece piece) {
        pieceX.push_back(x);
        x += piece.width;
        lineAscent = std::max(lineAscent, piece.ascent);
        lineDescent = std::max(lineDescent, piece.descent);
        line.push_back(std::move(piece));
    }

    void CutWord(const std::wstring& text, HFONT font) {
        size_t start = 0;
        while (start < text.size()) {
            size_t length = 1;
            while (start + length < text.size() &&
                   x + Measure(text.substr(start, length + 1), font).width <= right)
                ++length;
            Place(Measure(text.substr(start, length), font));
            start += length;
            if (start < text.size()) NewLine();
        }
    }

    void NewLine() {
        int baseline = top + lineAscent;
        for (size_t i = 0; i < line.size(); ++i)
            layout.fragments.push_back(
                {pieceX[i], baseline - line[i].ascent, std::move(line[i].text), line[i].font});
        top = baseline + lineDescent;
        line.clear();
        pieceX.clear();
        lineAscent = lineDescent = 0;
        x = left;
    }

    HDC dc;
    HtmlLayout& layout;
    int left, right, top, x;
    std::vector<Piece> line;
    std::vector<int> pieceX;
    int lineAscent = 0;
    int lineDescent = 0;
};

int LayOutBlock(const HtmlBlock& block, int width, int top, HDC dc, HtmlFonts& fonts,
                HtmlLayout& layout) {
    HtmlFonts::Size size = SizeOf(block.kind);
    bool heading = size != HtmlFonts::Body;
    int left = Margin + block.listDepth * ListIndent;
    if (!block.marker.empty()) {
        HFONT font = fonts.Get(size, false, false);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE marker{};
        GetTextExtentPoint32W(dc, block.marker.c_str(), static_cast<int>(block.marker.size()),
                              &marker);
        SelectObject(dc, old);
        layout.fragments.push_back({left - MarkerGap - marker.cx, top, block.marker, font});
    }
    LineFiller filler(dc, layout, left, std::max(left + 1, width - Margin), top);
    for (const HtmlRun& run : block.runs) {
        HFONT font = fonts.Get(size, heading || run.bold, run.italic);
        if (run.lineBreak) {
            filler.Break(font);
            continue;
        }
        size_t at = 0;
        while (at < run.text.size()) {
            if (run.text[at] == L' ') {
                filler.Space(font);
                ++at;
                continue;
            }
            size_t end = run.text.find(L' ', at);
            if (end == std::wstring::npos) end = run.text.size();
            filler.Word(run.text.substr(at, end - at), font);
            at = end;
        }
    }
    return filler.Finish();
}

} // namespace

HtmlFonts::~HtmlFonts() {
    for (auto& bySize : fonts)
        for (auto& byWeight : bySize)
            for (HFONT font : byWeight)
                if (font) DeleteObject(font);
}

HFONT HtmlFonts::Get(Size size, bool bold, bool italic) {
    HFONT& font = fonts[size][bold][italic];
    if (!font) font = MakeShellFont(PixelHeight(size), bold, italic);
    return font;
}

HtmlLayout LayOutPage(const HtmlDocument& document, int width, HDC dc, HtmlFonts& fonts) {
    HtmlLayout layout;
    int top = 0;
    for (const HtmlBlock& block : document.blocks)
        top = LayOutBlock(block, width, top + SpaceBefore(block.kind), dc, fonts, layout);
    layout.height = top + Margin;
    return layout;
}
