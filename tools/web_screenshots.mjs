// Screenshots of the website of the example tree in headless Chromium, for the README: on a phone
// (390 pixels wide) after a search for «moens», and the letter page M on a desktop.
//   node tools/web_screenshots.mjs SITE_FOLDER OUT_FOLDER
// SITE_FOLDER is Stambrix/web of a run with --uitvoer web; puppeteer-core comes from tests/web.
import { createRequire } from "node:module";
import { join, resolve } from "node:path";
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { pathToFileURL } from "node:url";

const [site, out] = process.argv.slice(2).map((path) => resolve(path));
if (!site || !out) {
    console.error("usage: node tools/web_screenshots.mjs SITE_FOLDER OUT_FOLDER");
    process.exit(2);
}
const require = createRequire(new URL("../tests/web/package.json", import.meta.url));
const puppeteer = require("puppeteer-core");
const profile = mkdtempSync(join(tmpdir(), "stambrix-shots-"));
const browser = await puppeteer.launch({
    executablePath: "/usr/bin/chromium",
    userDataDir: profile,
    args: ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
           "--disable-component-update", "--disable-sync", "--no-first-run"],
});
try {
    const page = await browser.newPage();
    await page.setViewport({ width: 390, height: 760, isMobile: true, hasTouch: true });
    await page.goto(pathToFileURL(join(site, "index.html")).href);
    await page.type("#zoek", "moens");
    await page.waitForSelector("#treffers .treffer-lijst a");
    await page.screenshot({ path: join(out, "web-phone.png") });
    await page.setViewport({ width: 1100, height: 700 });
    await page.goto(pathToFileURL(join(site, "m.html")).href);
    await page.screenshot({ path: join(out, "web-desktop.png") });
} finally {
    await browser.close();
    rmSync(profile, { recursive: true, force: true });
}
