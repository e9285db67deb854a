#include "output/search_script.h"

#include "charsets/search_folding.h"
#include "output/search_data.h"

#include <unicode/utf8.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace stambrix::output {

namespace {
constexpr std::string_view kScriptName = "stambrix.js";

// Before the number of hits shown and the folding table.
constexpr std::string_view kScriptStart = R"js("use strict";
// The search of the name index. The search form is shown from the start, so that nothing moves when
// this script comes, and hidden where scripts do not run. The data is loaded on the first keystroke,
// as script elements beside this script, so that it works from the disk as well as from any web
// server. zoek.js tells which data file, and which part of it, holds the persons whose words start
// with which letters; each part holds a line per person, "page TAB id TAB name", and the name's
// search words are folded here, with the same table as the query's.
(() => {
)js";

constexpr std::string_view kScriptEnd = R"js(
    const form = document.querySelector("form.zoeken");
    const field = document.getElementById("zoek");
    const hitsBox = document.getElementById("treffers");
    if (!form || !field || !hitsBox)
        return;
    const here = document.currentScript.src;

    // What the data files handed over, by file ("inhoud" for zoek.js), and the loading of each.
    const received = new Map();
    const loading = new Map();
    globalThis.stambrixZoek = {
        inhoud(pages, starts) {
            const byStart = new Map();
            for (const line of starts.split("\n")) {
                const [start, persons, file, part, kind] = line.split("\t");
                byStart.set(start, { persons: Number(persons), file: Number(file), part: Number(part),
                                     whole: kind === "h" });
            }
            received.set("inhoud", { pages: pages.split("\n"), starts: byStart });
        },
        deel(part, lines) {
            received.set(part, { text: lines, lines: lines === "" ? [] : lines.split("\n"), folded: null });
        },
    };

    // Loads the script file `name` once, then gives what it handed over as `key`.
    async function load(name, key) {
        if (!loading.has(name)) {
            loading.set(name, new Promise((resolve, reject) => {
                const script = document.createElement("script");
                script.src = new URL(name, here).href;
                script.onload = () => resolve();
                script.onerror = () => {
                    loading.delete(name);
                    script.remove();
                    reject(new Error(`${name} kon niet worden geladen`));
                };
                document.head.append(script);
            }));
        }
        await loading.get(name);
        return received.get(key);
    }

    // Every character folded; a-z, 0-9, the space, the tab and the line end stay as they are (no
    // name holds the last two, and no folding gives them).
    function folded(text) {
        return text.replace(/[^ a-z0-9\t\n]/gu, (character) => kFolding[character.codePointAt(0)] ?? character);
    }

    function wordsOf(text) {
        return folded(text).split(" ").filter((word) => word !== "");
    }

    // The start of words whose file answers `word`: the file with every person of a start of
    // the word, or else the file of the first persons of the whole word, or of its longest start.
    // Null when no name has a word that starts so.
    function startOf(starts, word) {
        const characters = [...word];
        let start = "";
        for (let depth = 0; ; ++depth) {
            const found = starts.get(start);
            if (!found || found.whole || depth === characters.length || depth === kLongestStart)
                return found ? { ...found, start } : null;
            start += characters[depth];
        }
    }

    // The persons of a data file that have a word starting with each of `words`, and their count.
    // The words of a person are its name's, behind the second tab of its line, folded. The data file
    // of a start holds only persons with a word of that start: for that one word, all match.
    function matching(data, words, start) {
        if (words.length === 1 && words[0] === start)
            return { hits: data.lines.slice(0, kShown), count: data.lines.length };
        data.folded ??= folded(data.text).split("\n");
        const spaced = words.map((word) => ` ${word}`);
        const hits = [];
        let count = 0;
        data.folded.forEach((line, at) => {
            const name = line.indexOf("\t", line.indexOf("\t") + 1) + 1;
            if (!words.every((word, w) => line.startsWith(word, name) || line.includes(spaced[w], name)))
                return;
            if (hits.length < kShown)
                hits.push(data.lines[at]);
            ++count;
        });
        return { hits, count };
    }

    const number = (count) => count.toLocaleString("nl-NL");

    function countText(count, shown) {
        if (count === 0)
            return "Geen personen gevonden.";
        if (count === 1)
            return "1 persoon gevonden.";
        if (count <= shown)
            return `${number(count)} personen gevonden.`;
        return `${number(count)} personen gevonden, de eerste ${number(shown)} staan hieronder.`;
    }

    function show(text, hits, pages) {
        const count = document.createElement("p");
        count.className = "aantal";
        count.textContent = text;
        if (hits.length === 0) {
            hitsBox.replaceChildren(count);
            return;
        }
        const list = document.createElement("ol");
        list.className = "treffer-lijst";
        for (const line of hits) {
            const [page, id, name] = line.split("\t");
            const link = document.createElement("a");
            link.href = `${pages[Number(page)]}#${id}`;
            link.textContent = name;
            const item = document.createElement("li");
            item.append(link);
            list.append(item);
        }
        hitsBox.replaceChildren(count, list);
    }

    let lastAsked = 0;
    async function search() {
        const asked = ++lastAsked;
        const words = wordsOf(field.value);
        if (words.length === 0) {
            hitsBox.replaceChildren();
            return;
        }
        try {
            const { pages, starts } = await load("zoek.js", "inhoud");
            const answers = words.map((word) => startOf(starts, word));
            if (answers.includes(null)) {
                if (asked === lastAsked)
                    show(countText(0, 0), [], pages);
                return;
            }
            // The smallest file that holds every person of one of the words; else the smallest
            // file of first persons, which for more words than one answers only in part.
            const whole = answers.filter((answer) => answer.whole);
            const chosen = (whole.length > 0 ? whole : answers).reduce((a, b) => (b.persons < a.persons ? b : a));
            const data = await load(`zoek-${chosen.file}.js`, chosen.part);
            if (asked !== lastAsked)
                return;
            const { hits, count } = matching(data, words, chosen.start);
            if (chosen.whole)
                show(countText(count, kShown), hits, pages);
            else if (words.length === 1)
                show(countText(chosen.persons, kShown), hits, pages);
            else if (count === 0)
                show("Deze namen komen veel voor, en onder de eerste personen met die namen is niemand gevonden. "
                     + "Typ er een minder gewone naam bij om verder te zoeken.", hits, pages);
            else
                show(`Deze namen komen veel voor: hieronder ${number(count)} van de eerste personen met die namen. `
                     + "Typ er een minder gewone naam bij om alle te vinden.",
                     hits, pages);
        } catch {
            if (asked === lastAsked)
                show("De zoekgegevens konden niet worden geladen.", [], []);
        }
    }

    field.addEventListener("input", search);
    form.addEventListener("submit", (event) => {
        event.preventDefault();
        search();
    });
    // What was typed before this script came.
    if (field.value !== "")
        search();
})();
)js";

