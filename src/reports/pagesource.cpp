#include "reports/pagesource.h"

namespace hk
{

PageList::PageList(std::vector<Page> pages)
{
    pages_.reserve(pages.size());
    for (Page &p : pages)
        pages_.push_back(std::make_shared<const Page>(std::move(p)));
}

} // namespace hk
