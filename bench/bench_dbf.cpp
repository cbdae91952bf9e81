// Table engine speed: open a 100,000-record table and read every field (target 100 ms), and
// append 10,000 records one by one under the lock (target 1 s); plus the batch append and an index.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "dbf/dbf.h"
#include "dbf/ndx.h"

namespace {

// A private folder for the benchmark tables, removed at exit.
class BenchDir {
 public:
  BenchDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "velk-bench-dbf-XXXXXX").string();
    if (mkdtemp(tmpl.data())) path_ = tmpl + "/";
  }
  ~BenchDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  std::string file(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

const std::vector<velk::DbfField>& materialFields() {
  static const std::vector<velk::DbfField> fields = {
      {"NAME1", 'C', 20, 0, 0}, {"NAME2", 'C', 30, 0, 0}, {"E", 'N', 8, 0, 0},    {"RHO", 'N', 6, 2, 0},
      {"RM0", 'N', 6, 0, 0},    {"T0", 'N', 6, 2, 0},     {"SIGO", 'N', 6, 0, 0}, {"M", 'N', 5, 2, 0},
      {"KUGEL", 'L', 1, 0, 0},  {"NR", 'N', 5, 0, 0}};
  return fields;
}

std::string materialRecord(const velk::DbfTable& t, int i) {
  std::string r = t.blankRecord();
  t.setFieldText(r, 0, "Werkstoff " + std::to_string(i));
  t.setFieldText(r, 1, "EN 10132-4 1.1248 +QT");
  t.setFieldNumber(r, 2, 206000);
  t.setFieldNumber(r, 3, 7.85);
  t.setFieldNumber(r, 4, 1600 + i % 400);
  t.setFieldNumber(r, 5, 1.0);
  t.setFieldNumber(r, 6, 896);
  t.setFieldNumber(r, 7, 0.68);
  t.setFieldBool(r, 8, i % 2 == 0);
  t.setFieldNumber(r, 9, i % 100000);
  return r;
}

// Creates the table with n records (one batch append).
std::string makeTable(const BenchDir& dir, const std::string& name, int n) {
  const std::string path = dir.file(name);
  velk::DbfTable::create(path, materialFields());
  velk::DbfTable t;
  t.open(path);
  std::vector<std::string> recs;
  recs.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) recs.push_back(materialRecord(t, i));
  t.appendRecords(recs);
  return path;
}

void BM_DbfOpenAndReadAllFields100k(benchmark::State& state) {
  BenchDir dir;
  const std::string path = makeTable(dir, "big.dbf", 100000);
  for (auto _ : state) {
    velk::DbfTable t;
    if (!t.open(path, true) || t.recordCount() != 100000) {
      state.SkipWithError("table not readable");
      break;
    }
    std::size_t bytes = 0;
    for (std::uint32_t n = 1; n <= t.recordCount(); ++n)
      for (int i = 0; i < t.fieldCount(); ++i) bytes += t.fieldText(n, i).size();
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_DbfOpenAndReadAllFields100k)->Unit(benchmark::kMillisecond);

void BM_DbfAppend10kOneByOne(benchmark::State& state) {
  BenchDir dir;
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::string path = dir.file("append" + std::to_string(round++) + ".dbf");
    velk::DbfTable::create(path, materialFields());
    velk::DbfTable t;
    t.open(path);
    std::vector<std::string> recs;
    for (int i = 0; i < 10000; ++i) recs.push_back(materialRecord(t, i));
    state.ResumeTiming();
    for (const std::string& r : recs) {
      if (!t.append(r)) {
        state.SkipWithError("append failed");
        break;
      }
    }
    state.PauseTiming();
    t.close();
    std::remove(path.c_str());
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_DbfAppend10kOneByOne)->Unit(benchmark::kMillisecond);

void BM_DbfAppend10kBatch(benchmark::State& state) {
  BenchDir dir;
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::string path = dir.file("batch" + std::to_string(round++) + ".dbf");
    velk::DbfTable::create(path, materialFields());
    velk::DbfTable t;
    t.open(path);
    std::vector<std::string> recs;
    for (int i = 0; i < 10000; ++i) recs.push_back(materialRecord(t, i));
    state.ResumeTiming();
    if (!t.appendRecords(recs)) state.SkipWithError("append failed");
    state.PauseTiming();
    t.close();
    std::remove(path.c_str());
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_DbfAppend10kBatch)->Unit(benchmark::kMillisecond);

void BM_NdxBuild100k(benchmark::State& state) {
  BenchDir dir;
  const std::string path = makeTable(dir, "big.dbf", 100000);
  velk::DbfTable t;
  t.open(path, true);
  for (auto _ : state) {
    std::string image;
    velk::buildNdxImage(t, 0, image);
    benchmark::DoNotOptimize(image);
  }
  state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_NdxBuild100k)->Unit(benchmark::kMillisecond);

}  // namespace
