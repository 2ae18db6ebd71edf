// Speed of the database layer on large distribution tables: opening and
// reading a column, sorting, and record-by-record writes in a transaction.
#include "app/Database.h"
#include "app/RecordSet.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <random>
#include <string>

namespace {

using kalnor::Database;
using kalnor::RecordSet;
using kalnor::stats::CellValue;

std::filesystem::path benchDir() {
    static const std::filesystem::path dir = [] {
        auto d = std::filesystem::temp_directory_path() / "kalnor_database_bench";
        std::filesystem::remove_all(d);
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir;
}

// A file with `rows` raw observations in DIS (about 100 distinct values) and
// as many words in CAT; built once per size.
std::string fileWithRows(int rows) {
    static std::map<int, std::string> made;
    if (auto it = made.find(rows); it != made.end())
        return it->second;
    const std::string path = (benchDir() / ("dist_" + std::to_string(rows) + ".mdb")).string();
    auto db = Database::create(path);
    db->exec("CREATE TABLE ENUNCIADO (TIPO TEXT, CLASE TEXT, ENUNCIADO TEXT) STRICT;"
             "CREATE TABLE DIS (Xi REAL, ni INTEGER CHECK (ni >= 0)) STRICT;"
             "CREATE TABLE CAT (Xi TEXT, ni INTEGER CHECK (ni >= 0)) STRICT;");
    std::mt19937 random(42);
    std::uniform_int_distribution<int> value(0, 99);
    static const char* const words[] = {"álamo", "Ñandú", "roble", "Pino", "encina", "haya"};
    Database::Transaction t(*db);
    RecordSet dis(db, "SELECT * FROM DIS");
    RecordSet cat(db, "SELECT * FROM CAT");
    for (int i = 0; i < rows; ++i) {
        const int v = value(random);
        dis.AddNew();
        dis.SetField(0, CellValue::number(v / 4.0));
        dis.SetField(1, CellValue::number(1));
        dis.Update();
        cat.AddNew();
        cat.SetField(0, CellValue::text(std::string(words[v % 6]) + std::to_string(v)));
        cat.SetField(1, CellValue::number(1));
        cat.Update();
    }
    t.commit();
    made[rows] = path;
    return path;
}

// Open the file, bind the data table, count the rows as the document does
// (clone, last row, count) and read both columns.
void BM_OpenBindCountRead(benchmark::State& state) {
    const std::string path = fileWithRows(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        RecordSet rs(Database::open(path), "SELECT * FROM DIS");
        RecordSet clone = rs.Clone();
        clone.MoveLast();
        benchmark::DoNotOptimize(clone.RecordCount());
        benchmark::DoNotOptimize(rs.column("Xi"));
        benchmark::DoNotOptimize(rs.column("ni"));
    }
}
BENCHMARK(BM_OpenBindCountRead)->Arg(32767)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_OpenOnly(benchmark::State& state) {
    const std::string path = fileWithRows(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(Database::open(path));
}
BENCHMARK(BM_OpenOnly)->Arg(32767)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_BindOrderedByNumber(benchmark::State& state) {
    auto db = Database::open(fileWithRows(static_cast<int>(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(RecordSet(db, "SELECT * FROM DIS ORDER BY [Xi]").RecordCount());
}
BENCHMARK(BM_BindOrderedByNumber)->Arg(32767)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_BindOrderedByWord(benchmark::State& state) {
    auto db = Database::open(fileWithRows(static_cast<int>(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(RecordSet(db, "SELECT * FROM CAT ORDER BY [Xi]").RecordCount());
}
BENCHMARK(BM_BindOrderedByWord)->Arg(32767)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Every row edited through the record set inside one transaction, as the
// derived columns are filled.
void BM_EditEveryRowInOneTransaction(benchmark::State& state) {
    auto db = Database::open(fileWithRows(static_cast<int>(state.range(0))));
    RecordSet rs(db, "SELECT * FROM DIS");
    double n = 1;
    for (auto _ : state) {
        Database::Transaction t(*db);
        n = n == 1 ? 2 : 1;
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
            rs.Edit();
            rs.SetField(1, CellValue::number(n));
            rs.Update();
        }
        t.commit();
    }
}
BENCHMARK(BM_EditEveryRowInOneTransaction)->Arg(32767)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_AppendRowsInOneTransaction(benchmark::State& state) {
    const auto rows = static_cast<int>(state.range(0));
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string path = (benchDir() / ("append_" + std::to_string(round++))).string();
        std::filesystem::remove(path);
        {
            auto db = Database::create(path);
            db->exec("CREATE TABLE DIS (Xi REAL, ni INTEGER CHECK (ni >= 0)) STRICT");
        }
        state.ResumeTiming();
        auto db = Database::open(path);
        RecordSet rs(db, "SELECT * FROM DIS");
        Database::Transaction t(*db);
        for (int i = 0; i < rows; ++i) {
            rs.AddNew();
            rs.SetField(0, CellValue::number(i % 100));
            rs.SetField(1, CellValue::number(1));
            rs.Update();
        }
        t.commit();
        state.PauseTiming();
        std::filesystem::remove(path);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AppendRowsInOneTransaction)->Arg(32767)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
