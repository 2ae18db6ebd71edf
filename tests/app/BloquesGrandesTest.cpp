// The programs' operator new: what every allocation must still honour, and
// the advice on big blocks.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <limits>
#include <memory>
#include <new>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr std::uintptr_t kPaginaGrande = std::uintptr_t{2} << 20;

std::uintptr_t direccion(const void* p) {
    return reinterpret_cast<std::uintptr_t>(p);
}

TEST(BloquesGrandes, EveryFormKeepsItsAlignmentAndMemoryIsUsable) {
    for (const std::size_t n : {std::size_t{1}, std::size_t{1000}, std::size_t{3} << 20}) {
        std::vector<std::uint8_t> v(n, 7);
        EXPECT_EQ(v[n - 1], 7);
        EXPECT_EQ(direccion(v.data()) % alignof(std::max_align_t), 0u);
    }
    struct alignas(4096) Pagina {
        char c[4096];
    };
    for (const std::size_t n : {std::size_t{1}, std::size_t{1024}}) {
        auto paginas = std::make_unique<Pagina[]>(n);
        paginas[n - 1].c[4095] = 'x';
        EXPECT_EQ(direccion(paginas.get()) % 4096, 0u) << n;
    }
    void* nada = ::operator new(0);
    EXPECT_NE(nada, nullptr);
    ::operator delete(nada);
}

TEST(BloquesGrandes, BigBlocksStartOnAHugePageBoundary) {
    const std::vector<double> columna(1'000'000, 1.5);
    EXPECT_EQ(direccion(columna.data()) % kPaginaGrande, 0u);
    EXPECT_EQ(columna.back(), 1.5);
}

// Where the system offers huge pages on advice, the block's mapping takes them.
TEST(BloquesGrandes, BigBlocksAreAdvisedAsHugePages) {
    std::ifstream modo("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string ajuste;
    std::getline(modo, ajuste);
    if (ajuste.find("[never]") != std::string::npos || ajuste.empty())
        GTEST_SKIP() << "el sistema no ofrece páginas grandes";
    std::vector<double> columna(1'000'000, 2.0);
    const std::uintptr_t p = direccion(columna.data());
    std::ifstream mapas("/proc/self/smaps");
    std::string linea;
    bool dentro = false;
    bool aconsejada = false;
    while (std::getline(mapas, linea)) {
        std::uintptr_t desde = 0, hasta = 0;
        char guion = 0;
        std::istringstream l(linea);
        if (l >> std::hex >> desde >> guion >> hasta && guion == '-') {
            dentro = desde <= p && p < hasta;
        } else if (dentro && linea.starts_with("VmFlags:")) {
            aconsejada = linea.find(" hg") != std::string::npos;
            break;
        }
    }
    EXPECT_TRUE(aconsejada);
}

int llamadas = 0;

TEST(BloquesGrandes, FailureCallsTheNewHandlerThenThrowsOrGivesNull) {
    const std::size_t imposible = std::numeric_limits<std::size_t>::max() / 2;
    llamadas = 0;
    std::set_new_handler([] {
        ++llamadas;
        std::set_new_handler(nullptr); // the next attempt fails for good
    });
    EXPECT_THROW(static_cast<void>(::operator new(imposible)), std::bad_alloc);
    EXPECT_EQ(llamadas, 1);
    EXPECT_EQ(::operator new(imposible, std::nothrow), nullptr);
    EXPECT_EQ(::operator new (imposible, std::align_val_t{64}, std::nothrow), nullptr);
    EXPECT_THROW(static_cast<void>(::operator new[](imposible, std::align_val_t{64})),
                 std::bad_alloc);
}

} // namespace
