// The editor's operations as the user triggers them, through the real window (offscreen):
// a whole trigger selection, each load and save, an add, a delete and the unit-name
// look-up that runs at every keystroke. Saves report their ratio to a plain copy of the
// same file ("x_copy"), the I/O floor of a rewrite.
#include "RulesGenerator.h"

#include "records/RecordOps.h"

#include "support/Controls.h"
#include "ui/Dialogs.h"
#include "ui/FileCommands.h"
#include "ui/FrmCompare.h"
#include "ui/FrmMain.h"
#include "ui/FrmTable.h"
#include "ui/PanelKit.h"
#include "ui/RegistryListModel.h"
#include "ui/RegistryLists.h"
#include "ui/UnitChoiceBox.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

using namespace tarvok;

namespace {

class BenchDialogs : public Dialogs {
  public:
    QString file;
    QString answer;
    MsgAnswer message(QWidget*, const QString&, const QString&, MsgIcon,
                      MsgButtons buttons) override {
        return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Yes;
    }
    QString prompt(QWidget*, const QString&, const QString&, const QString&) override {
        return answer;
    }
    QString openFile(QWidget*, const QString&, const QString&, const QString&) override {
        return file;
    }
    QString saveFile(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    std::optional<quint32> chooseColor(QWidget*) override { return std::nullopt; }
    void setClipboardText(const QString&) override {}
    QString clipboardText() override { return {}; }
};

struct Session {
    QTemporaryDir dir;
    BenchDialogs dialogs;
    bench::GeneratedRules rules;
    std::unique_ptr<RulesDocument> document;
    std::unique_ptr<FrmMain> main;
    std::unique_ptr<tarvok::test::Window> w;
    double copyMs = 0;

    // withMod: the game rules file and string tables of a large mod beside the AI file.
    explicit Session(qsizetype size, bool withMod = false) {
        const QDir data(QStringLiteral(TARVOK_DATA_DIR));
        for (const QString& name : data.entryList(QDir::Files))
            QFile::copy(data.filePath(name), dir.filePath(name));
        rules = bench::generateRules(size);
        QDir(dir.path()).mkdir(QStringLiteral("mod"));
        if (withMod)
            bench::writeMod(dir.filePath(QStringLiteral("mod")));
        dialogs.file = dir.filePath(QStringLiteral("mod/aimd.ini"));
        QFile f(dialogs.file);
        f.open(QIODevice::WriteOnly);
        f.write(rules.content);
        f.close();
        const ProgramFiles files(dir.path(), dir.filePath(QStringLiteral("user")));
        document = std::make_unique<RulesDocument>(files.scratchCopy(), files.historyFolder());
        main = std::make_unique<FrmMain>(dialogs, files, *document);
        w = std::make_unique<tarvok::test::Window>(*main);
        w->CmdOpen_Click();
        copyMs = medianCopyMs();
    }

    // The floor: the system copying the same file, median of several runs.
    double medianCopyMs() {
        const QString target = dir.filePath(QStringLiteral("copy.ini"));
        std::vector<double> runs;
        for (int i = 0; i < 9; ++i) {
            QFile::remove(target);
            QElapsedTimer t;
            t.start();
            QFile::copy(dialogs.file, target);
            runs.push_back(t.nsecsElapsed() / 1e6);
        }
        std::sort(runs.begin(), runs.end());
        return runs[runs.size() / 2];
    }

    void selectMiddleTrigger() {
        if (middleTriggerRow < 0) // finding the row is the user's part, not the editor's
            middleTriggerRow = static_cast<int>(
                registrylists::entriesOf(w->LstRoot)->texts().indexOf(rules.middleTriggerKey));
        selectRow(w->LstRoot, middleTriggerRow);
        w->LstRoot_Click();
    }
    int middleTriggerRow = -1;

