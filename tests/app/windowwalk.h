// Every window of the program as the user meets it, opened one at a time in
// the running frame, found from the catalogue's own definitions: the
// procedures the frame starts (each report by its selection windows), every
// form of the form catalogue, and whatever the lists start and the searches
// show. A visitor looks at each window before the walk closes it again.
#pragma once

#include "app/catalogue.h"
#include "browse/browse.h"
#include "browse/forms.h"
#include "browse/listwindow.h"
#include "browse/search.h"
#include "dictionary/globals.h"
#include "dictionary/tables.h"
#include "forms/formdef.h"
#include "forms/formwindow.h"
#include "platform/filedialogs.h"
#include "platform/settingsfile.h"
#include "platform/windows/layout.h"
#include "programfixture.h"
#include "reports/reportdef.h"
#include "shell/frame.h"
#include "testapp.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

#include <deque>
#include <set>

namespace hk::test
{

struct VisitedWindow {
    Procedure &procedure;
    QWidget *window;      // the frame's sub-window, or a window of its own
    BuiltWindow *content; // its controls as built from a layout; null for the frame
};
using WindowVisit = std::function<void(const VisitedWindow &)>;

class WindowWalk : public ProgramTest
{
  protected:
    TempSettings settings;
    ScriptedFileDialogService files;
    Long frameId = 0;

    void SetUp() override
    {
        app();
        ProgramTest::SetUp();
        setFileDialogService(&files);
        registerForms();
        // Drive A: in the test's folder, not in the home of whoever runs it.
        const QString backups = dir.filePath(QStringLiteral("backups"));
        ASSERT_TRUE(QDir().mkpath(backups));
        settingsService().write("HEARTHKP.INI", "Drives", "A", backups.toStdString());
        // A magazine with a year, so that the report's choice of a magazine
        // leads on to the choice of its year.
        TablesInUse held{&MagName, &MagYear};
        Mag = MagNameRecord{};
        Mag.MagazineNameId = 1;
        Mag.MagazineName = "Garden Monthly";
        ASSERT_EQ(MagName.add(), NoError);
        Yer = MagYearRecord{};
        Yer.MagazineYearId = 1;
        Yer.MagazineNameId = 1;
        Yer.MagazineYear = 2024;
        ASSERT_EQ(MagYear.add(), NoError);
    }

    void TearDown() override
    {
        for (Procedure *p : runningProcedures())
            if (p->window()) p->window()->close();
        waitFor([] { return runningProcedures().empty(); });
        QCoreApplication::processEvents();
        setFileDialogService(nullptr);
        ProgramTest::TearDown();
    }

    // Opens every window in turn and hands it to `visit`; returns the names
    // of the procedures whose windows were visited, in order. The frame,
    // the introduction and the first-start owner window come first.
    std::vector<QString> walk(const WindowVisit &visit)
    {
        using namespace std::chrono_literals;
        std::vector<QString> names;
        frameId = start(std::make_unique<Main>(programProcedures(), 10min));
        Procedure *frame = findProcedure(frameId);
        EXPECT_TRUE(waitFor([frame] { return frame->window() && frame->window()->isVisible(); }));
        // Room for every window at its design size.
        frame->window()->resize(2400, 1500);
        QCoreApplication::processEvents();
        names.push_back(frame->name());
        visit({*frame, frame->window(), nullptr});
        visitNew(visit, names); // the introduction and the owner window it calls

        std::set<QString> seen(names.begin(), names.end());
        std::deque<std::pair<ProcedureFactory, Long>> queue;
        std::set<QString> reports;
        for (const ReportDefinition *r : allReports()) {
            reports.insert(r->name);
            if (r->select) queue.emplace_back(r->select, SelectRecord);
        }
        for (const auto &[name, factory] : programProcedures())
            if (!reports.contains(name)) queue.emplace_back(factory, RequestNone);
        for (const FormDef &form : allForms())
            queue.emplace_back([&form] { return std::make_unique<FormProcedure>(form); },
                               InsertRecord);

        while (!queue.empty()) {
            auto [factory, request] = queue.front();
            queue.pop_front();
            std::unique_ptr<Procedure> p = factory();
            const QString name = p->name();
            if (!seen.insert(name).second) continue;
            const std::size_t before = names.size();
            const std::size_t shownBefore = boxes.boxes().size();
            // A new record starts from empty buffers, as a list leaves them.
            if (request == InsertRecord)
                for (int t = 0; t < TableCount; ++t)
                    table(TableId(t)).def().clear(table(TableId(t)).buffer());
            GlobalRequest = request;
            start(std::move(p));
            visitNew(visit, names, [&queue](Procedure &opened) { discover(opened, queue); });
            // A procedure that only asks (for a file, say) has no window of its own.
            if (names.size() == before && boxes.boxes().size() > shownBefore)
                ADD_FAILURE() << name.toStdString() << " opened no window but said \""
                              << boxes.boxes().back().text << '"';
            for (std::size_t i = before; i < names.size(); ++i)
                seen.insert(names[i]);
        }
        return names;
    }

