#include "platform/data/leftovers.h"

#include "platform/data/placeholders.h"

#include <charconv>
#include <filesystem>
#include <optional>
#include <string_view>

namespace hk
{

namespace
{

std::optional<std::int64_t> number(std::string_view text)
{
    std::int64_t n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return n;
}

// The station a leftover's middle part names: "<pid>.<started>.<host>", or
// "<pid>" as earlier versions wrote it (a process of this machine).
std::optional<Station> stationOf(std::string_view tag)
{
    const Station &self = thisStation();
    const auto dot = tag.find('.');
    if (dot == std::string_view::npos) {
        const auto pid = number(tag);
        if (!pid) return std::nullopt;
        return Station{*pid, 0, self.boot, self.host};
    }
    const auto second = tag.find('.', dot + 1);
    if (second == std::string_view::npos) return std::nullopt;
    const auto pid = number(tag.substr(0, dot));
    const auto started = number(tag.substr(dot + 1, second - dot - 1));
    if (!pid || !started) return std::nullopt;
    // The boot is not in the name: the start time tells a later process
    // under the same id apart.
    return Station{*pid, *started, self.boot, std::string(tag.substr(second + 1))};
}

} // namespace

std::string stationFileName(const std::string &path, const char *suffix)
{
    const Station &self = thisStation();
    return path + "." + std::to_string(self.pid) + "." + std::to_string(self.started) + "." +
           self.host + suffix;
}

int removeLeftovers(const std::string &path, const char *suffix)
{
    namespace fs = std::filesystem;
    const fs::path target(path);
    const std::string base = target.filename().string() + ".", tail = suffix;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    int removed = 0;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= base.size() + tail.size() || !name.starts_with(base) ||
            !name.ends_with(tail) || !it->is_regular_file(error))
            continue;
        const std::optional<Station> station = stationOf(
            std::string_view(name).substr(base.size(), name.size() - base.size() - tail.size()));
        std::error_code gone;
        if (station && !stationRunning(*station) && fs::remove(it->path(), gone)) ++removed;
    }
    return removed;
}

} // namespace hk
