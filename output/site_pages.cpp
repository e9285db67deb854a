#include "output/site_pages.h"

#include "output/html_pages.h"
#include "output/letter_pages.h"
#include "output/name_index_pages.h"
#include "output/site_html.h"
#include "text/ascii.h"
#include "text/two_threads.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <condition_variable>
#include <iterator>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace stambrix::output {

namespace {
constexpr std::string_view kNoFamilyName = "zonder achternaam";
// More than the markup around a heading's text takes.
constexpr std::size_t kHeadingMarkup = 64;

struct Sign
{
    std::string_view sign;
    std::string_view word;
};
constexpr std::array<Sign, 4> kSigns{{{"*", "geboren"}, {"~", "gedoopt"}, {"+", "overleden"}, {"[]", "begraven"}}};

// The ids given on one page, kept as hashes. Two ids with the same hash count as one, which only
// gives the later one a longer id. The table keeps its size from page to page.
class PageIds
{
public:
    void Clear()
    {
        std::fill(slots_.begin(), slots_.end(), 0);
        used_ = 0;
    }

    /// Takes `id`; true when it was taken already.
    bool Take(std::string_view id)
    {
        if (2 * (used_ + 1) > slots_.size())
            Grow();
        return Insert(HashOf(id));
    }

private:
    static std::uint64_t HashOf(std::string_view id)
    {
        std::uint64_t hash = 0xCBF29CE484222325U;
        for (const char byte : id)
            hash = (hash ^ static_cast<unsigned char>(byte)) * 0x100000001B3U;
        return hash | 1U; // 0 marks a free slot
    }
    bool Insert(std::uint64_t hash)
    {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
            if (slots_[slot] == hash)
                return true;
            if (slots_[slot] == 0) {
                slots_[slot] = hash;
                ++used_;
                return false;
            }
        }
    }
    void Grow()
    {
        std::vector<std::uint64_t> old(std::max<std::size_t>(1024, 2 * slots_.size()), 0);
        old.swap(slots_);
        used_ = 0;
        for (const std::uint64_t hash : old)
            if (hash != 0)
                Insert(hash);
    }

    std::vector<std::uint64_t> slots_;
    std::size_t used_ = 0;
};

// The part of a name index line after its heading, up to the tab before the record id, and the
// record id without "[@" and "@]" (as it stands when it has no such form).
struct EntryFields
{
    std::string_view fields;
    std::string_view recordId;
};

EntryFields EntryFieldsOf(std::string_view line)
{
    const auto comma = line.find(',');
    const auto idTab = line.rfind('\t');
    const std::size_t start = comma == std::string_view::npos ? 0 : comma + 1;
    const std::size_t end = idTab == std::string_view::npos ? line.size() : idTab;
    EntryFields entry;
    if (end >= start)
        entry.fields = line.substr(start, end - start);
    if (idTab != std::string_view::npos) {
        std::string_view id = text::Trim(line.substr(idTab + 1));
        if (id.size() > 4 && id.starts_with("[@") && id.ends_with("@]"))
            id = id.substr(2, id.size() - 4);
        entry.recordId = id;
    }
    return entry;
}

const Sign* SignOf(std::string_view field)
{
    for (const Sign& sign : kSigns)
        if (field.starts_with(sign.sign) && (field.size() == sign.sign.size() || field[sign.sign.size()] == ' '))
            return &sign;
    return nullptr;
}

// The lines of each letter page, in index order.
using LetterLines = std::array<std::vector<std::uint32_t>, kSiteLetters>;

LetterLines GatherLetters(const index::IndexList& indexList, charsets::TextEncoding encoding)
{
    LetterLines letters;
    std::uint32_t line = 0;
    index::VisitLines(indexList, [&](std::string_view text) {
        letters[LetterIndexOf(LetterOf(HeadingOf(text), encoding))].push_back(line++);
    });
    return letters;
}

void AppendLetterTitle(char letter, std::uint32_t number, std::string& to)
{
    to.append("Namenindex: ").push_back(CapitalOf(letter));
    if (number > 1)
        to.append(", pagina ").append(std::to_string(number));
}

