// Lookups against a 1,000,000-row SQLite table. Goal: under 50 ms to show 100 rows.
// "GridShows100Rows": a grid paints 100 records of a small set whose lookup field finds its text in
//   the big table (each paint reads the 100 lookup values again).
// "FirstShowAfterAChange": the same paint right after the big table was written to, so the first
//   lookup pays for reading the table's keys again.
// "IndexOfAMillionKeys": reading the table's key column into the index that every later lookup
//   uses, and the memory that index keeps.
// "ListBoxFollowsTheKey": a lookup list box over the big table finds the row of a new key.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>

#include <QImage>
#include <QTemporaryDir>

#include "bench/qt_bench_main.h"
#include "platform/data/memory_data_set.h"
#include "skin/db_grid.h"
#include "skin/db_lookup_list_box.h"
#include "tests/support/people_data.h"

using namespace kavri;

namespace {

constexpr int kListRows = 1000000;
constexpr int kShownRows = 100;

// Far apart keys, so no two lookups read neighbouring rows of the table.
int KeyOf(int i) { return static_cast<int>((static_cast<long long>(i) * 7919 * 13) % kListRows) + 1; }

struct BigList {
  BigList() {
    set = kavri_test::OpenNumberedPeople(dir.filePath("choices.db"), kListRows);
    source.SetDataSet(set.get());
  }
  bool Written() const { return set->RecordCount() == kListRows; }

  QTemporaryDir dir;
  std::unique_ptr<TSQLiteDataSet> set;
  TDataSource source;
};

// A hundred people, each with a lookup field showing the name of their choice in the big table.
struct GridOfPeople {
  explicit GridOfPeople(BigList& list) {
    people.AddFieldDef("id", TFieldType::ftInteger);
    people.AddFieldDef("name", TFieldType::ftString, 20);
    for (int i = 0; i < kShownRows; ++i) people.AddRecord({KeyOf(i), QStringLiteral("viewer %1").arg(i)});
    people.AddLookupField("choice", TFieldType::ftString, 20, {"id", list.set.get(), "id", "name"});
    people.Open();
    source.SetDataSet(&people);
    grid.SetDefaultRowHeight(12);
    grid.resize(480, 12 * (kShownRows + 1) + 40);
    grid.SetDataSource(&source);
    screen = QImage(grid.size(), QImage::Format_RGB32);
  }
  void Paint() { grid.render(&screen); }
  // What the last row shows, as a check that the lookups found their rows.
  bool ShowsTheLastChoice() {
    people.Last();
    return people.FieldByName("choice")->AsString() == QStringLiteral("person %1").arg(KeyOf(kShownRows - 1));
  }

  TMemoryDataSet people;
  TDataSource source;
  TSkinDBGrid grid;
  QImage screen;
};

long ResidentKb() {
  long pages = 0, resident = 0;
  if (FILE* f = fopen("/proc/self/statm", "r")) {
    if (fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    fclose(f);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

BigList& List() {
  static BigList list;
  return list;
}

void BM_LookupGridShows100Rows(benchmark::State& state) {
  if (!List().Written()) state.SkipWithError("the table was not written");
  GridOfPeople g(List());
  g.Paint();  // the first paint reads the table's keys
  for (auto _ : state) g.Paint();
  if (!g.ShowsTheLastChoice()) state.SkipWithError("a lookup found the wrong row");
  state.counters["list_rows"] = kListRows;
  state.counters["rows_shown"] = kShownRows;
}
BENCHMARK(BM_LookupGridShows100Rows)->Unit(benchmark::kMillisecond);

void BM_LookupFirstShowAfterAChange(benchmark::State& state) {
  if (!List().Written()) state.SkipWithError("the table was not written");
  GridOfPeople g(List());
  TSQLiteDataSet& set = *List().set;
  for (auto _ : state) {
    state.PauseTiming();
    set.Last();
    set.Edit();
    set.FieldByName("note")->SetAsString(QStringLiteral("changed %1").arg(state.iterations()));
    set.Post();
    state.ResumeTiming();
    g.Paint();
  }
  if (!g.ShowsTheLastChoice()) state.SkipWithError("a lookup found the wrong row");
}
BENCHMARK(BM_LookupFirstShowAfterAChange)->Unit(benchmark::kMillisecond);

// Reading the keys of the whole table into its index, and the memory the index keeps (run it alone
// for that figure: after the others, it reuses memory they freed).
void BM_LookupIndexOfAMillionKeys(benchmark::State& state) {
  if (!List().Written()) state.SkipWithError("the table was not written");
  TSQLiteDataSet& set = *List().set;
  set.Refresh();  // drops the index
  const long before = ResidentKb();
  long kept = 0;
  for (auto _ : state) {
    set.Lookup("id", {KeyOf(1)}, "name");
    state.PauseTiming();
    kept = ResidentKb() - before;
    set.Refresh();
    state.ResumeTiming();
  }
  state.counters["index_kB"] = static_cast<double>(kept);
}
BENCHMARK(BM_LookupIndexOfAMillionKeys)->Unit(benchmark::kMillisecond);

void BM_LookupListBoxFollowsTheKey(benchmark::State& state) {
  if (!List().Written()) state.SkipWithError("the table was not written");
  TSkinDBLookupListBox box;
  box.SetListSource(&List().source);
  box.SetKeyField("id");
  box.SetListField("name");
  int i = 0, wrong = 0;
  for (auto _ : state) {
    const int key = KeyOf(i++);
    box.SetKeyValue(key);
    if (box.SelectedItem() != QStringLiteral("person %1").arg(key)) ++wrong;
  }
  if (wrong > 0) state.SkipWithError("the list box showed the wrong row");
}
BENCHMARK(BM_LookupListBoxFollowsTheKey)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
