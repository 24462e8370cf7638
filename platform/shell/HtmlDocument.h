#pragma once
// The page model of the HTML viewer: a page read into blocks (headings, paragraphs, list
// items) of styled text runs. Portable: the viewer lays the blocks out and paints them.
// The subset understood: h1-h3, p, div, ul, ol, li, b, strong, i, em, br, title, the
// entities &amp; &lt; &gt; &quot; &apos; &nbsp; and numeric character references. Other tags
// are ignored, their text kept; comments, scripts and styles are dropped.
#include <string>
#include <string_view>
#include <vector>

enum class HtmlBlockKind { Heading1, Heading2, Heading3, Paragraph, ListItem };

struct HtmlRun {
    std::wstring text; // whitespace already collapsed; U+00A0 stands for &nbsp;
    bool bold = false;
    bool italic = false;
    bool lineBreak = false; // a <br>: the run holds no text
};

struct HtmlBlock {
    HtmlBlockKind kind = HtmlBlockKind::Paragraph;
    int listDepth = 0;   // 1 for an item of an outer list, 2 for one nested in it, ...
    std::wstring marker; // "1." in an ordered list, a bullet in an unordered one
    std::vector<HtmlRun> runs;
};

struct HtmlDocument {
    std::wstring title; // the <title>, else the first heading's text
    std::vector<HtmlBlock> blocks;
};

HtmlDocument ParseHtml(std::wstring_view source);

// What the viewer shows for a page it cannot load, with the reason above the address.
HtmlDocument NoticeDocument(const std::wstring& location,
                            const wchar_t* reason = L"The page could not be opened:");

// A block's text without styles, line breaks as '\n'.
std::wstring PlainText(const HtmlBlock& block);
