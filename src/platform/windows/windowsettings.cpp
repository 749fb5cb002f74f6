#include "platform/windows/windowsettings.h"

#include "platform/settingsfile.h"
#include "platform/windows/visiblearea.h"

#include <QMdiSubWindow>
#include <QWidget>

#include <string>

namespace hk
{

namespace
{

bool fixedSize(const QWidget *w)
{
    return w->minimumSize() == w->maximumSize();
}

// A sub-window cannot be sized beyond what its content allows.
bool resizable(const QWidget *window)
{
    if (fixedSize(window)) return false;
    if (auto *sub = qobject_cast<const QMdiSubWindow *>(window); sub && sub->widget())
        return !fixedSize(sub->widget());
    return true;
}

// The window's place when it is not maximized. A top-level window knows it
// without leaving the maximized state (which would show on the screen); a
// sub-window is restored first and remembers its earlier place for that.
QRect normalPlace(QWidget *window)
{
    if (window->isWindow())
        return window->isMaximized() ? window->normalGeometry() : window->geometry();
    if (window->isMaximized()) window->showNormal();
    return window->geometry();
}

} // namespace

void SaveWindowSettings(QWidget *window, std::string_view file, std::string_view section)
{
    if (!window || window->isMinimized()) return;
    const bool maximized = window->isMaximized();
    const QRect place = normalPlace(window);
    SettingsService &settings = settingsService();
    settings.write(file, section, "Maximize", maximized ? "Yes" : "No");
    settings.write(file, section, "XPosit", std::to_string(place.x()));
    settings.write(file, section, "YPosit", std::to_string(place.y()));
    settings.write(file, section, "Width", std::to_string(place.width()));
    settings.write(file, section, "Height", std::to_string(place.height()));
}

std::optional<int> ResetWindowSettings(std::string_view file)
{
    return settingsService().removeKeysEverywhere(
        file, {"Maximize", "XPosit", "YPosit", "Width", "Height"});
}

void RestoreWindowSettings(QWidget *window, std::string_view file, std::string_view section)
{
    if (!window) return;
    SettingsService &settings = settingsService();
    auto number = [&](std::string_view key) {
        return static_cast<int>(settings.readNumber(file, section, key, 0));
    };
    if (number("XPosit") == 0) return;
    if (!window->isMaximized()) {
        const int x = number("XPosit");
        const int y = number("YPosit");
        if (x != 0 && y != 0) {
            if (resizable(window)) {
                const int width = number("Width");
                const int height = number("Height");
                if (width != 0 && height != 0) placeInside(window, QRect(x, y, width, height));
            } else {
                // geometry, not move: a top-level window's move places its frame
                placeInside(window, QRect(QPoint(x, y), window->size()));
            }
        }
    }
    if (settings.read(file, section, "Maximize", {}).substr(0, 20) == "Yes")
        window->showMaximized();
    else if (window->isMaximized())
        window->showNormal();
}

} // namespace hk
