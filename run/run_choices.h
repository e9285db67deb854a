#pragma once

#include "run/run_request.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace stambrix::run {

/// What is known of an event kind: the word stambrix-cli takes for it, the window's caption, the text
/// file it writes, and which other choices go with it.
struct EventKindFacts
{
    EventKind kind;
    std::string_view word;
    std::string_view caption;
    std::string_view textFileName;
    bool choosesRecordGroup; ///< places come from persons, families or both; the others from persons
    bool takesPages;         ///< the HTML forms index names only
};

struct RecordGroupFacts
{
    RecordGroup group;
    std::string_view word;
    std::string_view caption;
};

struct OutputKindFacts
{
    OutputKind kind;
    std::string_view word;
    std::string_view caption;
    bool pages; ///< HTML pages, on one page or in frames
};

// In the order of their enumerations, which is also the order of the window's items.
inline constexpr std::array<EventKindFacts, 3> kEventKinds{{
    {EventKind::Naam, "naam", "Naam", "Namen.txt", false, true},
    {EventKind::Beroepen, "beroepen", "Beroepen", "Beroepen.txt", false, false},
    {EventKind::Plaatsen, "plaatsen", "Plaatsen", "Plaatsen.txt", true, false},
}};

inline constexpr std::array<RecordGroupFacts, 3> kRecordGroups{{
    {RecordGroup::Personen, "personen", "Personen"},
    {RecordGroup::Gezinnen, "gezinnen", "Gezinnen"},
    {RecordGroup::Beiden, "beiden", "Beiden"},
}};

inline constexpr std::array<OutputKindFacts, 5> kOutputKinds{{
    {OutputKind::NaarTekst, "tekst", "naar tekst", false},
    {OutputKind::Html, "html", "HTML", true},
    {OutputKind::Familienamen, "familienamen", "familienamen", true},
    {OutputKind::FamilienamenEenRegel, "familienamen-een-regel", "familienamen één regel", true},
    {OutputKind::Website, "web", "website", true},
}};

/// True when row i of `table` is about the enumerator of value i, so FactsOf can index the table.
template <typename Table, typename Key> constexpr bool InEnumerationOrder(const Table& table, Key key)
{
    for (std::size_t i = 0; i < table.size(); ++i)
        if (static_cast<std::size_t>(key(table[i])) != i)
            return false;
    return true;
}
static_assert(InEnumerationOrder(kEventKinds, [](const EventKindFacts& row) { return row.kind; }));
static_assert(InEnumerationOrder(kRecordGroups, [](const RecordGroupFacts& row) { return row.group; }));
static_assert(InEnumerationOrder(kOutputKinds, [](const OutputKindFacts& row) { return row.kind; }));

constexpr const EventKindFacts& FactsOf(EventKind kind)
{
    return kEventKinds[static_cast<std::size_t>(kind)];
}

constexpr const RecordGroupFacts& FactsOf(RecordGroup group)
{
    return kRecordGroups[static_cast<std::size_t>(group)];
}

constexpr const OutputKindFacts& FactsOf(OutputKind kind)
{
    return kOutputKinds[static_cast<std::size_t>(kind)];
}

/// The choices of one run, without the file and the paths.
struct RunChoices
{
    EventKind eventKind = EventKind::Naam;
    RecordGroup recordGroup = RecordGroup::Personen;
    OutputKind outputKind = OutputKind::NaarTekst;
    bool inFrame = false;

    friend constexpr bool operator==(const RunChoices&, const RunChoices&) = default;
};

/// Why choices don't go together.
enum class ChoiceConflict
{
    PagesNeedNames,   ///< an HTML form with occupations or places
    FrameNeedsPages,  ///< in frames with the text file or the website
    GroupNeedsPlaces, ///< families, or both, with names or occupations
};

/// The first reason `choices` don't go together, in the order of the enumeration; nothing when they do.
constexpr std::optional<ChoiceConflict> ConflictIn(const RunChoices& choices)
{
    const EventKindFacts& event = FactsOf(choices.eventKind);
    const bool pages = FactsOf(choices.outputKind).pages;
    if (pages && !event.takesPages)
        return ChoiceConflict::PagesNeedNames;
    if (choices.inFrame && (!pages || choices.outputKind == OutputKind::Website))
        return ChoiceConflict::FrameNeedsPages;
    if (choices.recordGroup != RecordGroup::Personen && !event.choosesRecordGroup)
        return ChoiceConflict::GroupNeedsPlaces;
    return std::nullopt;
}

/// Calls `use` with every combination of choices, event kind by event kind in table order.
template <typename Use> constexpr void ForEachCombination(Use use)
{
    for (const EventKindFacts& event : kEventKinds)
        for (const RecordGroupFacts& group : kRecordGroups)
            for (const OutputKindFacts& output : kOutputKinds)
                for (const bool inFrame : {false, true})
                    use(RunChoices{event.kind, group.group, output.kind, inFrame});
}

constexpr std::size_t CountAllowedChoices()
{
    std::size_t count = 0;
    ForEachCombination([&count](const RunChoices& choices) { count += ConflictIn(choices) ? 0 : 1; });
    return count;
}

/// Every combination that goes together, event kind by event kind in table order.
inline constexpr std::array<RunChoices, CountAllowedChoices()> kAllowedChoices = [] {
    std::array<RunChoices, CountAllowedChoices()> allowed{};
    std::size_t next = 0;
    ForEachCombination([&](const RunChoices& choices) {
        if (!ConflictIn(choices))
            allowed[next++] = choices;
    });
    return allowed;
}();

} // namespace stambrix::run