// Lets the second writer wait until the first has shared the lines out, or has failed to. Not a
// std::latch: in the Windows build (the C++ library of GCC 12 for mingw-w64) a latch that had to
// block never woke.
class LettersGate
{
public:
    void Open()
    {
        {
            const std::lock_guard<std::mutex> opening(mutex_);
            open_ = true;
        }
        opened_.notify_all();
    }
    void WaitUntilOpen()
    {
        std::unique_lock<std::mutex> waiting(mutex_);
        opened_.wait(waiting, [this] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable opened_;
    bool open_ = false;
};

// Opens the gate when it goes, also when what it guards throws.
class LettersDone
{
public:
    explicit LettersDone(LettersGate& gate) : gate_(gate) {}
    ~LettersDone() { gate_.Open(); }
    LettersDone(const LettersDone&) = delete;
    LettersDone& operator=(const LettersDone&) = delete;

private:
    LettersGate& gate_;
};

// Hands out the letters that have lines to two writers, one from the front and one from the back,
// each letter once.
class LetterShare
{
public:
    explicit LetterShare(const LetterLines& letters) : letters_(letters) {}

    /// The place of the next letter from the front or the back; kSiteLetters when none is left.
    std::size_t Take(bool fromFront)
    {
        const std::lock_guard<std::mutex> taking(mutex_);
        while (front_ < back_) {
            const std::size_t place = fromFront ? front_++ : --back_;
            if (!letters_[place].empty())
                return place;
        }
        return kSiteLetters;
    }

    /// Hands out no more letters: the other writer failed.
    void Stop()
    {
        const std::lock_guard<std::mutex> taking(mutex_);
        front_ = back_;
    }

private:
    const LetterLines& letters_;
    std::mutex mutex_;
    std::size_t front_ = 0;
    std::size_t back_ = kSiteLetters;
};

// Writes the pages of one letter after another, each page's persons held until the page is full.
// A line's page in `plan` is first the number of the page within its letter.
class LetterPageWriter
{
public:
    LetterPageWriter(const index::IndexList& indexList, charsets::TextEncoding encoding, FileSet& files,
                     std::mutex& filing, WrittenCounter& counter, SitePlan& plan, const LetterCounts& counts,
                     std::string_view date, std::size_t pageLimit)
        : indexList_(indexList), encoding_(encoding), files_(files), filing_(filing), counter_(counter), plan_(plan),
          counts_(counts), date_(date), pageLimit_(pageLimit)
    {
    }

    /// The bytes of the longest id written.
    std::size_t LongestId() const { return longestId_; }

    /// Writes the pages of `letter`, whose lines are `lines`, and puts their names in `pageNames`.
    void WriteLetter(char letter, std::span<const std::uint32_t> lines, std::vector<std::string>& pageNames)
    {
        letter_ = letter;
        pageNames_ = &pageNames;
        number_ = 1;
        StartPage();
        NewHeadings headings;
        for (const std::uint32_t line : lines) {
            const std::string_view text = indexList_.LineAt(line, lineScratch_);
            // A page begins with a heading, also one of persons without a family name.
            bool newHeading = headings.IsNew(HeadingOf(text)) || persons_ == 0;
            if (newHeading)
                MakeHeadingText(HeadingOf(text));
            MakeEntry(line, text);
            if (persons_ > 0 && !Fits(newHeading)) {
                FinishPage(true);
                ++number_;
                StartPage();
                MakeEntry(line, text);
                newHeading = true;
            }
            if (newHeading)
                AppendHeading();
            if (persons_ == 0)
                firstHeading_ = headingText_;
            lastHeading_ = headingText_;
            body_.append(entry_);
            plan_.pageOfLine[line] = static_cast<std::uint32_t>(pageNames_->size() - 1);
            ++persons_;
            counter_.Count();
        }
        FinishPage(false);
    }

private:
    void StartPage()
    {
        std::string name;
        AppendSitePageName(letter_, number_, name);
        pageNames_->push_back(std::move(name));
        body_.clear();
        ids_.Clear();
        persons_ = 0;
        headingIds_ = 0;
        // The frame with both neighbour links and without names, and room for the words between the
        // names, is the most it takes besides them.
        frame_.clear();
        AppendFrame(number_ > 1, true, {}, {}, frame_);
        frameSize_ = frame_.size() + kHeadingMarkup;
    }

    bool Fits(bool newHeading) const
    {
        const std::size_t heading = newHeading ? headingText_.size() + kHeadingMarkup : 0;
        return frameSize_ + firstHeading_.size() + headingText_.size() + body_.size() + heading + entry_.size() <=
               pageLimit_;
    }

    void FinishPage(bool hasNext)
    {
        frame_.clear();
        AppendFrame(number_ > 1, hasNext, firstHeading_, lastHeading_, frame_);
        const std::size_t split = frame_.find(kBodyMark);
        assert(split != std::string::npos);
        const std::lock_guard<std::mutex> filing(filing_);
        files_.Open(pageNames_->back());
        files_.Write(std::string_view(frame_).substr(0, split));
        files_.Write(body_);
        files_.Write(std::string_view(frame_).substr(split + kBodyMark.size()));
        files_.Close();
        assert(frame_.size() - kBodyMark.size() + body_.size() <= pageLimit_ || persons_ == 1);
    }

    // The page around its persons, kBodyMark where they go.
    void AppendFrame(bool hasPrevious, bool hasNext, std::string_view first, std::string_view last,
                     std::string& to) const
    {
        std::string title;
        AppendLetterTitle(letter_, number_, title);
        std::string description = "Namen in de namenindex ";
        if (letter_ == kOtherPage)
            description.append("zonder achternaam of met een achternaam die niet met een letter begint");
        else
            description.append("met de letter ").push_back(CapitalOf(letter_));
        if (number_ > 1)
            description.append(", pagina ").append(std::to_string(number_));
        AppendPageTop({title, description, counts_, letter_, false}, to);
        std::string links;
        if (hasPrevious || hasNext) {
            to.append("<p class=\"bereik\">Op deze pagina: ").append(first);
            if (last != first)
                to.append(" tot en met ").append(last);
            to.append("</p>\n");
            AppendNeighbourLinks(hasPrevious, hasNext, links);
            to.append(links);
        }
        to.append("<p class=\"legenda\" aria-hidden=\"true\">* geboren, ~ gedoopt, + overleden, [] begraven</p>\n");
        to.append(kBodyMark).append("</ul>\n").append(links);
        AppendPageFoot(date_, to);
    }

    void AppendNeighbourLinks(bool hasPrevious, bool hasNext, std::string& to) const
    {
        const char capital = CapitalOf(letter_);
        to.append("<nav class=\"bladeren\" aria-label=\"Pagina's van ").push_back(capital);
        to.append("\">\n");
        if (hasPrevious) {
            to.append("<a href=\"");
            AppendSitePageName(letter_, number_ - 1, to);
            to.append("\" rel=\"prev\">Vorige pagina van ").push_back(capital);
            to.append("</a>\n");
        }
        if (hasNext) {
            to.append("<a href=\"");
            AppendSitePageName(letter_, number_ + 1, to);
            to.append("\" rel=\"next\">Volgende pagina van ").push_back(capital);
            to.append("</a>\n");
        }
        to.append("</nav>\n");
    }

    void MakeHeadingText(std::string_view heading)
    {
        headingText_.clear();
        if (text::Trim(heading).empty())
            headingText_.assign(kNoFamilyName);
        else
            AppendHtmlText(text::Trim(heading), encoding_, textScratch_, headingText_);
    }

    void AppendHeading()
    {
        if (persons_ > 0)
            body_.append("</ul>\n");
        body_.append("<h2 id=\"f").append(std::to_string(++headingIds_)).append("\">");
        body_.append(headingText_).append("</h2>\n<ul class=\"personen\">\n");
    }

    // The person's element: given names and prefix, the first event with its sign said as a word,
    // the sex, the record id. A page holds thousands of them, so each has as few elements as it can:
    // how fast a phone lays out a page goes with their number.
    void MakeEntry(std::uint32_t line, std::string_view text)
    {
        id_.clear();
        plan_.idTakenBefore[line] = 0;
        AppendIdOf(plan_, line, text, id_);
        if (ids_.Take(id_)) {
            plan_.idTakenBefore[line] = 1;
            id_.clear();
            AppendIdOf(plan_, line, text, id_);
            ids_.Take(id_);
        }
        longestId_ = std::max(longestId_, id_.size());
        entry_.assign("<li id=\"").append(id_).append("\">");
        const EntryFields entry = EntryFieldsOf(text);
        std::string_view fields = entry.fields;
        bool first = true;
        while (true) {
            const auto tab = fields.find('\t');
            const std::string_view field = text::Trim(fields.substr(0, tab));
            if (first)
                AppendGivenNames(field);
            else if (!field.empty())
                AppendField(field);
            first = false;
            if (tab == std::string_view::npos)
                break;
            fields.remove_prefix(tab + 1);
        }
        if (!entry.recordId.empty()) {
            entry_.append(" (");
            AppendHtmlText(entry.recordId, encoding_, textScratch_, entry_);
            entry_.push_back(')');
        }
        entry_.append("</li>\n");
    }

    void AppendGivenNames(std::string_view names)
    {
        AppendHtmlText(names.empty() ? std::string_view("(geen voornaam)") : names, encoding_, textScratch_, entry_);
    }

    void AppendField(std::string_view field)
    {
        entry_.append(", ");
        const Sign* sign = SignOf(field);
        if (sign == nullptr) {
            AppendHtmlText(field, encoding_, textScratch_, entry_);
            return;
        }
        entry_.append("<i aria-hidden=\"true\">")
            .append(sign->sign)
            .append("</i><b>")
            .append(sign->word)
            .append("</b>");
        const std::string_view date = text::Trim(field.substr(sign->sign.size()));
        if (!date.empty()) {
            entry_.push_back(' ');
            AppendHtmlText(date, encoding_, textScratch_, entry_);
        }
    }

    static constexpr std::string_view kBodyMark = "\x01";

    const index::IndexList& indexList_;
    charsets::TextEncoding encoding_;
    FileSet& files_;
    std::mutex& filing_; // held while a page is written
    WrittenCounter& counter_;
    SitePlan& plan_;
    const LetterCounts& counts_;
    std::string_view date_;
    std::size_t pageLimit_;

    char letter_ = 'a';
    std::vector<std::string>* pageNames_ = nullptr;
    std::uint32_t number_ = 1;
    std::size_t longestId_ = 0;
    std::size_t persons_ = 0;
    std::uint32_t headingIds_ = 0;
    std::size_t frameSize_ = 0;
    PageIds ids_;
    std::string frame_;
    std::string body_;
    std::string entry_;
    std::string id_;
    std::string headingText_;
    std::string firstHeading_; // of the page's first person
    std::string lastHeading_;  // of the page's last person
    std::string lineScratch_;
    std::string textScratch_;
};

void WriteEntryPage(std::uint64_t persons, const LetterCounts& counts, std::string_view date, FileSet& files)
{
    std::string page;
    AppendPageTop({"Namenindex", "Alfabetische namenindex van een stamboom: zoek een naam of kies een letter", counts,
                   '\0', true},
                  page);
    page.append("<p class=\"personen-aantal\">").append(std::to_string(persons));
    page.append(persons == 1 ? " persoon</p>\n" : " personen</p>\n");
    AppendPageFoot(date, page);
    files.Open("index.html");
    files.Write(page);
    files.Close();
}
} // namespace

void WriteSitePages(const index::IndexList& indexList, charsets::TextEncoding encoding, FileSet& files,
                    WrittenCounter& counter, SitePlan& plan, const std::function<void()>& besides,
                    std::size_t pageLimit)
{
    // The first thread shares the lines out over the letters and writes index.html while the second
    // does `besides`; the second takes letters once the first has them ready.
    LetterLines letters;
    LetterCounts counts{};
    const std::string date = FooterDate();
    std::array<std::vector<std::string>, kSiteLetters> pageNames;
    LetterShare share(letters);
    std::mutex filing;
    LettersGate lettersDone;
    bool lettersReady = false;
    const auto prepare = [&] {
        const LettersDone done(lettersDone);
        letters = GatherLetters(indexList, encoding);
        for (std::size_t place = 0; place < kSiteLetters; ++place)
            counts[place] = letters[place].size();
        plan.pageOfLine.assign(indexList.size(), 0);
        plan.idTakenBefore.assign(indexList.size(), 0);
        WriteEntryPage(indexList.size(), counts, date, files);
        lettersReady = true;
    };
    const auto writeLetters = [&](LetterPageWriter& writer, bool fromFront) {
        try {
            for (std::size_t place = share.Take(fromFront); place != kSiteLetters; place = share.Take(fromFront))
                writer.WriteLetter(SiteLetterAt(place), letters[place], pageNames[place]);
        } catch (...) {
            share.Stop();
            throw;
        }
    };
    LetterPageWriter front(indexList, encoding, files, filing, counter, plan, counts, date, pageLimit);
    // The second thread's lines are counted once it is done; its own count only stops it when the
    // run is cancelled.
    progress::ProgressThrottle silent = counter.Beside();
    std::uint64_t backCount = 0;
    WrittenCounter backCounter(silent, backCount);
    LetterPageWriter back(indexList, encoding, files, filing, backCounter, plan, counts, date, pageLimit);
    const auto writeFront = [&] {
        prepare();
        writeLetters(front, true);
    };
    const auto writeBack = [&] {
        if (besides)
            besides();
        lettersDone.WaitUntilOpen();
        if (lettersReady)
            writeLetters(back, false);
    };
    if (!text::RunOnTwoThreads(writeFront, writeBack)) {
        writeFront();
        writeBack();
    }
    counter.Count(backCount);

    // The pages in letter order, and each line's page among them.
    plan.pageNames.clear();
    for (std::size_t place = 0; place < kSiteLetters; ++place) {
        const auto first = static_cast<std::uint32_t>(plan.pageNames.size());
        for (const std::uint32_t line : letters[place])
            plan.pageOfLine[line] += first;
        std::move(pageNames[place].begin(), pageNames[place].end(), std::back_inserter(plan.pageNames));
    }
    plan.longestId = std::max(front.LongestId(), back.LongestId());
}

} // namespace stambrix::output
