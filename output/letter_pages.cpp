#include "output/letter_pages.h"

#include "charsets/base_letter.h"
#include "progress/progress_throttle.h"
#include "text/ascii.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

namespace stambrix::output {

bool SameHeading(std::string_view previous, std::string_view heading)
{
    return text::EqualsNoCase(text::Trim(previous), text::Trim(heading));
}

char LetterOf(std::string_view heading, charsets::TextEncoding encoding)
{
    const char letter = charsets::BaseLetterOf(heading, encoding);
    return letter != '\0' ? letter : kOtherPage;
}

namespace {
// One page at a time, held in memory.
class PageBuffer final : public FileSet
{
public:
    void Open(std::string_view name) override
    {
        name_.assign(name);
        bytes_.clear();
    }
    void Write(std::string_view bytes) override { bytes_.append(bytes); }
    void Close() override {}
    void Remove(std::string_view) override {}
    void Publish() override {}
    bool Holds(std::string_view) const override { return false; }
    std::string PathOf(std::string_view name) const override { return std::string(name); }

    std::string name_;
    std::string bytes_;
};

void WriteLetterPage(char letter, const index::SelectedLines& lines, HtmlPages& pages, WrittenCounter& counter,
                     const LetterItems& writeItems)
{
    pages.OpenLetterPage(letter);
    pages.WriteListStart();
    writeItems(pages, counter, lines);
    pages.WriteListEnd();
    pages.FinishContentPage();
}

// A page the second thread made, its lines not yet counted.
struct MadePage
{
    std::string name;
    std::string bytes;
    std::uint64_t lines = 0;
};

// The letter pages a second thread makes. It makes the next page only once the one before is
// taken, so no more than two of its pages are in memory.
class SecondThreadPages
{
public:
    SecondThreadPages(std::string letters, const LetterGroups& groups, const HtmlPages& pages,
                      const WrittenCounter& counter, const LetterItems& writeItems)
        : letters_(std::move(letters)), groups_(groups), writeItems_(writeItems), pages_(pages.WithFiles(buffer_)),
          silent_(counter.Beside()), counter_(silent_, count_), thread_([this] { MakePages(); })
    {
    }

    ~SecondThreadPages()
    {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }

    SecondThreadPages(const SecondThreadPages&) = delete;
    SecondThreadPages& operator=(const SecondThreadPages&) = delete;

    // Writes the pages made by now into `pages` and counts their lines; with `all`, waits for every
    // page. Throws what the thread threw.
    void HandOver(HtmlPages& pages, WrittenCounter& counter, bool all)
    {
        for (;;) {
            MadePage page;
            {
                std::unique_lock lock(mutex_);
                if (all)
                    changed_.wait(lock, [this] { return made_.has_value() || done_; });
                if (failure_)
                    std::rethrow_exception(failure_);
                if (!made_)
                    return;
                page = std::move(*made_);
                made_.reset();
            }
            changed_.notify_all();
            pages.WriteWholePage(page.name, page.bytes);
            counter.Count(page.lines);
        }
    }

private:
    void MakePages()
    {
        try {
            for (const char letter : letters_) {
                const std::uint64_t before = count_;
                WriteLetterPage(letter, groups_.LinesOf(letter), pages_, counter_, writeItems_);
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return !made_.has_value() || stop_; });
                if (stop_)
                    return;
                made_ = MadePage{buffer_.name_, std::move(buffer_.bytes_), count_ - before};
                lock.unlock();
                changed_.notify_all();
            }
        } catch (...) {
            const std::lock_guard lock(mutex_);
            failure_ = std::current_exception();
        }
        {
            const std::lock_guard lock(mutex_);
            done_ = true;
        }
        changed_.notify_all();
    }

    std::string letters_; // one character a page
    const LetterGroups& groups_;
    const LetterItems& writeItems_;
    PageBuffer buffer_;
    HtmlPages pages_;
    progress::ProgressThrottle silent_; // passes nothing on: the thread that takes the pages counts them
    std::uint64_t count_ = 0;
    WrittenCounter counter_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<MadePage> made_;
    std::exception_ptr failure_;
    bool done_ = false;
    bool stop_ = false;
    std::thread thread_; // last: it starts once everything above is there
};

// The letters whose pages the second thread makes: of the pages with lines, the largest first, each
// to whichever thread has fewer lines so far.
std::string SecondThreadLetters(std::string bySize, const LetterGroups& groups)
{
    std::stable_sort(bySize.begin(), bySize.end(),
                     [&](char a, char b) { return groups.LinesOf(a).size() > groups.LinesOf(b).size(); });
    std::string second;
    std::size_t firstLines = 0;
    std::size_t secondLines = 0;
    for (const char letter : bySize) {
        const std::size_t lines = groups.LinesOf(letter).size();
        if (secondLines < firstLines) {
            second.push_back(letter);
            secondLines += lines;
        } else {
            firstLines += lines;
        }
    }
    return second;
}
} // namespace

void WriteLetterPageSet(const LetterGroups& groups, HtmlPages& pages, WrittenCounter& counter,
                        const LetterItems& writeItems, std::size_t parallelFrom)
{
    if (groups.LinesWithoutPage() > 0)
        counter.Count(groups.LinesWithoutPage());
    const bool others = !groups.LinesOf(kOtherPage).empty();
    pages.WriteFramePages(others);
    std::string letters; // the pages with a list: "a" and every letter with lines
    std::size_t lines = 0;
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        if (letter == 'a' || !groups.LinesOf(letter).empty())
            letters.push_back(letter);
        else
            pages.WriteEmptyLetterPage(letter);
        lines += groups.LinesOf(letter).size();
    }
    if (others)
        letters.push_back(kOtherPage);
    else if (pages.HasPage(LetterPageName(kOtherPage)))
        pages.WriteEmptyLetterPage(kOtherPage);
    lines += groups.LinesOf(kOtherPage).size();

    std::string second = lines >= parallelFrom ? SecondThreadLetters(letters, groups) : std::string();
    std::optional<SecondThreadPages> secondThread;
    try {
        if (!second.empty())
            secondThread.emplace(second, groups, pages, counter, writeItems);
    } catch (const std::system_error&) {
        // No second thread to be had: this one makes every page.
        second.clear();
    }
    for (const char letter : letters) {
        if (second.find(letter) != std::string::npos)
            continue;
        WriteLetterPage(letter, groups.LinesOf(letter), pages, counter, writeItems);
        if (secondThread)
            secondThread->HandOver(pages, counter, false);
    }
    if (secondThread)
        secondThread->HandOver(pages, counter, true);
}

} // namespace stambrix::output
