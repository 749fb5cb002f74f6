// Folders are layers: every #include of src/ points to its own folder or to
// one the table below lets it reach. A new arrow upward fails here, naming the
// file, the line and the folder it reached.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{

const std::set<std::string> kPlatform = {"dictionary", "platform", "platform/data",
                                         "platform/windows"};

std::set<std::string> with(std::set<std::string> base, std::initializer_list<const char *> more)
{
    base.insert(more.begin(), more.end());
    return base;
}

// Which folders each folder's files may include, besides their own.
const std::map<std::string, std::set<std::string>> &allowed()
{
    static const std::map<std::string, std::set<std::string>> table = [] {
        std::map<std::string, std::set<std::string>> t;
        t["dictionary"] = {};
        t["platform/data"] = {"dictionary"};
        t["platform"] = {"dictionary"};
        t["platform/windows"] = {"dictionary", "platform"};
        t["integrity"] = kPlatform;
        t["browse"] = with(kPlatform, {"integrity"});
        t["browse/lists"] = with(kPlatform, {"integrity", "browse"});
        t["reports"] = with(kPlatform, {"integrity", "browse"});
        t["reports/catalogue"] = with(kPlatform, {"integrity", "browse", "reports"});
        t["forms"] = with(kPlatform, {"integrity", "browse", "browse/lists"});
        t["forms/catalogue"] = with(kPlatform, {"integrity", "browse", "browse/lists", "forms"});
        t["collection"] = with(kPlatform, {"integrity", "forms"});
        t["shell"] = with(kPlatform, {"integrity", "browse", "browse/lists", "reports",
                                      "reports/catalogue", "forms", "forms/catalogue",
                                      "collection"});
        t["app"] = with(t["shell"], {"shell"});
        return t;
    }();
    return table;
}

struct Include {
    std::string file;
    int line;
    std::string from, to;
};

std::vector<Include> includesOf(const fs::path &src)
{
    static const std::regex quoted(R"(^\s*#\s*include\s*"([^"]+)\")");
    std::vector<Include> all;
    for (const auto &entry : fs::recursive_directory_iterator(src)) {
        const fs::path &p = entry.path();
        if (!entry.is_regular_file() || (p.extension() != ".h" && p.extension() != ".cpp"))
            continue;
        const std::string folder = p.parent_path().lexically_relative(src).generic_string();
        std::ifstream in(p);
        std::string text;
        for (int n = 1; std::getline(in, text); ++n) {
            std::smatch m;
            if (!std::regex_search(text, m, quoted)) continue;
            const fs::path target(m[1].str());
            if (!target.has_parent_path()) continue; // generated moc files
            all.push_back({p.lexically_relative(src).generic_string(), n, folder,
                           target.parent_path().generic_string()});
        }
    }
    return all;
}

} // namespace

TEST(Layers, EveryIncludePointsDownAndEveryFolderIsALayer)
{
    const fs::path src(HK_SOURCE_DIR);
    const std::vector<Include> includes = includesOf(src);
    ASSERT_GT(includes.size(), 100u) << "no includes read under " << src;

    std::set<std::string> folders;
    for (const auto &entry : fs::recursive_directory_iterator(src))
        if (entry.is_directory()) folders.insert(entry.path().lexically_relative(src).generic_string());
    for (const std::string &folder : folders)
        EXPECT_TRUE(allowed().count(folder)) << "src/" << folder << " has no place in the layers";

    for (const Include &inc : includes) {
        if (inc.to == inc.from) continue;
        auto layer = allowed().find(inc.from);
        if (layer == allowed().end()) continue; // reported above
        EXPECT_TRUE(layer->second.count(inc.to))
            << "src/" << inc.file << ":" << inc.line << " reaches up into " << inc.to << "/";
    }
}

TEST(Layers, TheTableItselfRunsOneWay)
{
    // A pair allowed both ways would let a folder cycle back through it.
    for (const auto &[folder, below] : allowed())
        for (const std::string &other : below) {
            auto back = allowed().find(other);
            ASSERT_NE(back, allowed().end()) << folder << " may include unknown " << other;
            EXPECT_FALSE(back->second.count(folder)) << folder << " and " << other << " cycle";
        }
}