// Appends `text` as the inside of a JavaScript string between double quotes, every character
// beyond ASCII as its code point.
void AppendScriptString(std::string_view text, std::string& to)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    for (std::int32_t at = 0; at < length;) {
        UChar32 character;
        U8_NEXT(bytes, at, length, character);
        if (character == '"' || character == '\\') {
            to.push_back('\\');
            to.push_back(static_cast<char>(character));
        } else if (character >= 0x20 && character < 0x7F) {
            to.push_back(static_cast<char>(character));
        } else {
            constexpr std::string_view kHex = "0123456789abcdef";
            std::string digits;
            for (auto rest = static_cast<std::uint32_t>(character); rest != 0 || digits.empty(); rest >>= 4)
                digits.insert(digits.begin(), kHex[rest & 0xF]);
            to.append("\\u{").append(digits).append("}");
        }
    }
}

// The folding table as a JavaScript object from code point to folded text.
std::string FoldingTableText()
{
    std::string table = "    const kFolding = {";
    std::size_t onLine = 0;
    for (const charsets::SearchFolding& folding : charsets::SearchFoldingTable()) {
        table.append(onLine++ % 12 == 0 ? "\n        " : " ");
        table.append(std::to_string(static_cast<std::uint32_t>(folding.character))).append(": \"");
        AppendScriptString(folding.folded, table);
        table.append("\",");
    }
    table.append("\n    };\n");
    return table;
}
} // namespace

void WriteSearchScript(FileSet& files)
{
    files.Open(kScriptName);
    files.Write(kScriptStart);
    files.Write("    const kShown = " + std::to_string(kShownHits) + ";\n");
    files.Write("    const kLongestStart = " + std::to_string(kLongestStart) + ";\n");
    files.Write(FoldingTableText());
    files.Write(kScriptEnd);
    files.Close();
}

} // namespace stambrix::output
