// kalnor-generar: build-time tool that writes the template database from
// its schema and the example distributions from their source files.
//
//   kalnor-generar plantilla ESQUEMA.sql DESTINO
//   kalnor-generar ejemplo PLANTILLA FUENTE.txt DESTINO.mdb
//
// An example source has "TIPO: CODE", then "ENUNCIADO:" and the statement's
// lines, then "DATOS:" and the table as CSV with its header; lines starting
// with '#' before "DATOS:" are comments.
#include "app/CargaCsv.h"
#include "app/DistribucionArchivo.h"
#include "app/Documento.h"
#include "stats/Kinds.h"

#include <QCoreApplication>

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>

namespace {

std::string leerFichero(const std::string& ruta) {
    std::ifstream in(ruta, std::ios::binary);
    if (!in)
        throw std::runtime_error("no se puede leer " + ruta);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct Ejemplo {
    const kalnor::stats::KindInfo* tipo = nullptr;
    std::string enunciado;
    std::string datos;
};

Ejemplo leerEjemplo(const std::string& ruta) {
    std::istringstream in(leerFichero(ruta));
    Ejemplo e;
    enum class Seccion { Cabecera, Enunciado, Datos } seccion = Seccion::Cabecera;
    std::string linea;
    while (std::getline(in, linea)) {
        if (!linea.empty() && linea.back() == '\r')
            linea.pop_back();
        if (seccion == Seccion::Datos) {
            e.datos += linea + '\n';
        } else if (linea == "DATOS:") {
            seccion = Seccion::Datos;
        } else if (linea == "ENUNCIADO:") {
            seccion = Seccion::Enunciado;
        } else if (seccion == Seccion::Enunciado) {
            e.enunciado += (e.enunciado.empty() ? "" : "\n") + linea;
        } else if (linea.starts_with("TIPO:")) {
            const std::string codigo = linea.substr(linea.find_first_not_of(' ', 5));
            e.tipo = kalnor::stats::kindByCode(codigo);
            if (!e.tipo)
                throw std::runtime_error(ruta + ": tipo desconocido «" + codigo + "»");
        } else if (!linea.empty() && linea.front() != '#') {
            throw std::runtime_error(ruta + ": línea no reconocida «" + linea + "»");
        }
    }
    if (!e.tipo || seccion != Seccion::Datos)
        throw std::runtime_error(ruta + ": faltan TIPO, ENUNCIADO o DATOS");
    return e;
}

void generarEjemplo(const std::string& plantilla, const std::string& fuente,
                    const std::string& destino) {
    const Ejemplo e = leerEjemplo(fuente);
    kalnor::CrearNueva(
        plantilla, destino, std::string(e.tipo->tipo),
        std::string(e.tipo->bivariate ? kalnor::stats::kClaseBi : kalnor::stats::kClaseUni));
    kalnor::Documento doc;
    if (!doc.AbrirBase(destino) || !doc.setEnunciado(e.enunciado))
        throw std::runtime_error(destino + ": " + doc.error.MensajeError);
    const auto db = doc.Data1.database();
    doc.CerrarBase();
    kalnor::CargarCsv(*db, *e.tipo, e.datos);
}

} // namespace

int main(int argc, char* argv[]) {
    const QCoreApplication app(argc, argv);
    const std::string orden = argc > 1 ? argv[1] : "";
    try {
        if (orden == "plantilla" && argc == 4) {
            kalnor::CrearPlantilla(leerFichero(argv[2]), argv[3]);
            return 0;
        }
        if (orden == "ejemplo" && argc == 5) {
            generarEjemplo(argv[2], argv[3], argv[4]);
            return 0;
        }
    } catch (const std::exception& e) {
        std::cerr << "kalnor-generar: " << e.what() << '\n';
        return 1;
    }
    std::cerr << "Uso: kalnor-generar plantilla ESQUEMA.sql DESTINO\n"
                 "     kalnor-generar ejemplo PLANTILLA FUENTE.txt DESTINO.mdb\n";
    return 2;
}
