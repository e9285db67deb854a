// Times the website's search in headless Chromium: for each query, on a freshly opened entry page,
// the query is typed key by key, and pasted whole, and the time from the last keystroke to the
// shown hits is measured; also the bytes of search data the first keystroke loads.
//   node bench/web_search.mjs SITE_FOLDER [QUERY ...]
// SITE_FOLDER is the "web" folder of a written site; puppeteer-core comes from tests/web.
import { mkdtempSync, rmSync, statSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { dirname, join } from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";

const require = createRequire(join(dirname(fileURLToPath(import.meta.url)), "..", "tests", "web", "package.json"));
const puppeteer = require("puppeteer-core");

const [site, ...asked] = process.argv.slice(2);
if (!site) {
    console.error("usage: node bench/web_search.mjs SITE_FOLDER [QUERY ...]");
    process.exit(2);
}
const queries = asked.length > 0 ? asked : ["h", "hendrika", "heuvel hendrika"];
const keyDelay = 40; // milliseconds between keys, a fast typist

const profile = mkdtempSync(join(tmpdir(), "stambrix-search-bench-"));
const browser = await puppeteer.launch({
    executablePath: "/usr/bin/chromium",
    headless: true,
    userDataDir: profile,
    args: ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
           "--disable-component-update", "--disable-sync"],
});

// Opens the entry page afresh and notes the time of every keystroke and of every change of the hits.
async function freshPage() {
    const page = await browser.newPage();
    await page.goto(pathToFileURL(join(site, "index.html")).href);
    await page.evaluate(() => {
        globalThis.benchTimes = { input: 0, shown: 0 };
        document.getElementById("zoek").addEventListener("input", () => {
            benchTimes.input = performance.now();
        }, { capture: true });
        new MutationObserver(() => {
            benchTimes.shown = performance.now();
        }).observe(document.getElementById("treffers"), { childList: true, subtree: true, characterData: true });
    });
    return page;
}

// Waits until the hits have not changed for a while after the last keystroke.
async function settled(page) {
    let last = -1;
    for (;;) {
        await new Promise((resolve) => setTimeout(resolve, 300));
        const times = await page.evaluate(() => benchTimes);
        if (times.shown > times.input && times.shown === last)
            return times;
        last = times.shown;
    }
}

const loadedBytes = (page) => page.evaluate(() => [...document.scripts].map((script) => script.src))
    .then((sources) => sources.filter((source) => /\/zoek(-\d+)?\.js$/.test(source))
        .reduce((sum, source) => sum + statSync(fileURLToPath(source)).size, 0));

try {
    const first = await freshPage();
    await first.type("#zoek", queries[0][0]);
    await settled(first);
    console.log(`first keystroke «${queries[0][0]}»: ${(await loadedBytes(first)).toLocaleString("en")} bytes of search data loaded`);
    await first.close();

    for (const query of queries) {
        const page = await freshPage();
        await page.type("#zoek", query, { delay: keyDelay });
        const times = await settled(page);
        const count = await page.$eval("#treffers .aantal", (text) => text.textContent);
        console.log(`«${query}»: ${(times.shown - times.input).toFixed(1)} ms after the last keystroke, ` +
                    `${(await loadedBytes(page)).toLocaleString("en")} bytes loaded in all: ${count}`);
        await page.close();

        // The whole query at once, as pasted: every file it needs is loaded after that one keystroke.
        const pasted = await freshPage();
        await pasted.$eval("#zoek", (field, text) => {
            field.value = text;
            field.dispatchEvent(new Event("input", { bubbles: true }));
        }, query);
        const pastedTimes = await settled(pasted);
        console.log(`«${query}» pasted: ${(pastedTimes.shown - pastedTimes.input).toFixed(1)} ms, ` +
                    `${(await loadedBytes(pasted)).toLocaleString("en")} bytes loaded`);
        await pasted.close();
    }
} finally {
    await browser.close();
    rmSync(profile, { recursive: true, force: true });
}
