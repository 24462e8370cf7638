#include "platform/shell/HtmlLayout.h"
#include "platform/shell/PhoneScreen.h"
#include <algorithm>

namespace {

constexpr int kMargin = 6;
constexpr int kListIndent = 16;
constexpr int kMarkerGap = 4;

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

struct FontMetrics {
    HFONT font = nullptr;
    int ascent = 0;
    int descent = 0;
    int space = 0; // width of a blank
};

// Fills lines from left to right and moves down a line at a time. Each word costs one
// measurement and a word wider than the line one per line it fills, so the work grows with
// the page's length and each line's share of it is bounded: under Wine every measurement is
// tens of microseconds, and measuring a long word once per added letter took minutes.
class LineFiller {
  public:
    LineFiller(HDC dc, HtmlLayout& layout, int left, int right, int top)
        : dc(dc), layout(layout), left(left), right(right), top(top), x(left) {}
    ~LineFiller() {
        if (oldFont) SelectObject(dc, oldFont);
    }

    void Word(const wchar_t* text, size_t length, HFONT font) {
        const FontMetrics& metrics = Use(font);
        // More letters than the line has pixels never fit: such a word is not measured whole.
        if (length > static_cast<size_t>(right - left)) {
            if (!line.empty()) NewLine();
            return CutWord(text, length, metrics);
        }
        const int width = Extent(text, length);
        if (x + width > right && !line.empty()) NewLine();
        if (width > right - left) return CutWord(text, length, metrics);
        Place({std::wstring(text, length), font, width, metrics.ascent, metrics.descent});
    }

    void Space(HFONT font) {
        if (line.empty()) return;
        x += Use(font).space;
    }

    // A line break ends the line even when it is empty; its height comes from the font.
    void Break(HFONT font) {
        if (line.empty()) {
            const FontMetrics& strut = Use(font);
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
    // Selects the font into the context (kept there until another is needed) and gives its
    // metrics, asked of GDI once per font.
    const FontMetrics& Use(HFONT font) {
        if (font != current.font) {
            const HGDIOBJ previous = SelectObject(dc, font);
            if (!oldFont) oldFont = previous;
            current = FontMetrics{font};
            TEXTMETRICW text{};
            GetTextMetricsW(dc, &text);
            current.ascent = text.tmAscent;
            current.descent = text.tmDescent;
            current.space = Extent(L" ", 1);
            ++layout.measurements;
        }
        return current;
    }

    int Extent(const wchar_t* text, size_t length) {
        SIZE size{};
        GetTextExtentPoint32W(dc, text, static_cast<int>(length), &size);
        ++layout.measurements;
        return size.cx;
    }

    void Place(Piece piece) {
        pieceX.push_back(x);
        x += piece.width;
        lineAscent = std::max(lineAscent, piece.ascent);
        lineDescent = std::max(lineDescent, piece.descent);
        line.push_back(std::move(piece));
    }

    // As many letters as fit go on each line, at least one. One measurement a line: no
    // letter is narrower than a pixel, so a line never holds more letters than it has
    // pixels, and only that many are handed to GDI.
    void CutWord(const wchar_t* text, size_t length, const FontMetrics& metrics) {
        std::vector<int> ends(static_cast<size_t>(right - left) + 1);
        size_t start = 0;
        while (start < length) {
            const size_t most = std::min(length - start, ends.size());
            int fit = 0;
            SIZE size{};
            GetTextExtentExPointW(dc, text + start, static_cast<int>(most), right - x, &fit,
                                  ends.data(), &size);
            ++layout.measurements;
            // A letter wider than the whole line goes on a line of its own all the same.
            const size_t taken = static_cast<size_t>(std::max(1, fit));
            const int width = fit > 0 ? ends[taken - 1] : Extent(text + start, 1);
            Place({std::wstring(text + start, taken), metrics.font, width, metrics.ascent,
                   metrics.descent});
            start += taken;
            if (start < length) NewLine();
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
    FontMetrics current;
    HGDIOBJ oldFont = nullptr;
    std::vector<Piece> line;
    std::vector<int> pieceX;
    int lineAscent = 0;
    int lineDescent = 0;
};

int LayOutBlock(const HtmlBlock& block, int width, int top, HDC dc, HtmlFonts& fonts,
                HtmlLayout& layout) {
    HtmlFonts::Size size = SizeOf(block.kind);
    bool heading = size != HtmlFonts::Body;
    int left = kMargin + block.listDepth * kListIndent;
    if (!block.marker.empty()) {
        HFONT font = fonts.Get(size, false, false);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE marker{};
        GetTextExtentPoint32W(dc, block.marker.c_str(), static_cast<int>(block.marker.size()),
                              &marker);
        SelectObject(dc, old);
        layout.fragments.push_back({left - kMarkerGap - marker.cx, top, block.marker, font});
    }
    LineFiller filler(dc, layout, left, std::max(left + 1, width - kMargin), top);
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
            filler.Word(run.text.data() + at, end - at, font);
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
    layout.height = top + kMargin;
    return layout;
}
