#include "output/site_stylesheet.h"

namespace stambrix::output {

namespace {
// Every colour pair of text and its background has a contrast of at least 4.5 to 1, in both schemes.
constexpr std::string_view kStylesheet = R"(:root {
  color-scheme: light dark;
  --tekst: #1b1b1b;
  --achter: #fdfcf9;
  --link: #0b5394;
  --zacht: #595959;
  --rand: #c8c8c8;
  --vlak: #eef2f7;
}
@media (prefers-color-scheme: dark) {
  :root {
    --tekst: #e8e6e3;
    --achter: #161718;
    --link: #8ab4f8;
    --zacht: #b0b0b0;
    --rand: #4a4a4a;
    --vlak: #23272e;
  }
}
*, *::before, *::after { box-sizing: border-box; }
html { -webkit-text-size-adjust: 100%; text-size-adjust: 100%; }
body {
  margin: 0 auto;
  max-width: 48rem;
  padding: 0 1rem 2rem;
  font: 1rem/1.5 system-ui, -apple-system, "Segoe UI", Roboto, "Liberation Sans", Arial, sans-serif;
  color: var(--tekst);
  background: var(--achter);
  overflow-wrap: break-word;
}
a { color: var(--link); }
a:focus-visible, input:focus-visible { outline: 3px solid var(--link); outline-offset: 2px; }
.vh, .personen b {
  position: absolute;
  width: 1px;
  height: 1px;
  margin: -1px;
  padding: 0;
  overflow: hidden;
  clip: rect(0 0 0 0);
  white-space: nowrap;
  border: 0;
}
.kop { padding: .5rem 0; }
.site { margin: 0 0 .5rem; font-weight: 600; }
.site a { display: inline-block; min-height: 48px; line-height: 48px; text-decoration: none; }
.zoeken label { display: block; font-weight: 600; margin-bottom: .25rem; }
.zoeken input {
  width: 100%;
  min-height: 48px;
  padding: .5rem .75rem;
  font: inherit;
  color: inherit;
  background: var(--achter);
  border: 2px solid var(--zacht);
  border-radius: 6px;
}
#treffers { margin: .75rem 0; padding: .75rem; border: 1px solid var(--rand); border-radius: 6px; background: var(--vlak); }
#treffers:empty { display: none; }
.aantal { margin: 0 0 .5rem; font-weight: 600; }
.treffer-lijst { list-style: none; margin: 0; padding: 0; }
.treffer-lijst li + li { border-top: 1px solid var(--rand); }
.treffer-lijst a { display: flex; align-items: center; min-height: 48px; padding: .25rem; }
.alfabet ul {
  display: grid;
  grid-template-columns: repeat(auto-fill, minmax(48px, 1fr));
  gap: 8px;
  list-style: none;
  margin: .5rem 0;
  padding: 0;
}
.alfabet li { display: flex; }
.alfabet a, .alfabet .leeg {
  flex: 1;
  display: flex;
  flex-direction: column;
  align-items: center;
  justify-content: center;
  min-width: 48px;
  min-height: 48px;
  border-radius: 6px;
  font-weight: 600;
  text-decoration: none;
  line-height: 1.2;
}
.alfabet a { background: var(--vlak); border: 1px solid var(--rand); }
.alfabet a[aria-current="page"] { background: var(--link); color: var(--achter); }
.alfabet .leeg { color: var(--zacht); border: 1px dashed var(--rand); }
.aantal-letter { font-weight: 400; }
h1 { font-size: 1.75rem; line-height: 1.2; margin: 1rem 0 .5rem; }
h2 { font-size: 1.25rem; margin: 1.5rem 0 .25rem; padding-bottom: .125rem; border-bottom: 1px solid var(--rand); }
.personen { list-style: none; margin: 0; padding: 0; }
.personen li { padding: .25rem 0; }
.personen i { font-style: normal; }
.legenda, .bereik, .personen-aantal { color: var(--zacht); }
.personen-aantal { font-size: 1.25rem; }
.bladeren { display: flex; flex-wrap: wrap; gap: 8px; margin: 1rem 0; }
.bladeren a {
  display: inline-flex;
  align-items: center;
  min-height: 48px;
  padding: 0 1rem;
  border: 1px solid var(--rand);
  border-radius: 6px;
  background: var(--vlak);
  text-decoration: none;
}
:target { background: var(--vlak); outline: 2px solid var(--link); }
footer { margin-top: 2rem; padding-top: .5rem; border-top: 1px solid var(--rand); color: var(--zacht); }
@media (min-width: 40rem) {
  body { padding: 0 2rem 3rem; }
  .personen li { padding: .125rem 0; }
}
@media print {
  .zoeken, #treffers, .alfabet, .bladeren, .site { display: none; }
  body { max-width: none; padding: 0; color: #000; background: #fff; }
  a { color: #000; }
}
)";

constexpr std::string_view kIcon =
    R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 32 32">)"
    R"(<rect width="32" height="32" rx="6" fill="#0b5394"/>)"
    R"(<path d="M16 8v18M16 13l-7 5M16 13l7 5M16 19l-5 4M16 19l5 4" stroke="#fff" stroke-width="2.5" )"
    R"(stroke-linecap="round" fill="none"/><circle cx="16" cy="7" r="3.5" fill="#fff"/></svg>)"
    "\n";

void WriteWhole(FileSet& files, std::string_view name, std::string_view bytes)
{
    files.Open(name);
    files.Write(bytes);
    files.Close();
}
} // namespace

void WriteSiteStylesheet(FileSet& files)
{
    WriteWhole(files, "stambrix.css", kStylesheet);
}

void WriteSiteIcon(FileSet& files)
{
    WriteWhole(files, "stambrix.svg", kIcon);
}

} // namespace stambrix::output
