#pragma once

#include "charsets/text_encoding.h"
#include "output/file_set.h"

#include <string>
#include <string_view>

namespace stambrix::output {

/// The three paths of the options window, used in every page head exactly as typed: a value
/// meant as a folder ends in its own separator.
struct OptionPaths
{
    std::string javaScriptPath;
    std::string styleSheetPath;
    std::string achtergrondPath;
};

/// Appends `text` to `to` with "&", "<", ">" and the double quote written as character references.
void AppendEscapedHtml(std::string_view text, std::string& to);

/// The footer date "dd-mm-yyyy": today's local date, or, when SOURCE_DATE_EPOCH holds a moment
/// (SourceDateEpochMoment), the UTC date of that moment, so the same input can give the same pages.
std::string FooterDate();

/// The letter of the page for headings that do not begin with a letter: "indexoverig.htm", shown
/// as "#" on the alphabet page.
constexpr char kOtherPage = '#';

/// The blocks every index page is built from, written into a set of files, one page open at a
/// time. Pages are written under lower-case names ("index.htm", "alfabet.htm", "indexa.htm" ...),
/// the names the pages refer to; the set puts them in place together. Text from the GEDCOM file and
/// the option paths is escaped. Throws text::RunFailure.
class HtmlPages
{
public:
    /// The page heads declare `encoding`, the encoding of the index lines.
    HtmlPages(FileSet& files, OptionPaths optionPaths, charsets::TextEncoding encoding);

    charsets::TextEncoding Encoding() const { return encoding_; }

    /// Starts the page `fileName`.
    void OpenPage(std::string_view fileName);
    void WritePageHead(std::string_view title, bool withBody);
    void WriteFrameset(std::string_view contentPage);
    /// The 26 letter cells; with `otherCell` one more, "#", for the page kOtherPage or, on the
    /// single page, its anchor.
    void WriteAlphabetBar(bool framed, std::string_view pageReference, bool otherCell);
    /// The anchor the single page's link of `letter` ("a" to "z", or kOtherPage) jumps to.
    void WriteLetterAnchor(char letter);
    void WritePageFooter();
    void WritePageEnd(bool withBody);
    /// Completes the open page.
    void ClosePage();

    void WriteListStart() { WriteLine({"   <UL TYPE=\"square\">"}); }
    void WriteListEnd() { WriteLine({"   </UL>"}); }
    /// One line: `before`, then `text` escaped, then `after`.
    void WriteTextLine(std::string_view before, std::string_view text, std::string_view after);

    /// Footer, end and close of a letter page or the single page.
    void FinishContentPage();
    /// The frameset page and the alphabet page; `otherCell` as in WriteAlphabetBar.
    void WriteFramePages(bool otherCell);
    /// The page of `letter` ("a" to "z", or kOtherPage) with its head.
    void OpenLetterPage(char letter);
    /// The page of `letter` with its head, footer and end, and no list.
    void WriteEmptyLetterPage(char letter);
    /// The single page with its head and alphabet bar; `otherCell` as in WriteAlphabetBar. The pages of
    /// the framed layout, of an earlier run, go when the set is put in place.
    void OpenSinglePage(bool otherCell);
    /// A page `fileName` is there from an earlier run.
    bool HasPage(std::string_view fileName) const { return files_.Holds(fileName); }
    /// The page `fileName`, made elsewhere, written whole.
    void WriteWholePage(std::string_view fileName, std::string_view bytes);
    /// Pages with the same paths and encoding, written into `files`.
    HtmlPages WithFiles(FileSet& files) const { return {files, optionPaths_, encoding_}; }

private:
    void WriteAlphabetCell(bool framed, std::string_view pageReference, char letter);
    void WriteLine(std::initializer_list<std::string_view> parts);

    FileSet& files_;
    OptionPaths optionPaths_;
    charsets::TextEncoding encoding_;
    std::string line_; // the text line being made, handed over whole
};

/// A letter as page and anchor names hold it: "a" for "a", "overig" for kOtherPage.
std::string_view LetterNameOf(char letter);

/// The name of a letter's page: "indexa.htm" for "a", "indexoverig.htm" for kOtherPage.
std::string LetterPageName(char letter);

} // namespace stambrix::output
