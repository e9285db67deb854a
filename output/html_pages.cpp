#include "output/html_pages.h"

#include "output/source_date_epoch.h"
#include "text/ascii.h"

#include <array>
#include <cassert>
#include <ctime>
#include <optional>

namespace stambrix::output {

namespace {
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kAlphabetPage = "alfabet.htm";

constexpr std::array<bool, 256> kEscaped = [] {
    std::array<bool, 256> escaped{};
    escaped['&'] = escaped['<'] = escaped['>'] = escaped['"'] = true;
    return escaped;
}();
} // namespace

void AppendEscapedHtml(std::string_view text, std::string& to)
{
    std::size_t plain = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!kEscaped[static_cast<unsigned char>(text[i])])
            continue;
        to.append(text.substr(plain, i - plain));
        switch (text[i]) {
        case '&':
            to += "&amp;";
            break;
        case '<':
            to += "&lt;";
            break;
        case '>':
            to += "&gt;";
            break;
        default:
            to += "&quot;";
        }
        plain = i + 1;
    }
    to.append(text.substr(plain));
}

std::string FooterDate()
{
    const std::tm date = DateOfRun();
    char text[16];
    std::strftime(text, sizeof text, "%d-%m-%Y", &date);
    return text;
}

std::string_view LetterNameOf(char letter)
{
    static constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz";
    if (letter == kOtherPage)
        return "overig";
    assert(letter >= 'a' && letter <= 'z');
    return kLetters.substr(static_cast<std::size_t>(letter - 'a'), 1);
}

std::string LetterPageName(char letter)
{
    return std::string("index").append(LetterNameOf(letter)).append(".htm");
}

HtmlPages::HtmlPages(FileSet& files, OptionPaths optionPaths, charsets::TextEncoding encoding)
    : files_(files), optionPaths_(std::move(optionPaths)), encoding_(encoding)
{
}

void HtmlPages::WriteLine(std::initializer_list<std::string_view> parts)
{
    for (const std::string_view part : parts)
        files_.Write(part);
    files_.Write(kLineEnd);
}

void HtmlPages::WriteTextLine(std::string_view before, std::string_view text, std::string_view after)
{
    line_.assign(before);
    AppendEscapedHtml(text, line_);
    line_.append(after).append(kLineEnd);
    files_.Write(line_);
}

void HtmlPages::OpenPage(std::string_view fileName)
{
    files_.Open(fileName);
}

void HtmlPages::WritePageHead(std::string_view title, bool withBody)
{
    const std::string charset = encoding_ == charsets::TextEncoding::Utf8 ? "utf-8" : "windows-1252";
    WriteLine({"<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML 4.0//EN\">"});
    WriteLine({"<HTML>"});
    WriteLine({"<HEAD>"});
    WriteLine({"<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=", charset, "\">"});
    WriteLine({"<META NAME=\"keywords\" CONTENT=\"Wendmoor,Genealogie,Tollemark,Ruskavel,Stambrix\">"});
    WriteLine({"<META NAME=\"description\" CONTENT=\"inhoudpagina Genealogie\">"});
    WriteLine({"<META NAME=\"robots\" CONTENT=\"index, follow\">"});
    WriteLine({"<META NAME=\"generator\" CONTENT=\"Stambrix van Wendmoor\">"});
    WriteTextLine("<LINK REL=\"STYLESHEET\" TYPE=\"text/css\" HREF=\"",
                  text::ToLowerAscii(optionPaths_.styleSheetPath + "Genealogie.css"), "\">");
    WriteTextLine("<SCRIPT TYPE=\"text/javascript\" LANGUAGE=\"javascript\" SRC=\"",
                  text::ToLowerAscii(optionPaths_.javaScriptPath + "Genealogie.js"), "\"></SCRIPT>");
    WriteTextLine("<TITLE>", title, "</TITLE>");
    WriteLine({"</HEAD>"});
    WriteLine({});
    if (!withBody)
        return;
    WriteTextLine("<BODY BACKGROUND=\"", text::ToLowerAscii(optionPaths_.achtergrondPath), "achtergrond.jpg\">");
    WriteLine({});
}

