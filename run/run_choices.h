#pragma once

#include "scan/scan_choices.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace stambrix::run {

using scan::EventKind;
using scan::RecordGroup;

/// The form of the index: a text file, HTML pages or a website (names only).
enum class OutputKind
{
    NaarTekst,
    Html,
    Familienamen,
    FamilienamenEenRegel,
    Website
};

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
    std::string_view explanation; ///< what stambrix-cli's help says of it; may be empty
    bool pages;                   ///< pages, which index names only
    bool framed;                  ///< may be written in frames
    bool familyNames;             ///< reads the family name alone
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
    {OutputKind::NaarTekst, "tekst", "naar tekst", "", false, false, false},
    {OutputKind::Html, "html", "HTML", "namen met hun gegevens", true, true, false},
    {OutputKind::Familienamen, "familienamen", "familienamen", "elke familienaam apart", true, true, true},
    {OutputKind::FamilienamenEenRegel, "familienamen-een-regel", "familienamen één regel",
     "de familienamen per beginletter achter elkaar", true, true, true},
    {OutputKind::Website, "web", "website", "een doorzoekbare website in de map web", true, false, false},
}};

/// The number of kinds `isKind` takes among the first values of an enumeration: with an `isKind` that
/// switches over every enumerator, the number of enumerators.
template <typename Kind, typename IsKind> constexpr std::size_t EnumeratorCount(IsKind isKind)
{
    constexpr std::size_t kEnoughValues = 64;
    std::size_t count = 0;
    for (std::size_t value = 0; value < kEnoughValues; ++value)
        count += isKind(static_cast<Kind>(value)) ? 1 : 0;
    return count;
}

// Every enumerator of the three kinds is named in a switch here: a kind added to its enumeration
// does not build until it is named (-Werror=switch), and then not until its table has a row for it.
constexpr bool IsEventKind(EventKind kind)
{
    switch (kind) {
    case EventKind::Naam:
    case EventKind::Beroepen:
    case EventKind::Plaatsen:
        return true;
    }
    return false;
}
constexpr bool IsRecordGroup(RecordGroup group)
{
    switch (group) {
    case RecordGroup::Personen:
    case RecordGroup::Gezinnen:
    case RecordGroup::Beiden:
        return true;
    }
    return false;
}
constexpr bool IsOutputKind(OutputKind kind)
{
    switch (kind) {
    case OutputKind::NaarTekst:
    case OutputKind::Html:
    case OutputKind::Familienamen:
    case OutputKind::FamilienamenEenRegel:
    case OutputKind::Website:
        return true;
    }
    return false;
}
static_assert(EnumeratorCount<EventKind>(IsEventKind) == kEventKinds.size(), "an event kind has no row");
static_assert(EnumeratorCount<RecordGroup>(IsRecordGroup) == kRecordGroups.size(), "a record group has no row");
static_assert(EnumeratorCount<OutputKind>(IsOutputKind) == kOutputKinds.size(), "an output kind has no row");

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
    PagesNeedNames,   ///< pages with occupations or places
    FrameNeedsPages,  ///< in frames with a kind that has none
    GroupNeedsPlaces, ///< families, or both, with names or occupations
};

/// The first reason `choices` don't go together, in the order of the enumeration; nothing when they do.
constexpr std::optional<ChoiceConflict> ConflictIn(const RunChoices& choices)
{
    const EventKindFacts& event = FactsOf(choices.eventKind);
    const OutputKindFacts& output = FactsOf(choices.outputKind);
    if (output.pages && !event.takesPages)
        return ChoiceConflict::PagesNeedNames;
    if (choices.inFrame && !output.framed)
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

/// `choices` made to go together, as the window keeps them after each click: every choice that does
/// not go with the others goes back to its first row (the group to personen, the output to naar
/// tekst), and the frame goes off where the output kind has none.
constexpr RunChoices Reconciled(RunChoices choices)
{
    while (const std::optional<ChoiceConflict> conflict = ConflictIn(choices)) {
        switch (*conflict) {
        case ChoiceConflict::PagesNeedNames:
            choices.outputKind = kOutputKinds.front().kind;
            break;
        case ChoiceConflict::FrameNeedsPages:
            choices.inFrame = false;
            break;
        case ChoiceConflict::GroupNeedsPlaces:
            choices.recordGroup = kRecordGroups.front().group;
            break;
        }
    }
    return choices;
}
static_assert(
    [] {
        bool settled = true;
        ForEachCombination(
            [&settled](const RunChoices& choices) { settled = settled && !ConflictIn(Reconciled(choices)); });
        return settled;
    }(),
    "the first rows go with every choice");

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
