// The website's search in headless Chromium: the site of a small tree is written with
// stambrix-cli --uitvoer web and opened from the disk; names are searched with and without accents,
// by word starts in any order, a hit is followed to its place, and a site whose search data is gone
// says so.
//   node tests/web/search_test.mjs STAMBRIX_CLI
import { execFileSync } from "node:child_process";
import { mkdtempSync, renameSync, rmSync, existsSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { pathToFileURL } from "node:url";

const [cli] = process.argv.slice(2);
if (!cli) {
    console.error("usage: node search_test.mjs STAMBRIX_CLI");
    process.exit(2);
}

let puppeteer;
try {
    puppeteer = (await import("puppeteer-core")).default;
} catch {
    console.error("search_test: skipped: puppeteer-core is not installed in tests/web (scripts/install-deps.sh --tests)");
    process.exit(77);
}

const work = mkdtempSync(join(tmpdir(), "stambrix-search-test-"));
const failures = [];
const check = (ok, what) => {
    if (!ok)
        failures.push(what);
};

// The tree: names with letters the search folds, two with a prefix, and 130 Jansens, more than
// the search shows. Jan van der Berg is I1.
function writeSite() {
    const names = ["Jan /van der Berg/", "Jan /van der Bergman/", "Anna /Berg/", "Søren /Kierkegaard/",
                   "Ærø /Æbeltoft/", "Łukasz /Łopez/", "Jürgen /Straßer/", "François /Çelik/", "Émile /Öztürk/",
                   "Þóra /Þorsteinsdóttir/", "Pieter /'t Hoen/", "Maria /de Vries/"];
    for (let number = 0; number < 130; ++number)
        names.push(`${String.fromCharCode(65 + number / 26, 97 + (number % 26))} /Jansen/`);
    const persons = names.map((name, at) => `0 @I${at + 1}@ INDI\n1 NAME ${name}\n1 BIRT\n2 DATE ${1800 + at}\n`);
    const gedcom = join(work, "zoek_namen.ged");
    writeFileSync(gedcom, `0 HEAD\n1 CHAR UTF-8\n${persons.join("")}0 TRLR\n`);
    execFileSync(cli, ["--quiet", "--uitvoer", "web", gedcom], { stdio: "inherit" });
    return join(work, "Stambrix", "web");
}

// Types `query` into the search field afresh and waits for the count to read `count`; the texts of
// the hits and their links.
async function search(page, query, count) {
    await page.$eval("#zoek", (field) => {
        field.value = "";
    });
    await page.type("#zoek", query);
    try {
        await page.waitForFunction((text) => document.querySelector("#treffers .aantal")?.textContent === text,
                                   { timeout: 5000 }, count);
    } catch {
        const shown = await page.$eval("#treffers", (box) => box.textContent);
        failures.push(`«${query}»: expected «${count}», the page shows «${shown}»`);
    }
    return page.$$eval("#treffers .treffer-lijst a", (links) =>
        links.map((link) => ({ text: link.textContent, href: link.getAttribute("href") })));
}

const site = writeSite();
const browser = await puppeteer.launch({
    executablePath: "/usr/bin/chromium",
    headless: true,
    userDataDir: join(work, "profile"),
    args: ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
           "--disable-component-update", "--disable-sync"],
});
try {
    const page = await browser.newPage();
    const problems = [];
    page.on("console", (message) => {
        if (message.type() === "error")
            problems.push(`console: ${message.text()}`);
    });
    page.on("pageerror", (error) => problems.push(`page error: ${error.message}`));
    page.on("requestfailed", (request) => problems.push(`failed request: ${request.url()}`));

    const withoutScripts = await browser.newPage();
    await withoutScripts.setJavaScriptEnabled(false);
    await withoutScripts.goto(pathToFileURL(join(site, "index.html")).href);
    check(await withoutScripts.$eval("form.zoeken", (form) => getComputedStyle(form).display === "none"),
          "without scripts the search form is not shown");
    await withoutScripts.close();

    await page.goto(pathToFileURL(join(site, "index.html")).href);
    check(await page.$eval("form.zoeken", (form) => getComputedStyle(form).display !== "none"),
          "the search form is shown");
    check(!(await page.evaluate(() => [...document.scripts].some((script) => /zoek/.test(script.src)))),
          "no search data is loaded before the first keystroke");

    const accented = await search(page, "ÖZTÜRK", "1 persoon gevonden.");
    check(accented[0]?.text === "Öztürk, Émile", `«ÖZTÜRK» finds Öztürk, Émile: ${JSON.stringify(accented)}`);
    const plain = await search(page, "lukasz lop", "1 persoon gevonden.");
    check(plain[0]?.text === "Łopez, Łukasz", `«lukasz lop» finds Łopez, Łukasz: ${JSON.stringify(plain)}`);
    const special = await search(page, "aero aebel", "Geen personen gevonden.");
    check(special.length === 0, "æ is a, not ae");
    const folded = await search(page, "aro strase kierk", "Geen personen gevonden.");
    check(folded.length === 0, "every word of the query must match");
    for (const [query, name] of [["ærø", "Æbeltoft, Ærø"], ["stras", "Straßer, Jürgen"], ["tora", "Þorsteinsdóttir, Þóra"],
                                 ["soren", "Kierkegaard, Søren"]]) {
        const hits = await search(page, query, "1 persoon gevonden.");
        check(hits[0]?.text === name, `«${query}» finds ${name}: ${JSON.stringify(hits)}`);
    }

    const many = await search(page, "jansen", "130 personen gevonden, de eerste 100 staan hieronder.");
    check(many.length === 100, `«jansen» shows 100 hits, not ${many.length}`);
    const names = many.map((hit) => hit.text);
    check(names.every((name, at) => at === 0 || names[at - 1].localeCompare(name, "nl") <= 0),
          "the hits come in index order");

    const berg = await search(page, "van der berg jan", "2 personen gevonden.");
    check(JSON.stringify(berg.map((hit) => hit.text)) ===
              JSON.stringify(["Berg, Jan van der", "Bergman, Jan van der"]),
          `«van der berg jan» finds both: ${JSON.stringify(berg)}`);
    check(berg[0]?.href?.endsWith("#I1"), `the link leads to the person's id: ${berg[0]?.href}`);

    await search(page, "xyzzy", "Geen personen gevonden.");
    check((await page.$$("#treffers .treffer-lijst")).length === 0, "no list without hits");

    await search(page, "van der berg jan", "2 personen gevonden.");
    await Promise.all([page.waitForNavigation(), page.click("#treffers .treffer-lijst a")]);
    const landing = await page.evaluate(() => ({
        page: location.pathname.split("/").pop(),
        hash: location.hash,
        target: document.querySelector(":target")?.textContent ?? "",
    }));
    check(landing.hash === "#I1", `the hit lands on #I1, not ${landing.hash}`);
    check(landing.page === berg[0].href.split("#")[0], `the hit lands on its page: ${JSON.stringify(landing)}`);
    check(landing.target.includes("Jan van der"), `the targeted element names the person: «${landing.target}»`);
    check(problems.length === 0, `no errors and no failed requests: ${problems.join("; ")}`);

    // Without its search data the site says so, and keeps every page.
    renameSync(join(site, "zoek.js"), join(site, "zoek.js.weg"));
    await page.goto(pathToFileURL(join(site, "index.html")).href);
    await search(page, "berg", "De zoekgegevens konden niet worden geladen.");
    check(existsSync(join(site, "index.html")) && existsSync(join(site, landing.page)), "the pages stay");
} finally {
    await browser.close();
    rmSync(work, { recursive: true, force: true });
}

if (failures.length > 0) {
    for (const failure of failures)
        console.error(`search_test: FAIL: ${failure}`);
    process.exit(1);
}
console.log("search_test: all searches as expected");
