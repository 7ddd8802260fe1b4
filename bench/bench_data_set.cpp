// Scrolling a 100,000-row SQLite table from the first record to the last, one record at a time,
// with a navigator and an edit bound to the set (each move re-enables the buttons and shows the
// name). Goal: < 1 s. Memory stays with the set's page of rows, not the table: the counters give
// the most rows held at once and how much the process grew while scrolling.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QTemporaryDir>

#include "bench/qt_bench_main.h"
#include "skin/db_edit.h"
#include "skin/db_navigator.h"
#include "tests/support/people_data.h"

using namespace kavri;

namespace {

constexpr int kRows = 100000;

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void BM_ScrollSqliteTableThroughNavigator(benchmark::State& state) {
  QTemporaryDir dir;
  const QString file = dir.filePath("people.db");
  const std::unique_ptr<TSQLiteDataSet> people = kavri_test::OpenNumberedPeople(file, kRows);
  TSQLiteDataSet& set = *people;
  if (set.RecordCount() != kRows) state.SkipWithError("the table was not written");
  TDataSource source;
  source.SetDataSet(&set);
  TSkinDBNavigator nav;
  nav.SetDataSource(&source);
  TSkinDBEdit edit;
  edit.SetDataField("name");
  edit.SetDataSource(&source);

  const long rssBefore = PeakRssKb();
  int mostCached = 0, moves = 0;
  for (auto _ : state) {
    set.First();
    while (!set.Eof()) {
      nav.BtnClick(TNavigateBtn::nbNext);
      mostCached = std::max(mostCached, set.CachedRowCount());
      ++moves;
    }
  }
  if (edit.text() != QStringLiteral("person %1").arg(kRows)) state.SkipWithError("did not reach the last record");
  state.counters["rows"] = kRows;
  state.counters["moves_per_pass"] = static_cast<double>(moves) / static_cast<double>(state.iterations());
  state.counters["most_rows_held"] = mostCached;
  state.counters["rss_growth_kB"] = static_cast<double>(PeakRssKb() - rssBefore);
  state.counters["peak_rss_kB"] = static_cast<double>(PeakRssKb());
}
BENCHMARK(BM_ScrollSqliteTableThroughNavigator)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
