#include "platform/shell/HtmlDocument.h"
#include <gtest/gtest.h>

namespace {

// One line per block: kind letter, list depth and marker, then the runs, bold as *text*,
// italic as /text/, line breaks as |.
std::wstring Describe(const HtmlDocument& document) {
    std::wstring out;
    for (const HtmlBlock& block : document.blocks) {
        static const wchar_t kinds[] = L"123PL";
        out += kinds[static_cast<int>(block.kind)];
        if (block.listDepth) out += std::to_wstring(block.listDepth);
        if (!block.marker.empty()) out += L"[" + block.marker + L"]";
        out += L":";
        for (const HtmlRun& run : block.runs) {
            if (run.lineBreak) {
                out += L"|";
                continue;
            }
            std::wstring text = run.text;
            if (run.italic) text = L"/" + text + L"/";
            if (run.bold) text = L"*" + text + L"*";
            out += text;
        }
        out += L"\n";
    }
    return out;
}

TEST(HtmlDocumentTest, SnippetsBecomeBlocksOfStyledRuns) {
    const struct {
        const wchar_t* html;
        const wchar_t* blocks;
    } cases[] = {
        {L"<h1>Title</h1><h2>Two</h2><h3>Three</h3>", L"1:Title\n2:Two\n3:Three\n"},
        {L"<p>  Some   text\n across\tlines  </p>", L"P:Some text across lines\n"},
        {L"<p>a <b>bold</b> and <i>slanted</i> <strong><em>both</em></strong></p>",
         L"P:a *bold* and /slanted/ */both/*\n"},
        {L"<P>upper <B>case</B> tags</P>", L"P:upper *case* tags\n"},
        {L"<p>one<br>two<br/>three<br></p>", L"P:one|two|three\n"},
        {L"<ul><li>a</li><li>b</ul>", L"L1[\x2022]:a\nL1[\x2022]:b\n"},
        {L"<ol><li>a<li>b<ol><li>c</ol><li>d</ol>", L"L1[1.]:a\nL1[2.]:b\nL2[1.]:c\nL1[3.]:d\n"},
        {L"&amp; &lt;x&gt; &quot;q&quot; a&nbsp;b &#65;&#x42; &bogus; AT&T",
         L"P:& <x> \"q\" a\xA0"
         L"b AB &bogus; AT&T\n"},
        {L"<p>keep <span class=\"x>y\">unknown</span> tags' text</p>",
         L"P:keep unknown tags' text\n"},
        {L"<!DOCTYPE html><!-- a <p>comment</p> --><script>var p='<p>x</p>';</script>"
         L"<style>p{}</style><p>shown</p>",
         L"P:shown\n"},
        {L"loose text<p></p><p> </p>", L"P:loose text\n"},
        {L"<p>unclosed <b>bold", L"P:unclosed *bold*\n"},
        {L"<p>a</b></i>b</p>", L"P:ab\n"},
        {L"<p>x</p>trailing < 3 and <", L"P:x\nP:trailing < 3 and <\n"},
        {L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Describe(ParseHtml(c.html)), c.blocks) << c.html;
}

TEST(HtmlDocumentTest, TitleComesFromTheTitleElementElseTheFirstHeading) {
    const struct {
        const wchar_t* html;
        const wchar_t* title;
    } cases[] = {
        {L"<html><head><title> Help &amp; more </title></head><body><h1>H</h1></body>",
         L"Help & more"},
        {L"<p>text</p><h2>Second</h2><h1>First</h1>", L"Second"},
        {L"<p>no heading</p>", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseHtml(c.html).title, c.title) << c.html;
}

TEST(HtmlDocumentTest, NoticeNamesThePage) {
    HtmlDocument notice = NoticeDocument(L"file://C:\\nowhere\\help.html");
    EXPECT_EQ(notice.title, L"Page not available");
    ASSERT_FALSE(notice.blocks.empty());
    EXPECT_EQ(PlainText(notice.blocks.back()), L"file://C:\\nowhere\\help.html");
}

} // namespace
