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
    SitePlan plan;
    WriteSitePages(indexList, encoding, files, counter, plan);
    WriteSearchData(indexList, encoding, plan, files);
    WriteSearchScript(files);
}

} // namespace stambrix::output