  private:
    // The windows a list starts and the result a search shows, found from
    // their definitions; forms and child lists are in the catalogue anyway.
    static void discover(Procedure &opened, std::deque<std::pair<ProcedureFactory, Long>> &queue)
    {
        if (auto *list = qobject_cast<ListWindow *>(&opened)) {
            for (const BrowseDef *def : list->definitions()) {
                for (const BrowseAction &a : def->actions)
                    queue.emplace_back(a.procedure, RequestNone);
                if (ProcedureFactory form = formProcedure(def->main); form && def->updates())
                    queue.emplace_back(form, InsertRecord);
            }
        }
        if (auto *search = qobject_cast<SearchWindow *>(&opened)) {
            const SearchKind &kind = search->kind();
            queue.emplace_back([&kind] { return std::make_unique<Browse>(kind.result()); },
                               RequestNone);
        }
    }

    static BuiltWindow *contentOf(QWidget *window)
    {
        if (auto *sub = qobject_cast<QMdiSubWindow *>(window))
            return qobject_cast<BuiltWindow *>(sub->widget());
        if (auto *built = qobject_cast<BuiltWindow *>(window)) return built;
        return window->findChild<BuiltWindow *>();
    }

    // Visits each window that has opened and not been visited, then closes
    // it, until no procedure but the frame is left. A choosing window with
    // something to choose is left by its Select, so that what the choice
    // leads to opens as well.
    void visitNew(const WindowVisit &visit, std::vector<QString> &names,
                  const std::function<void(Procedure &)> &found = {})
    {
        // Held weakly: a window opened later may take a gone one's address.
        std::vector<QPointer<QWidget>> visited;
        for (int rounds = 0; rounds < 20; ++rounds) {
            waitFor([this, &visited] { return openWindow(visited) || onlyTheFrame(); });
            QCoreApplication::processEvents();
            Procedure *p = openWindow(visited);
            if (!p) {
                if (onlyTheFrame()) return;
                continue;
            }
            QWidget *w = p->window();
            visited.emplace_back(w);
            names.push_back(p->name());
            BuiltWindow *content = contentOf(w);
            QPointer<QWidget> gone(w);
            if (found) found(*p); // before the visit, which may close the window
            visit({*p, w, content});
            if (!gone) continue;
            auto *list = qobject_cast<Browse *>(p);
            const BrowseDef *def = list ? list->definitions().front() : nullptr;
            QAbstractButton *select = def && def->select && content
                                          ? content->controlAs<QPushButton>(def->select)
                                          : nullptr;
            if (select && select->isVisible() && select->isEnabled())
                select->click();
            else
                w->close();
            waitFor([&gone] { return gone.isNull(); });
        }
        ADD_FAILURE() << "windows kept opening";
    }

    Procedure *openWindow(const std::vector<QPointer<QWidget>> &visited) const
    {
        // The innermost first: a called window before the one that called it.
        const std::vector<Procedure *> all = runningProcedures();
        for (auto it = all.rbegin(); it != all.rend(); ++it) {
            QWidget *w = (*it)->window();
            const bool seen =
                std::any_of(visited.begin(), visited.end(), [w](const auto &v) { return v == w; });
            if ((*it)->id() != frameId && w && w->isVisible() && !seen) return *it;
        }
        return nullptr;
    }

    bool onlyTheFrame() const
    {
        const std::vector<Procedure *> all = runningProcedures();
        return all.size() == 1 && all.front()->id() == frameId;
    }
};

} // namespace hk::test