    static void selectRow(QAbstractItemView* list, int row) {
        list->setCurrentIndex(list->model()->index(row, 0));
    }
};

std::map<qsizetype, std::unique_ptr<Session>>& sessions() {
    static std::map<qsizetype, std::unique_ptr<Session>> all;
    return all;
}

Session& session(qsizetype size, bool withMod = false) {
    auto& s = sessions()[size + (withMod ? 1 : 0)]; // sizes are whole kilobytes
    if (!s)
        s = std::make_unique<Session>(size, withMod);
    return *s;
}

// After a write the file is read again on the second core. A person's next write comes
// seconds later, when that reading is done; so does each timed write here.
// The reading of the last write arrives through the event loop, as a person's next action
// does.
void settle(Session& s) {
    while (s.main->document().readingInProgress())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

template <typename F> void timed(benchmark::State& state, Session& s, F&& f, bool ratio = false) {
    double total = 0;
    for (auto _ : state) {
        if (ratio)
            settle(s);
        QElapsedTimer t;
        t.start();
        f();
        const double ms = t.nsecsElapsed() / 1e6;
        total += ms;
        state.SetIterationTime(ms / 1000);
    }
    state.counters["file_MB"] = static_cast<double>(s.rules.content.size()) / (1024 * 1024);
    if (ratio && state.iterations() > 0) {
        state.counters["copy_ms"] = s.copyMs;
        state.counters["x_copy"] = total / static_cast<double>(state.iterations()) / s.copyMs;
    }
}

void BM_OpenFile(benchmark::State& state) {
    Session& s = session(state.range(0));
    timed(state, s, [&] { s.w->CmdOpen_Click(); });
}

// The part of opening that fills the four lists from the index (entries and names are
// decoded as they are shown).
void BM_FillLists(benchmark::State& state) {
    Session& s = session(state.range(0));
    const std::shared_ptr<const RulesIndex> index = s.main->document().index();
    timed(state, s, [&] {
        for (QAbstractItemView* list : {s.w->LstRoot, s.w->LstFig, s.w->LstSpe, s.w->LstScr})
            registrylists::entriesOf(list)->setIndex(index);
    });
}

// One keystroke in the trigger list's filter, until the list is laid out again: by ID (the
// entries shown stand in a few runs) and by name (every third entry, then every sixth).
void filterKeystroke(benchmark::State& state, const QString& shorter, const QString& longer) {
    Session& s = session(state.range(0));
    auto* filter = s.main->findChild<QLineEdit*>(QStringLiteral("TxtFindRoot"));
    int i = 0;
    timed(state, s, [&] {
        filter->setText(++i % 2 ? shorter : longer);
        s.w->LstRoot->doItemsLayout();
    });
    filter->clear();
}

void BM_FilterKeystroke(benchmark::State& state) {
    filterKeystroke(state, QStringLiteral("00"), QStringLiteral("001"));
}

void BM_FilterKeystrokeByName(benchmark::State& state) {
    filterKeystroke(state, QStringLiteral("军"), QStringLiteral("军进"));
}

// The same, by a unit the triggers' teams use: its ID, then its in-game name's first part.
void BM_FilterKeystrokeByUnit(benchmark::State& state) {
    Session& s = session(state.range(0));
    // The first text after a reading starts reading what the records use in the pool, unless
    // a filter box's focus started that already (timed here without it): the keystroke
    // shows what ID and name find (first_ms), the triggers using the unit follow once that
    // reading arrived (units_ms, from the keystroke).
    QElapsedTimer first;
    first.start();
    s.main->findChild<QLineEdit*>(QStringLiteral("TxtFindRoot"))->setText("SREF");
    const double firstMs = static_cast<double>(first.nsecsElapsed()) / 1e6;
    while (s.w->LstRoot->model()->rowCount() == 0 && first.elapsed() < 10'000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double unitsMs = static_cast<double>(first.nsecsElapsed()) / 1e6;
    filterKeystroke(state, QStringLiteral("SREF"), QStringLiteral("MTNK"));
    state.counters["first_ms"] = firstMs;
    state.counters["units_ms"] = unitsMs;
}

// One keystroke in a unit name box of 5 000 entries (or 1 189, a published mod's count),
// until its offers are laid out: a letter typed, then taken back.
void BM_ChoiceSearchKeystroke(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    QWidget window;
    QComboBox* box = FieldHelpers::makeCombo(QStringLiteral("CboSpeC"), &window);
    UnitChoiceBox names(box);
    QStringList ids, labels;
    for (int i = 0; i < n; ++i) {
        ids << QStringLiteral("UNIT%1").arg(i);
        labels << QStringLiteral("单位 %1 号 Tank").arg(i % (n / 2)); // every name twice
    }
    names.setChoices(UnitChoices(ids, labels));
    window.show();
    QApplication::setActiveWindow(&window);
    box->setFocus();
    QLineEdit* edit = box->lineEdit();
    auto key = [edit](Qt::Key k, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
        QApplication::sendEvent(edit, &press);
    };
    key(Qt::Key_1, QStringLiteral("1"));
    int i = 0;
    QElapsedTimer t;
    for (auto _ : state) {
        t.start();
        if (++i % 2)
            key(Qt::Key_2, QStringLiteral("2")); // "12": about one entry in 45
        else
            key(Qt::Key_Backspace, QString()); // "1": about one in 3
        box->completer()->popup()->doItemsLayout();
        benchmark::DoNotOptimize(box->completer()->completionCount()); // every offer found
        state.SetIterationTime(static_cast<double>(t.nsecsElapsed()) / 1e9);
    }
    state.counters["offers"] = box->completer()->completionCount();
}

void BM_SelectTrigger(benchmark::State& state) {
    Session& s = session(state.range(0));
    timed(state, s, [&] { s.selectMiddleTrigger(); });
}

void BM_LoadTrigger(benchmark::State& state) {
    Session& s = session(state.range(0));
    timed(state, s, [&] { s.w->LoadTrigger(s.rules.middleTriggerKey); });
}

void BM_LoadTeamType(benchmark::State& state) {
    Session& s = session(state.range(0));
    timed(state, s, [&] { s.w->LoadTeamType(s.rules.middleTeamType); });
}

void BM_LoadTaskForce(benchmark::State& state) {
    Session& s = session(state.range(0));
    timed(state, s, [&] { s.w->LoadTaskForce(s.rules.middleTaskForce); });
}

void BM_LoadScriptType(benchmark::State& state) {
    Session& s = session(state.range(0));
    timed(state, s, [&] { s.w->LoadScriptType(s.rules.middleScript); });
}

void BM_SaveTrigger(benchmark::State& state) {
    Session& s = session(state.range(0));
    s.selectMiddleTrigger();
    // Each save writes: the value changes every time.
    timed(
        state, s,
        [&] {
            s.w->ChkLow->setChecked(!s.w->ChkLow->isChecked());
            s.w->CmdSaveRoot_Click();
        },
        true);
}

// The same edit saved through the document alone, in the same session: what the window's
// own part of a save costs is the difference.
void BM_SaveTriggerDocument(benchmark::State& state) {
    Session& s = session(state.range(0));
    s.selectMiddleTrigger();
    RulesDocument& doc = s.main->document();
    const QString key = s.rules.middleTriggerKey;
    records::TriggerFields loaded = records::LoadTrigger(*doc.index(), key).fields;
    timed(
        state, s,
        [&] {
            records::TriggerFields now = loaded;
            now.low = !now.low;
            benchmark::DoNotOptimize(records::SaveTrigger(doc, key, loaded, now));
            loaded = now;
        },
        true);
}

void BM_SaveTeamType(benchmark::State& state) {
    Session& s = session(state.range(0));
    s.selectMiddleTrigger();
    timed(
        state, s,
        [&] {
            s.w->TxtPriority->setText(s.w->TxtPriority->text() == "7" ? "8" : "7");
            s.w->CmdSaveFig_Click();
        },
        true);
}

void BM_SaveTaskForce(benchmark::State& state) {
    Session& s = session(state.range(0));
    s.selectMiddleTrigger();
    timed(
        state, s,
        [&] {
            s.w->TxtSpeName->setText(s.w->TxtSpeName->text() == "A" ? "B" : "A");
            s.w->CmdSaveSpe_Click();
        },
        true);
}

void BM_SaveScriptType(benchmark::State& state) {
    Session& s = session(state.range(0));
    s.selectMiddleTrigger();
    timed(
        state, s,
        [&] {
            s.w->TxtScrName->setText(s.w->TxtScrName->text() == "A" ? "B" : "A");
            s.w->CmdSaveScr_Click();
        },
        true);
}

// An add of a task force, and its delete, each timed alone.
void BM_AddTaskForce(benchmark::State& state) {
    Session& s = session(state.range(0));
    double total = 0;
    int n = 0;
    for (auto _ : state) {
        s.dialogs.answer = QStringLiteral("BENCH-%1").arg(n++);
        settle(s);
        QElapsedTimer t;
        t.start();
        s.w->CmdSpeAdd_Click();
        const double ms = t.nsecsElapsed() / 1e6;
        total += ms;
        state.SetIterationTime(ms / 1000);
        state.PauseTiming();
        Session::selectRow(s.w->LstSpe, s.w->LstSpe->model()->rowCount() - 1);
        s.w->CmdSpeKill_Click();
        state.ResumeTiming();
    }
    state.counters["x_copy"] = total / std::max<double>(1, n) / s.copyMs;
}

void BM_DeleteTaskForce(benchmark::State& state) {
    Session& s = session(state.range(0));
    double total = 0;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.dialogs.answer = QStringLiteral("BENCH-%1").arg(n++);
        s.w->CmdSpeAdd_Click();
        Session::selectRow(s.w->LstSpe, s.w->LstSpe->model()->rowCount() - 1);
        settle(s);
        state.ResumeTiming();
        QElapsedTimer t;
        t.start();
        s.w->CmdSpeKill_Click();
        const double ms = t.nsecsElapsed() / 1e6;
        total += ms;
        state.SetIterationTime(ms / 1000);
    }
    state.counters["x_copy"] = total / std::max<double>(1, n) / s.copyMs;
}

// ---- 触发总表: every trigger in one table

FrmTable* triggerTable(Session& s) {
    auto* table = s.main->findChild<FrmTable*>(QStringLiteral("FrmTable"));
    if (!table) {
        s.main->findChild<QAction*>(QStringLiteral("mTriggerTable"))->trigger();
        table = s.main->findChild<FrmTable*>(QStringLiteral("FrmTable"));
    }
    return table;
}

QTableView* tableView(FrmTable* table) {
    return table->findChild<QTableView*>(QStringLiteral("TblTriggers"));
}

// From the menu to the table laid out: every trigger read, described and shown. The
// window of the round before is closed first, untimed.
void BM_OpenTriggerTable(benchmark::State& state) {
    Session& s = session(state.range(0));
    for (auto _ : state) {
        delete s.main->findChild<FrmTable*>(QStringLiteral("FrmTable"));
        QElapsedTimer t;
        t.start();
        tableView(triggerTable(s))->doItemsLayout();
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
    }
    state.counters["rows"] = tableView(triggerTable(s))->model()->rowCount();
}

// 工具 → 比较文件… against the last kept version (one trigger's weight changed since), from
// the menu command to the tree laid out.
void BM_OpenCompare(benchmark::State& state) {
    Session& s = session(state.range(0));
    RulesDocument& doc = s.main->document();
    if (!doc.history() || doc.history()->size(History::Stack::Undo) == 0) {
        doc.edit([](const QByteArray& content, const TextCodec&) {
            QByteArray changed = content;
            const qsizetype at = changed.indexOf(".000000,");
            changed.insert(at, '1');
            return std::optional<QByteArray>(changed);
        });
        settle(s);
    }
    int rows = 0;
    for (auto _ : state) {
        delete s.main->findChild<FrmCompare*>(QStringLiteral("FrmCompare"));
        QElapsedTimer t;
        t.start();
        s.main->findChild<QAction*>(QStringLiteral("mCompare"))->trigger();
        auto* tree = s.main->findChild<QTreeWidget*>(QStringLiteral("TvwCompare"));
        tree->doItemsLayout();
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
        rows = tree->topLevelItemCount();
    }
    state.counters["kinds_listed"] = rows;
}

// An edit of the forecast's state (遭遇战 ticked and unticked in turn), from the click to the
// table of triggers laid out again, with the generated mod in use.
void BM_PredictStateEdit(benchmark::State& state) {
    Session& s = session(state.range(0), true);
    if (!s.main->findChild<QWidget*>(QStringLiteral("FrmPredict")))
        s.main->findChild<QAction*>(QStringLiteral("mPredict"))->trigger();
    auto* skirmish = s.main->findChild<QCheckBox*>(QStringLiteral("ChkPredSkirmish"));
    auto* table = s.main->findChild<QTableView*>(QStringLiteral("TblPredict"));
    timed(state, s, [&] {
        skirmish->click();
        table->doItemsLayout();
    });
    state.counters["rows"] = table->model()->rowCount();
}

// A click on a header: by base weight, up and down in turn, laid out again.
void BM_TriggerTableSort(benchmark::State& state) {
    Session& s = session(state.range(0));
    QTableView* view = tableView(triggerTable(s));
    int i = 0;
    timed(state, s, [&] {
        view->sortByColumn(triggertable::Base, ++i % 2 ? Qt::AscendingOrder : Qt::DescendingOrder);
        view->doItemsLayout();
    });
}

// One keystroke in TxtTableFind, until the table is laid out again.
void BM_TriggerTableFilter(benchmark::State& state) {
    Session& s = session(state.range(0));
    FrmTable* table = triggerTable(s);
    auto* find = table->findChild<QLineEdit*>(QStringLiteral("TxtTableFind"));
    int i = 0;
    timed(state, s, [&] {
        find->setText(++i % 2 ? QStringLiteral("00") : QStringLiteral("001"));
        tableView(table)->doItemsLayout();
    });
    find->clear();
}

// CmdTableSave with the base weight of n triggers edited (a new value each round): one
// write, then the table read again, as after any write.
void tableSave(benchmark::State& state, int n) {
    Session& s = session(state.range(0));
    FrmTable* table = triggerTable(s);
    auto* save = table->findChild<QPushButton*>(QStringLiteral("CmdTableSave"));
    int round = 0;
    timed(
        state, s,
        [&] {
            ++round;
            triggertable::Table& rows = table->model().table();
            const int step = rows.size() / n;
            for (int i = 0; i < n; ++i)
                rows.set(i * step, triggertable::Base, QString::number(100 + round % 50));
            table->model().changedAll(); // as the cells' edits say
            save->click();
        },
        true);
}

void BM_TriggerTableSaveOne(benchmark::State& state) {
    tableSave(state, 1);
}

void BM_TriggerTableSave1000(benchmark::State& state) {
    tableSave(state, 1000);
}

// Runs at every keystroke in the unit fields.
void BM_UnitNameLookup(benchmark::State& state) {
    Session& s = session(state.range(0));
    timed(state, s, [&] { benchmark::DoNotOptimize(s.w->LookupUnitName(QStringLiteral("HTNK"))); });
}

// Opening an AI file of a large mod whose files have not changed since they were read, and
// the part of it that fills the unit choices from the mod's thousands of types.
void BM_OpenFileOfMod(benchmark::State& state) {
    Session& s = session(state.range(0), true);
    timed(state, s, [&] { s.w->CmdOpen_Click(); });
}

void BM_FillUnitChoices(benchmark::State& state) {
    Session& s = session(state.range(0), state.range(1) != 0);
    timed(state, s, [&] { s.main->files().fillUnitChoices(); });
    state.counters["units"] = s.w->CboUnit->count();
}

constexpr qsizetype kSmall = 200 * 1024;
constexpr qsizetype kLarge = 20 * 1024 * 1024;

} // namespace

// The windows must go before the application object does.
void releaseWindowSessions() {
    sessions().clear();
}

#define WINDOW_BENCH(fn)                                                                           \
    BENCHMARK(fn)                                                                                  \
        ->Arg(kSmall)                                                                              \
        ->Arg(kLarge)                                                                              \
        ->UseManualTime()                                                                          \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->MinTime(0.5)
WINDOW_BENCH(BM_OpenFile);
WINDOW_BENCH(BM_FillLists);
WINDOW_BENCH(BM_SelectTrigger);
WINDOW_BENCH(BM_LoadTrigger);
WINDOW_BENCH(BM_LoadTeamType);
WINDOW_BENCH(BM_LoadTaskForce);
WINDOW_BENCH(BM_LoadScriptType);
WINDOW_BENCH(BM_FilterKeystroke);
WINDOW_BENCH(BM_FilterKeystrokeByName);
WINDOW_BENCH(BM_FilterKeystrokeByUnit);
BENCHMARK(BM_ChoiceSearchKeystroke)
    ->Arg(1189)
    ->Arg(5000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5);
WINDOW_BENCH(BM_SaveTrigger);
WINDOW_BENCH(BM_SaveTriggerDocument);
WINDOW_BENCH(BM_SaveTeamType);
WINDOW_BENCH(BM_SaveTaskForce);
WINDOW_BENCH(BM_SaveScriptType);
WINDOW_BENCH(BM_AddTaskForce);
WINDOW_BENCH(BM_DeleteTaskForce);
WINDOW_BENCH(BM_UnitNameLookup);
WINDOW_BENCH(BM_OpenTriggerTable);
BENCHMARK(BM_OpenCompare)->Arg(kSmall)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PredictStateEdit)->Arg(kSmall)->UseManualTime()->Unit(benchmark::kMillisecond);
WINDOW_BENCH(BM_TriggerTableSort);
WINDOW_BENCH(BM_TriggerTableFilter);
WINDOW_BENCH(BM_TriggerTableSaveOne);
WINDOW_BENCH(BM_TriggerTableSave1000);
BENCHMARK(BM_OpenFileOfMod)
    ->Arg(kSmall)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5);
BENCHMARK(BM_FillUnitChoices)
    ->Args({kSmall, 0})
    ->Args({kSmall, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5);
