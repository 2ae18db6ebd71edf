#include "CatalogoColumnas.h"

#include <algorithm>
#include <array>

namespace kalnor {

namespace {

using O = Operacion;

constexpr std::array<ColumnaDerivada, 20> kColumnasX{{
    {" Xc¡", "Xc¡", O::Marca, false},
    {" N¡", "N¡", O::Acumulada, false},
    {" f¡", "f¡", O::Relativa, false},
    {" f¡%", "f¡%", O::RelativaPorciento, false},
    {" Fi", "Fi", O::AcumuladaRelativa, false},
    {" Fi%", "Fi%", O::AcumuladaPorciento, false},
    {" x¡·n¡", "x¡·n¡", O::PorFrecuencia, false},
    {" x¡²", "x¡²", O::Cuadrado, false},
    {" x¡²·n¡", "x¡²·n¡", O::CuadradoPorFrecuencia, false},
    {" x¡³", "x¡³", O::Cubo, false},
    {" x¡³·n¡", "x¡³·n¡", O::CuboPorFrecuencia, false},
    {" (x¡-m)", "(x¡-m)", O::Desviacion, false},
    {" (x¡-m)·n¡", "(x¡-m)·n¡", O::DesviacionPorFrecuencia, false},
    {" (x¡-m)²·n¡", "(x¡-m)²·n¡", O::Desviacion2PorFrecuencia, false},
    {" (x¡-m)³·n¡", "(x¡-m)³·n¡", O::Desviacion3PorFrecuencia, false},
    {" |x¡-m|", "|x¡-m|", O::DesviacionAbsoluta, false},
    {" n¡/x¡", "n¡/x¡", O::FrecuenciaEntreValor, false},
    {" lg(x¡)", "lg(x¡)", O::Logaritmo, false},
    {" n¡·lg(x¡)", "n¡·lg(x¡)", O::FrecuenciaPorLogaritmo, false},
    {" |x¡-m|·n¡", "|x¡-m|·n¡", O::DesviacionAbsolutaPorFrecuencia, false},
}};

constexpr std::array<ColumnaDerivada, 21> kColumnasY{{
    {" Yc¡", "Yc¡", O::Marca, true},
    {" N¡ (Y)", "N¡ (Y)", O::Acumulada, true},
    {" f¡ (Y)", "f¡ (Y)", O::Relativa, true},
    {" f¡% (Y)", "f¡% (Y)", O::RelativaPorciento, true},
    {" Fi (Y)", "Fi (Y)", O::AcumuladaRelativa, true},
    {" Fi% (Y)", "Fi% (Y)", O::AcumuladaPorciento, true},
    {" y¡·n¡", "y¡·n¡", O::PorFrecuencia, true},
    {" y¡²", "y¡²", O::Cuadrado, true},
    {" y¡²·n¡", "y¡²·n¡", O::CuadradoPorFrecuencia, true},
    {" y¡³", "y¡³", O::Cubo, true},
    {" y¡³·n¡", "y¡³·n¡", O::CuboPorFrecuencia, true},
    {" (y¡-m)", "(y¡-m)", O::Desviacion, true},
    {" (y¡-m)·n¡", "(y¡-m)·n¡", O::DesviacionPorFrecuencia, true},
    {" (y¡-m)²·n¡", "(y¡-m)²·n¡", O::Desviacion2PorFrecuencia, true},
    {" (y¡-m)³·n¡", "(y¡-m)³·n¡", O::Desviacion3PorFrecuencia, true},
    {" |y¡-m|", "|y¡-m|", O::DesviacionAbsoluta, true},
    {" n¡/y¡", "n¡/y¡", O::FrecuenciaEntreValor, true},
    {" lg(y¡)", "lg(y¡)", O::Logaritmo, true},
    {" n¡·lg(y¡)", "n¡·lg(y¡)", O::FrecuenciaPorLogaritmo, true},
    {" |y¡-m|·n¡", "|y¡-m|·n¡", O::DesviacionAbsolutaPorFrecuencia, true},
    {" x¡·y¡·n¡", "x¡·y¡·n¡", O::Conjunta, true},
}};

constexpr std::array<std::string_view, 9> kProtegidos{"Xi",  "Yi",  "ni",  "Li", "Ls",
                                                      "LiX", "LsX", "LiY", "LsY"};

} // namespace

std::span<const ColumnaDerivada> columnasX() {
    return kColumnasX;
}

std::span<const ColumnaDerivada> columnasY() {
    return kColumnasY;
}

std::span<const ColumnaDerivada> columnasDe(std::string_view variable) {
    return variable == "Y" ? columnasY() : columnasX();
}

const ColumnaDerivada* buscarColumna(std::string_view variable, std::string_view campo) {
    const auto lista = columnasDe(variable);
    const auto it = std::find_if(lista.begin(), lista.end(),
                                 [campo](const ColumnaDerivada& c) { return c.campo == campo; });
    return it == lista.end() ? nullptr : &*it;
}

std::string campoDeEntrada(std::string_view entrada) {
    const auto blanco = [](char c) { return c == ' ' || c == '\t'; };
    while (!entrada.empty() && blanco(entrada.front()))
        entrada.remove_prefix(1);
    while (!entrada.empty() && blanco(entrada.back()))
        entrada.remove_suffix(1);
    return std::string(entrada);
}

bool esCampoProtegido(std::string_view campo) {
    return std::find(kProtegidos.begin(), kProtegidos.end(), campo) != kProtegidos.end();
}

bool esAcumulada(Operacion op) {
    return op == O::Acumulada || op == O::AcumuladaRelativa || op == O::AcumuladaPorciento;
}

bool usaMedia(Operacion op) {
    switch (op) {
    case O::Desviacion:
    case O::DesviacionPorFrecuencia:
    case O::Desviacion2PorFrecuencia:
    case O::Desviacion3PorFrecuencia:
    case O::DesviacionAbsoluta:
    case O::DesviacionAbsolutaPorFrecuencia:
        return true;
    default:
        return false;
    }
}

bool usaTotal(Operacion op) {
    return op == O::Relativa || op == O::RelativaPorciento || op == O::AcumuladaRelativa ||
           op == O::AcumuladaPorciento;
}

} // namespace kalnor
