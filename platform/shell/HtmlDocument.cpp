#include "platform/shell/HtmlDocument.h"
#include <cwctype>

namespace {

constexpr wchar_t kBullet = L'\x2022';
constexpr wchar_t kNoBreakSpace = L'\x00A0';

bool IsSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\f';
}

std::wstring Lower(std::wstring_view text) {
    std::wstring lower(text);
    for (wchar_t& c : lower)
        c = static_cast<wchar_t>(std::towlower(c));
    return lower;
}

size_t FindNoCase(std::wstring_view text, std::wstring_view what, size_t from) {
    for (size_t at = from; at + what.size() <= text.size(); ++at)
        if (Lower(text.substr(at, what.size())) == what) return at;
    return std::wstring_view::npos;
}

// A character reference starting at source[at] == '&': its character and length, or a
// length of 0 when it is none we know (the '&' then stands for itself).
struct Entity {
    wchar_t character = 0;
    size_t length = 0;
};

Entity ReadNumericEntity(std::wstring_view source, size_t at) {
    size_t pos = at + 2;
    int base = 10;
    if (pos < source.size() && (source[pos] == L'x' || source[pos] == L'X')) {
        base = 16;
        ++pos;
    }
    unsigned long value = 0;
    size_t digits = 0;
    for (; pos < source.size() && digits < 7; ++pos, ++digits) {
        wchar_t c = source[pos];
        int digit = std::iswdigit(c)                    ? c - L'0'
                    : (base == 16 && std::iswxdigit(c)) ? std::towlower(c) - L'a' + 10
                                                        : -1;
        if (digit < 0) break;
        value = value * base + digit;
    }
    // Characters beyond the 16-bit plane and control characters are not shown.
    if (digits == 0 || pos >= source.size() || source[pos] != L';' || value < 32 ||
        value > 0xFFFD || (value >= 0xD800 && value <= 0xDFFF))
        return {};
    return {static_cast<wchar_t>(value), pos + 1 - at};
}

Entity ReadEntity(std::wstring_view source, size_t at) {
    if (at + 1 < source.size() && source[at + 1] == L'#') return ReadNumericEntity(source, at);
    static const struct {
        const wchar_t* name;
        wchar_t character;
    } named[] = {{L"amp;", L'&'},  {L"lt;", L'<'},    {L"gt;", L'>'},
                 {L"quot;", L'"'}, {L"apos;", L'\''}, {L"nbsp;", kNoBreakSpace}};
    for (const auto& entity : named) {
        std::wstring_view name(entity.name);
        if (source.substr(at + 1, name.size()) == name) return {entity.character, name.size() + 1};
    }
    return {};
}

std::wstring DecodeText(std::wstring_view raw) {
    std::wstring text;
    bool space = false;
    for (size_t at = 0; at < raw.size(); ++at) {
        wchar_t c = raw[at];
        if (IsSpace(c)) {
            space = !text.empty();
            continue;
        }
        if (c == L'&') {
            Entity entity = ReadEntity(raw, at);
            if (entity.length) {
                c = entity.character;
                at += entity.length - 1;
            }
        }
        if (space) text += L' ';
        space = false;
        text += c;
    }
    return text;
}

struct Tag {
    std::wstring name; // lower case
    bool closing = false;
    size_t end = 0; // index after the '>'
};

Tag ReadTag(std::wstring_view source, size_t at) {
    Tag tag;
    size_t pos = at + 1;
    if (pos < source.size() && source[pos] == L'/') {
        tag.closing = true;
        ++pos;
    }
    size_t nameStart = pos;
    while (pos < source.size() && std::iswalnum(source[pos]))
        ++pos;
    tag.name = Lower(source.substr(nameStart, pos - nameStart));
    wchar_t quote = 0;
    for (; pos < source.size(); ++pos) {
        wchar_t c = source[pos];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == L'"' || c == L'\'') {
            quote = c;
        } else if (c == L'>') {
            break;
        }
    }
    tag.end = pos < source.size() ? pos + 1 : source.size();
    return tag;
}

class Builder {
  public:
    HtmlDocument Finish() {
        EndBlock();
        if (document.title.empty()) {
            for (const HtmlBlock& block : document.blocks) {
                if (block.kind != HtmlBlockKind::Paragraph &&
                    block.kind != HtmlBlockKind::ListItem) {
                    document.title = PlainText(block);
                    break;
                }
            }
        }
        return std::move(document);
    }

    void OnTag(const Tag& tag) {
        const std::wstring& name = tag.name;
        if (name == L"h1" || name == L"h2" || name == L"h3") {
            EndBlock();
            if (!tag.closing)
                StartBlock(name == L"h1"   ? HtmlBlockKind::Heading1
                           : name == L"h2" ? HtmlBlockKind::Heading2
                                           : HtmlBlockKind::Heading3);
        } else if (name == L"p" || name == L"div") {
            EndBlock();
            if (!tag.closing) StartBlock(HtmlBlockKind::Paragraph);
        } else if (name == L"ul" || name == L"ol") {
            EndBlock();
            if (!tag.closing)
                lists.push_back({name == L"ol", 0});
            else if (!lists.empty())
                lists.pop_back();
        } else if (name == L"li") {
            EndBlock();
            if (!tag.closing) StartListItem();
        } else if (name == L"b" || name == L"strong") {
            Nest(bold, tag.closing);
        } else if (name == L"i" || name == L"em") {
            Nest(italic, tag.closing);
        } else if (name == L"br") {
            LineBreak();
        }
    }

