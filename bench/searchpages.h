// The search result list as the benchmarks of the item and comment searches
// drive it: opened on a text, then paged down to the end of the matches.
#pragma once

#include "browse/engine.h"
#include "dictionary/globals.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace hk::bench
{

constexpr int kSearchPage = 20;

// range(0): 0 a rare text, 1 a frequent one; range(1): case ignored.
inline const char *searchTextFor(const benchmark::State &state)
{
    static const char *const texts[2][2] = {{"zebrawood", "ZEBRAwood"}, {"vintage", "VINTAGE"}};
    return texts[state.range(0)][state.range(1)];
}

// The result list of `def` for `text`, its first page read.
inline std::unique_ptr<BrowseEngine> openSearchResult(const BrowseDef &def, const char *text,
                                                      bool ignoreCase)
{
    Glo.SearchString = text;
    Glo.Ignorecase = ignoreCase ? 1 : 0;
    GlobalRequest = 0;
    auto e = std::make_unique<BrowseEngine>(def, [] { return kSearchPage; });
    e->begin();
    e->windowRefresh();
    return e;
}

// Times opening the result list on the state's text.
inline void timeFirstPage(benchmark::State &state, const BrowseDef &def)
{
    std::unique_ptr<BrowseEngine> e;
    for (auto _ : state)
        e = openSearchResult(def, searchTextFor(state), state.range(1) != 0);
    state.counters["rows"] = static_cast<double>(e->rows().size());
}

// Times a page down, starting over at the top where the matches run out.
inline void timePageDown(benchmark::State &state, const BrowseDef &def)
{
    auto e = openSearchResult(def, searchTextFor(state), state.range(1) != 0);
    for (auto _ : state) {
        e->scroll(ListScroll::PageDown);
        state.PauseTiming();
        if (e->currentRow() == static_cast<int>(e->rows().size()) ||
            e->rows().size() < kSearchPage)
            e->scroll(ListScroll::Top);
        state.ResumeTiming();
    }
    state.counters["rows"] = static_cast<double>(e->rows().size());
}

} // namespace hk::bench
