#pragma once

// Shared helpers of the Access import tests.

#include "stats/CellValue.h"

#include <QCryptographicHash>
#include <QFile>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kalnor::access::prueba {

inline std::string fixture(const std::string& nombre) {
    return std::string(KALNOR_TEST_DATA) + "/access/" + nombre;
}

inline std::string sha256(const std::string& texto) {
    return QCryptographicHash::hash(QByteArray::fromStdString(texto), QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

inline std::string sha256Archivo(const std::string& ruta) {
    QFile f(QString::fromStdString(ruta));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex().toStdString();
}

// Characters (code points) of a UTF-8 text.
inline std::size_t caracteres(const std::string& utf8) {
    std::size_t n = 0;
    for (const char c : utf8)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

inline stats::CellValue N(double v) {
    return stats::CellValue::number(v);
}
inline stats::CellValue T(std::string s) {
    return stats::CellValue::text(std::move(s));
}
inline stats::CellValue Nulo() {
    return stats::CellValue::null();
}

inline std::uint64_t bits(double v) {
    return std::bit_cast<std::uint64_t>(v);
}

// A scratch folder removed at the end of the test.
class CarpetaTemporal {
public:
    CarpetaTemporal() {
        ruta_ = std::filesystem::temp_directory_path() /
                ("kalnor-access-" + std::to_string(::getpid()) + "-" + std::to_string(++cuenta()));
        std::filesystem::create_directories(ruta_);
    }
    ~CarpetaTemporal() {
        std::error_code ec;
        std::filesystem::permissions(ruta_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(ruta_, ec);
    }
    CarpetaTemporal(const CarpetaTemporal&) = delete;
    CarpetaTemporal& operator=(const CarpetaTemporal&) = delete;
    std::string operator/(const std::string& nombre) const { return (ruta_ / nombre).string(); }
    const std::filesystem::path& ruta() const { return ruta_; }

private:
    static int& cuenta() {
        static int n = 0;
        return n;
    }
    std::filesystem::path ruta_;
};

// The memo checksums of the fixtures: characters and SHA-256 of the UTF-8 text.
struct MemoEsperado {
    const char* archivo;
    std::size_t caracteres;
    const char* sha256;
};

inline const std::vector<MemoEsperado>& memosEsperados() {
    static const std::vector<MemoEsperado> memos{
        {"dis_notas.mdb", 615, "86d23cb2bb0edbb1bc597933a52a5c515d88ff1432d7f4178ddbf33c38ac837a"},
        {"con_alturas.mdb", 501,
         "f0deff4d582f5896663ee06809745570eb66d68d9df301a013c56b51928edd86"},
        {"cat_colores.mdb", 267,
         "5b685b9d77be236a066db855333e699a167527c59bcde245e94fc4024ea5062a"},
        {"disdis_pares.mdb", 253,
         "4b8efc4e4f9271ea26be564edf71ce6dde4a2cdeef8e12aa69af3d9ae7fe2159"},
        {"discon.mdb", 206, "b3ba2722677b9ee6c6479c53a8842e2c699fee6cb2d95a1a07e9c97305d496a9"},
        {"concon.mdb", 208, "b8134138ed16d753bb2cd63047e5684138000ab49fde2d95a8b72369ffed0bce"},
        {"catdis.mdb", 179, "d0082a1f08bb3508b2fb39259fdba50eeadb6947ab3b4aa3c74128e55d8d6158"},
        {"empty_table.mdb", 185,
         "b2ca428d8f15892427bad420f325d7c6431b40510fe9ededc50d0cfebd06e08f"},
        {"bad_tipo.mdb", 152, "725d2c7c77fcceb4b5b910bd69882af875009155ff13ba90072133e95b9dea2d"},
        {"null_cells.mdb", 150, "5571dfd0b112a30b089dc75ff9303778956213fe9416c319aeb5ca65adee4bfd"},
        {"big_dis.mdb", 23270, "c9ff7eb2ca16006be2cc628b80530de931c07bc2bc1de7f06b10e6fb609e05e8"},
        {"plain_text_notes.mdb", 200,
         "17740d483d31a7fe0f4bd7486eda7c061968284cf8591f651d721e6878a2afac"},
        {"deleted_rows.mdb", 160,
         "58c7843df2ebb1c14d2235bfeb84ff543f1b4782c209f9bcc5524200e028a934"},
        {"overflow_twice.mdb", 615,
         "86d23cb2bb0edbb1bc597933a52a5c515d88ff1432d7f4178ddbf33c38ac837a"},
    };
    return memos;
}

// Rows of the fixtures' values tables (README), in stored order.
using Filas = std::vector<std::vector<stats::CellValue>>;

inline Filas filasDisNotas() {
    return {{N(3), N(2), N(6), N(6.25)},    {N(4), N(3), N(12), N(15.625)},
            {N(5), N(6), N(30), N(34.375)}, {N(5.5), N(4), N(22), N(46.875)},
            {N(6), N(8), N(48), N(71.875)}, {N(7), N(5), N(35), N(87.5)},
            {N(8), N(3), N(24), N(96.875)}, {N(9), N(1), N(9), N(100)}};
}

// The generator of big_dis.mdb's rows.
inline Filas filasBigDis() {
    Filas filas;
    std::uint32_t estado = 12345;
    for (int i = 0; i < 32767; ++i) {
        estado = estado * 1664525u + 1013904223u;
        const double xi = ((estado >> 16) % 201) / 2.0;
        estado = estado * 1664525u + 1013904223u;
        const double ni = 1 + ((estado >> 16) % 5);
        filas.push_back({N(xi), N(ni)});
    }
    return filas;
}

} // namespace kalnor::access::prueba
