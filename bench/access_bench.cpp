// Converting an Access distribution of 32,767 rows (big_dis.mdb) into a
// Kalnor file; the target is under 1 s.
#include "app/access/ImportadorAccess.h"
#include "app/access/LectorAccess.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

const std::string kOrigen = std::string(KALNOR_TEST_DATA) + "/access/big_dis.mdb";

void BM_ImportarBigDis(benchmark::State& estado) {
    const std::string destino = (std::filesystem::temp_directory_path() /
                                 ("kalnor-access-bench-" + std::to_string(::getpid()) + ".mdb"))
                                    .string();
    for (auto _ : estado)
        kalnor::access::ImportadorAccess::importar(kOrigen, destino, true);
    std::filesystem::remove(destino);
}
BENCHMARK(BM_ImportarBigDis)->Unit(benchmark::kMillisecond);

void BM_LeerTablaBigDis(benchmark::State& estado) {
    for (auto _ : estado) {
        const kalnor::access::LectorAccess lector(kOrigen);
        benchmark::DoNotOptimize(lector.leerTabla("DIS"));
    }
}
BENCHMARK(BM_LeerTablaBigDis)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
