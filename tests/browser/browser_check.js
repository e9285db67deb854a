// Opens the written index in the frame "pages" and checks it as a visitor would use it: every
// letter link of the alphabet is followed, and what it leads to is examined. The outcome is written
// into this page as <pre id="verdict">: "PASS" or "FAIL" on the first line, then one reason per line,
// then notes. The query string names the layout: ?layout=framed or ?layout=single.
'use strict';

const kLetters = 'abcdefghijklmnopqrstuvwxyz'.split('');
const kPollMs = 25;
const kMaxPolls = 200;

const problems = [];
const notes = [];
const pagesWithoutStylesheet = [];

function Sleep(ms)
{
    return new Promise(resolve => setTimeout(resolve, ms));
}

// Polls test() until it gives a true value; returns that value, or null after kMaxPolls tries.
async function Until(test)
{
    for (let poll = 0; poll < kMaxPolls; ++poll) {
        let value = null;
        try {
            value = test();
        } catch (error) {
            value = null;
        }
        if (value)
            return value;
        await Sleep(kPollMs);
    }
    return null;
}

// The file name at the end of a location or URL: "index.htm" for «http://127.0.0.1:8000/index.htm#inhoudb».
function FileNameOf(location)
{
    return location.pathname.replace(/^.*\//, '');
}

function PathOf(win)
{
    return FileNameOf(win.location);
}

// The HTTP status of the document in win, where the browser reports it; 0 when it does not.
function StatusOf(win)
{
    const entries = win.performance.getEntriesByType('navigation');
    if (entries.length === 0 || entries[0].responseStatus === undefined)
        return 0;
    return entries[0].responseStatus;
}

// A loaded page: the file it came from, its status, and its title.
function CheckLoaded(win, fileName, title, what)
{
    if (PathOf(win) !== fileName) {
        problems.push(`${what}: shows "${PathOf(win)}" instead of "${fileName}"`);
        return false;
    }
    const status = StatusOf(win);
    if (status !== 0 && status !== 200) {
        problems.push(`${what}: "${fileName}" answered HTTP ${status}`);
        return false;
    }
    if (win.document.title !== title) {
        problems.push(`${what}: title of "${fileName}" is "${win.document.title}", expected "${title}"`);
        return false;
    }
    return true;
}

// A content page must have found its stylesheet: a link to "genealogie.css" whose rules loaded.
function CheckStylesheet(doc, fileName)
{
    const links = Array.from(doc.querySelectorAll('link')).filter(
        link => (link.getAttribute('rel') || '').toLowerCase() === 'stylesheet');
    if (links.length !== 1) {
        problems.push(`"${fileName}": ${links.length} stylesheet links, expected 1`);
        return;
    }
    const sheet = links[0].sheet;
    if (!sheet || sheet.cssRules.length === 0)
        pagesWithoutStylesheet.push(`${fileName} (${links[0].getAttribute('href')})`);
}

function HeadingsOf(doc)
{
    return Array.from(doc.querySelectorAll('li'))
        .filter(item => (item.getAttribute('class') || '').toLowerCase() === 'inhoudkop')
        .map(item => ({element: item, text: item.textContent}));
}

function EntryCountOf(doc)
{
    return Array.from(doc.querySelectorAll('li'))
        .filter(item => (item.getAttribute('class') || '').toLowerCase() === 'inhoudtekst').length;
}

// The 26 letter links in alphabetical order, each with its label A to Z; reports what is off.
function LetterLinksOf(doc, where)
{
    const links = Array.from(doc.querySelectorAll('a[href]'));
    if (links.length !== 26) {
        problems.push(`${where}: ${links.length} links, expected 26`);
        return null;
    }
    let ok = true;
    links.forEach((link, index) => {
        const label = link.textContent.trim();
        if (label !== kLetters[index].toUpperCase()) {
            problems.push(`${where}: link ${index + 1} reads "${label}", expected "${kLetters[index].toUpperCase()}"`);
            ok = false;
        }
    });
    return ok ? links : null;
}

async function OpenIndex()
{
    const frame = document.getElementById('pages');
    frame.src = 'index.htm';
    const win = await Until(() => frame.contentWindow.document.readyState === 'complete' &&
                                          PathOf(frame.contentWindow) === 'index.htm' &&
                                          frame.contentWindow);
    if (!win)
        problems.push('"index.htm" did not load');
    return win;
}

function FrameNamed(top, name)
{
    const frames = Array.from(top.document.getElementsByTagName('frame')).filter(frame => frame.name === name);
    return frames.length === 1 ? frames[0].contentWindow : null;
}

async function CheckFramed()
{
    const top = await OpenIndex();
    if (!top || !CheckLoaded(top, 'index.htm', 'Index', 'frameset page'))
        return;
    const upper = FrameNamed(top, 'inhoudindex');
    const lower = FrameNamed(top, 'inhoudalfabet');
    if (!upper || !lower) {
        problems.push('frameset page: frames "inhoudindex" and "inhoudalfabet" not found, one of each');
        return;
    }
    const framesReady = await Until(() => upper.document.readyState === 'complete' &&
                                          lower.document.readyState === 'complete' &&
                                          PathOf(upper) === 'alfabet.htm' && PathOf(lower) === 'indexa.htm');
    if (!framesReady) {
        problems.push(`frames show "${PathOf(upper)}" and "${PathOf(lower)}", expected "alfabet.htm" above ` +
                      'and "indexa.htm" below');
        return;
    }
    if (!CheckLoaded(upper, 'alfabet.htm', 'Alfabet', 'upper frame') ||
        !CheckLoaded(lower, 'indexa.htm', 'Indexa.htm', 'lower frame'))
        return;
    CheckStylesheet(upper.document, 'alfabet.htm');

    const alphabet = upper.document;
    const links = LetterLinksOf(alphabet, '"alfabet.htm"');
    if (!links)
        return;
    let entries = 0;
    const withEntries = [];
    for (let index = 0; index < 26; ++index) {
        const letter = kLetters[index];
        const link = links[index];
        const fileName = `index${letter}.htm`;
        const target = link.getAttribute('target');
        if (target !== 'inhoudalfabet') {
            problems.push(`link ${letter.toUpperCase()}: target "${target}", expected "inhoudalfabet"`);
            continue;
        }
        if (FileNameOf(new URL(link.href)) !== fileName) {
            problems.push(`link ${letter.toUpperCase()}: leads to "${link.getAttribute('href')}", expected "${fileName}"`);
            continue;
        }
        const before = lower.document;
        link.click();
        const after = await Until(() => lower.document !== before && lower.document.readyState === 'complete' &&
                                         lower.document);
        if (!after) {
            problems.push(`link ${letter.toUpperCase()}: the lower frame did not load a new page`);
            continue;
        }
        if (upper.document !== alphabet || PathOf(top) !== 'index.htm') {
            problems.push(`link ${letter.toUpperCase()}: replaced the alphabet page or the frameset`);
            return;
        }
        if (!CheckLoaded(lower, fileName, `Index${letter}.htm`, `link ${letter.toUpperCase()}`))
            continue;
        CheckStylesheet(after, fileName);
        const headings = HeadingsOf(after);
        for (const heading of headings) {
            if (heading.text.charAt(0).toLowerCase() !== letter)
                problems.push(`"${fileName}": heading "${heading.text}" does not begin with ${letter.toUpperCase()}`);
        }
        const count = EntryCountOf(after);
        entries += count;
        if (count > 0)
            withEntries.push(letter.toUpperCase());
    }
    notes.push(`26 letter links followed; ${entries} entries on the pages of ${withEntries.join('') || 'no letter'}`);
}

// Where the page is scrolled after following a link to anchor: the anchor at the top of the view,
// or, when the page ends too soon for that, scrolled to the bottom with the anchor in view.
function LandedOn(win, anchor)
{
    const top = anchor.getBoundingClientRect().top;
    const scroller = win.document.scrollingElement;
    const maxScroll = scroller.scrollHeight - win.innerHeight;
    if (Math.abs(top) <= 1)
        return true;
    return win.scrollY >= maxScroll - 1 && top >= 0 && top < win.innerHeight;
}

async function CheckSingle()
{
    const win = await OpenIndex();
    if (!win || !CheckLoaded(win, 'index.htm', 'Index.htm', 'single page'))
        return;
    const doc = win.document;
    CheckStylesheet(doc, 'index.htm');
    const links = LetterLinksOf(doc, '"index.htm"');
    if (!links)
        return;

    const headings = HeadingsOf(doc);
    const firstHeadingOf = {};
    for (const heading of headings) {
        const initial = heading.text.charAt(0).toLowerCase();
        if (kLetters.includes(initial) && !(initial in firstHeadingOf))
            firstHeadingOf[initial] = heading.element;
    }
    const scroller = doc.scrollingElement;
    if (scroller.scrollHeight <= win.innerHeight)
        notes.push('the page fits in its frame, so no link can scroll it');

    const landed = [];
    for (let index = 0; index < 26; ++index) {
        const letter = kLetters[index];
        const upper = letter.toUpperCase();
        const link = links[index];
        const url = new URL(link.href);
        if (FileNameOf(url) !== 'index.htm' || url.hash !== `#inhoud${letter}`) {
            problems.push(`link ${upper}: leads to "${link.getAttribute('href')}", expected "index.htm#inhoud${letter}"`);
            continue;
        }
        const anchors = doc.getElementsByName(`inhoud${letter}`);
        const heading = firstHeadingOf[letter];
        if (anchors.length === 0) {
            if (heading)
                problems.push(`letter ${upper} has entries ("${heading.textContent}") but no anchor "inhoud${letter}"`);
            continue;
        }
        const anchor = anchors[0];
        if (heading && !(anchor.compareDocumentPosition(heading) & Node.DOCUMENT_POSITION_FOLLOWING))
            problems.push(`anchor "inhoud${letter}" stands after its first heading "${heading.textContent}"`);
        win.scrollTo(0, 0);
        link.click();
        const moved = await Until(() => win.location.hash === `#inhoud${letter}` && LandedOn(win, anchor));
        if (win.document !== doc) {
            problems.push(`link ${upper}: loaded the page anew instead of jumping within it`);
            return;
        }
        if (!moved) {
            problems.push(`link ${upper}: hash "${win.location.hash}", anchor "inhoud${letter}" at ` +
                          `${Math.round(anchor.getBoundingClientRect().top)} px from the top of the view`);
            continue;
        }
        landed.push(upper);
    }
    notes.push(`links that landed on their anchor: ${landed.join('') || 'none'}`);
    notes.push(`${headings.length} headings, ${EntryCountOf(doc)} entries`);
}

function ShowVerdict()
{
    const verdict = document.createElement('pre');
    verdict.id = 'verdict';
    if (pagesWithoutStylesheet.length > 0)
        problems.push(`the stylesheet did not load on ${pagesWithoutStylesheet.join(', ')}`);
    const lines = [problems.length === 0 ? 'PASS' : 'FAIL'];
    for (const problem of problems)
        lines.push(`problem: ${problem}`);
    for (const note of notes)
        lines.push(`note: ${note}`);
    verdict.textContent = lines.join('\n');
    document.body.appendChild(verdict);
}

async function Main()
{
    const layout = new URLSearchParams(location.search).get('layout');
    try {
        if (layout === 'framed')
            await CheckFramed();
        else if (layout === 'single')
            await CheckSingle();
        else
            problems.push(`unknown layout "${layout}"`);
    } catch (error) {
        problems.push(`the check itself stopped: ${error}`);
    }
    ShowVerdict();
}

Main();