void HtmlPages::WriteFrameset(std::string_view contentPage)
{
    WriteLine({"<FRAMESET FRAMEBORDER=\"0\" FRAMESPACING=\"0\" BORDER=\"0\" ROWS=\"39,*\">"});
    WriteLine({"   <FRAME NAME=\"inhoudindex\" SRC=\"", kAlphabetPage, "\" SCROLLING=\"no\" NORESIZE>"});
    WriteLine({"         <FRAME NAME=\"inhoudalfabet\" SRC=\"", contentPage, "\" SCROLLING=\"auto\">"});
    WriteLine({"      </FRAMESET>"});
    WriteLine({"   <NOFRAMES>"});
    WriteLine({"      <BODY>"});
    WriteLine({"         <P>Op deze pagina worden frames gebruikt, maar uw browser ondersteunt geen frames.</P>"});
    WriteLine({"      </BODY>"});
    WriteLine({"   </NOFRAMES>"});
    WriteLine({"</FRAMESET>"});
}

void HtmlPages::WriteAlphabetBar(bool framed, std::string_view pageReference, bool otherCell)
{
    WriteLine({"   <TABLE BORDER=\"1\" ALIGN=\"center\">"});
    WriteLine({"   <TR>"});
    for (char letter = 'a'; letter <= 'z'; ++letter)
        WriteAlphabetCell(framed, pageReference, letter);
    if (otherCell)
        WriteAlphabetCell(framed, pageReference, kOtherPage);
    WriteLine({"   </TR>"});
    WriteLine({"   </TABLE>"});
}

void HtmlPages::WriteAlphabetCell(bool framed, std::string_view pageReference, char letter)
{
    const char capital = letter == kOtherPage ? kOtherPage : text::ToUpperAscii(letter);
    const std::string_view label(&capital, 1);
    WriteLine({"      <TD WIDTH=\"3.9%\" HEIGHT=\"21\" ALIGN=\"center\">"});
    WriteLine({"      <H6 CLASS=\"standaard\">"});
    if (framed)
        WriteLine({"      <A CLASS=\"1\" TARGET=\"inhoudalfabet\" HREF=\"", LetterPageName(letter), "\"><B>", label,
                   "</B></A>"});
    else
        WriteLine({"      <A CLASS=\"1\" HREF=\"", pageReference, "#inhoud", LetterNameOf(letter), "\"><B>", label,
                   "</B></A>"});
    WriteLine({"      </H6>"});
    WriteLine({"      </TD>"});
}

void HtmlPages::WriteLetterAnchor(char letter)
{
    WriteLine({"      <A NAME=\"inhoud", LetterNameOf(letter), "\"></A>"});
}

void HtmlPages::WritePageFooter()
{
    WriteLine({});
    WriteLine({"<HR>"});
    WriteLine({"<H6 CLASS=\"copyright\" ALIGN=\"right\">"});
    WriteLine({"laatst bijgewerkt : ", FooterDate(), "<BR>"});
    WriteLine({"</H6>"});
}

void HtmlPages::WritePageEnd(bool withBody)
{
    if (withBody) {
        WriteLine({});
        WriteLine({"</BODY>"});
    }
    WriteLine({});
    WriteLine({"</HTML>"});
}

void HtmlPages::ClosePage()
{
    files_.Close();
}

void HtmlPages::FinishContentPage()
{
    WritePageFooter();
    WritePageEnd(true);
    ClosePage();
}

void HtmlPages::WriteFramePages(bool otherCell)
{
    OpenPage("index.htm");
    WritePageHead("Index", false);
    WriteFrameset("indexa.htm");
    WritePageEnd(false);
    ClosePage();

    OpenPage(kAlphabetPage);
    WritePageHead("Alfabet", true);
    WriteAlphabetBar(true, kAlphabetPage, otherCell);
    WritePageEnd(true);
    ClosePage();
}

void HtmlPages::OpenLetterPage(char letter)
{
    const std::string name = LetterPageName(letter);
    OpenPage(name);
    // The title keeps the capital the page name had before pages were written in lower case.
    WritePageHead("I" + name.substr(1), true);
}

void HtmlPages::OpenSinglePage(bool otherCell)
{
    // The pages of an earlier framed run go when the single page is put in place, so no page of that
    // run stays to be found.
    files_.Remove(kAlphabetPage);
    for (char letter = 'a'; letter <= 'z'; ++letter)
        files_.Remove(LetterPageName(letter));
    files_.Remove(LetterPageName(kOtherPage));
    OpenPage("index.htm");
    WritePageHead("Index.htm", true);
    WriteAlphabetBar(false, "index.htm", otherCell);
    WriteLine({});
}

void HtmlPages::WriteWholePage(std::string_view fileName, std::string_view bytes)
{
    files_.Open(fileName);
    files_.Write(bytes);
    files_.Close();
}

void HtmlPages::WriteEmptyLetterPage(char letter)
{
    OpenLetterPage(letter);
    FinishContentPage();
}

} // namespace stambrix::output
