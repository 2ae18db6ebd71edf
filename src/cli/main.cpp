// kalnor-cli: the distribution commands without windows.
#include "Comandos.h"

#include <QCoreApplication>

#include <iostream>
#include <string_view>

namespace {

void mostrarUso(std::ostream& out) {
    out << "Uso: kalnor-cli ORDEN ARGUMENTOS\n\nÓrdenes:\n";
    for (const auto& c : kalnor::cli::comandos())
        out << "  kalnor-cli " << c.uso << '\n';
}

} // namespace

int main(int argc, char* argv[]) {
    const auto app = kalnor::cli::crearAplicacion(argc, argv);
    if (argc < 2) {
        mostrarUso(std::cerr);
        return kalnor::cli::kUsoIncorrecto;
    }
    const std::string_view orden = argv[1];
    if (orden == "--ayuda" || orden == "-h" || orden == "--help") {
        mostrarUso(std::cout);
        return kalnor::cli::kExito;
    }
    const kalnor::cli::Comando* comando = kalnor::cli::buscarComando(orden);
    if (!comando) {
        std::cerr << "kalnor-cli: orden desconocida «" << orden << "»\n";
        mostrarUso(std::cerr);
        return kalnor::cli::kUsoIncorrecto;
    }
    const kalnor::cli::Argumentos args(argv + 2, argv + argc);
    try {
        return comando->ejecutar(args);
    } catch (const std::exception& e) {
        return kalnor::cli::fallo(e.what());
    }
}
