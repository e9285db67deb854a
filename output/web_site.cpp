#include "output/web_site.h"

#include "output/search_data.h"
#include "output/search_script.h"
#include "output/site_pages.h"
#include "output/site_plan.h"
#include "output/site_stylesheet.h"

namespace stambrix::output {

void WriteWebSite(const index::IndexList& indexList, charsets::TextEncoding encoding, FileSet& files,
                  WrittenCounter& counter)
{
    WriteSiteStylesheet(files);
    WriteSiteIcon(files);
    // The names are folded for the search beside the pages; the search data needs the pages' plan
    // only for its last steps.
    SearchData search(indexList, encoding);
    SitePlan plan;
    WriteSitePages(indexList, encoding, files, counter, plan, [&] { search.Gather(); });
    search.Write(plan, files);
    WriteSearchScript(files);
}

} // namespace stambrix::output