    void Title(std::wstring_view raw) { document.title = DecodeText(raw); }

    void Text(wchar_t c) {
        if (IsSpace(c)) {
            if (!pendingSpace && open && !AtLineStart()) {
                pendingSpace = true;
                spaceBold = bold > 0;
                spaceItalic = italic > 0;
            }
            return;
        }
        if (!open) StartBlock(HtmlBlockKind::Paragraph);
        if (pendingSpace) Append(L' ', spaceBold, spaceItalic);
        pendingSpace = false;
        Append(c, bold > 0, italic > 0);
    }

  private:
    struct List {
        bool ordered;
        int count;
    };

    static void Nest(int& depth, bool closing) {
        depth = closing ? (depth > 0 ? depth - 1 : 0) : depth + 1;
    }

    HtmlBlock& Current() { return document.blocks.back(); }

    bool AtLineStart() {
        const HtmlBlock& block = Current();
        return block.runs.empty() || block.runs.back().lineBreak;
    }

    void StartBlock(HtmlBlockKind kind) {
        EndBlock();
        HtmlBlock block;
        block.kind = kind;
        block.listDepth = static_cast<int>(lists.size());
        document.blocks.push_back(std::move(block));
        open = true;
    }

    void StartListItem() {
        if (lists.empty()) lists.push_back({false, 0});
        StartBlock(HtmlBlockKind::ListItem);
        List& list = lists.back();
        Current().marker =
            list.ordered ? std::to_wstring(++list.count) + L"." : std::wstring(1, kBullet);
    }

    // Trailing line breaks are dropped; a block left without text disappears.
    void EndBlock() {
        if (!open) return;
        open = false;
        pendingSpace = false;
        HtmlBlock& block = Current();
        while (!block.runs.empty() && block.runs.back().lineBreak)
            block.runs.pop_back();
        if (block.runs.empty()) document.blocks.pop_back();
    }

    void LineBreak() {
        if (!open) StartBlock(HtmlBlockKind::Paragraph);
        HtmlRun run;
        run.lineBreak = true;
        Current().runs.push_back(run);
        pendingSpace = false;
    }

    // A run of whitespace becomes one space in the style it was written in.
    void Append(wchar_t c, bool isBold, bool isItalic) {
        std::vector<HtmlRun>& runs = Current().runs;
        if (runs.empty() || runs.back().lineBreak || runs.back().bold != isBold ||
            runs.back().italic != isItalic) {
            HtmlRun run;
            run.bold = isBold;
            run.italic = isItalic;
            runs.push_back(run);
        }
        runs.back().text += c;
    }

    HtmlDocument document;
    std::vector<List> lists;
    int bold = 0;
    int italic = 0;
    bool open = false;
    bool pendingSpace = false;
    bool spaceBold = false;
    bool spaceItalic = false;
};

// Elements whose content is never shown as text.
bool SkipsContent(const std::wstring& name) {
    return name == L"script" || name == L"style" || name == L"title";
}

} // namespace

HtmlDocument ParseHtml(std::wstring_view source) {
    Builder builder;
    size_t at = 0;
    while (at < source.size()) {
        wchar_t c = source[at];
        if (c == L'<' && source.substr(at, 4) == L"<!--") {
            size_t end = source.find(L"-->", at + 4);
            at = end == std::wstring_view::npos ? source.size() : end + 3;
        } else if (c == L'<' && at + 1 < source.size() &&
                   (source[at + 1] == L'!' || source[at + 1] == L'?')) {
            size_t end = source.find(L'>', at);
            at = end == std::wstring_view::npos ? source.size() : end + 1;
        } else if (c == L'<' && at + 1 < source.size() &&
                   (std::iswalpha(source[at + 1]) || source[at + 1] == L'/')) {
            Tag tag = ReadTag(source, at);
            at = tag.end;
            if (!tag.closing && SkipsContent(tag.name)) {
                size_t close = FindNoCase(source, L"</" + tag.name, at);
                size_t contentEnd = close == std::wstring_view::npos ? source.size() : close;
                if (tag.name == L"title") builder.Title(source.substr(at, contentEnd - at));
                at = close == std::wstring_view::npos ? source.size() : ReadTag(source, close).end;
            } else {
                builder.OnTag(tag);
            }
        } else if (c == L'&') {
            Entity entity = ReadEntity(source, at);
            builder.Text(entity.length ? entity.character : L'&');
            at += entity.length ? entity.length : 1;
        } else {
            builder.Text(c);
            ++at;
        }
    }
    return builder.Finish();
}

HtmlDocument NoticeDocument(const std::wstring& location, const wchar_t* reason) {
    HtmlDocument document;
    document.title = L"Page not available";
    auto add = [&](HtmlBlockKind kind, const std::wstring& text, bool italic) {
        HtmlBlock block;
        block.kind = kind;
        HtmlRun run;
        run.text = text;
        run.italic = italic;
        block.runs.push_back(run);
        document.blocks.push_back(block);
    };
    add(HtmlBlockKind::Heading2, document.title, false);
    add(HtmlBlockKind::Paragraph, reason, false);
    add(HtmlBlockKind::Paragraph, location.empty() ? L"(no address)" : location, true);
    return document;
}

std::wstring PlainText(const HtmlBlock& block) {
    std::wstring text;
    for (const HtmlRun& run : block.runs)
        text += run.lineBreak ? L"\n" : run.text;
    return text;
}
