// kalnor-cli grafico: presses a chart button (and the option lists) on a
// distribution and writes the chart to a PNG, drawn offscreen with the same
// code as the chart tab.
#include "Comandos.h"

#include "app/Documento.h"
#include "chart/ControladorGraficos.h"
#include "chart/LienzoGrafico.h"

#include <QString>

#include <charconv>
#include <iostream>
#include <map>
#include <optional>
#include <string>

namespace kalnor::cli {

namespace {

std::optional<int> entero(const std::string& texto, int minimo, int maximo) {
    int v = 0;
    const auto r = std::from_chars(texto.data(), texto.data() + texto.size(), v);
    if (r.ec != std::errc() || r.ptr != texto.data() + texto.size() || v < minimo || v > maximo)
        return std::nullopt;
    return v;
}

const std::map<std::string, const char*, std::less<>> kTipos{
    {"barras", "botonBARRAS"},     {"sectores", "botonSECTORES"},
    {"lineas", "botonLINEAS"},     {"histograma", "botonHISTOGRAMA"},
    {"poligono", "botonPOLIGONO"}, {"histograma+poligono", "botonHISTPOL"},
    {"ojiva", "botonOJIVA"},       {"nube", "botonNUBE"},
    {"caja", "botonCAJA"},         {"lorenz", "botonLORENZ"}};

} // namespace

int Grafico(const Argumentos& args) {
    std::string fichero, tipo, png, variable = "X";
    std::optional<int> estilo, paleta, rejilla;
    int ancho = 800, alto = 600;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool conValor = i + 1 < args.size();
        std::optional<int> numero;
        if (a == "--tipo" && conValor) {
            tipo = args[++i];
            if (!kTipos.contains(tipo))
                return usoIncorrecto("grafico");
        } else if (a == "--png" && conValor) {
            png = args[++i];
        } else if (a == "--var" && conValor) {
            variable = args[++i];
            if (variable != "X" && variable != "Y")
                return usoIncorrecto("grafico");
        } else if ((a == "--estilo" || a == "--rejilla") && conValor) {
            // Styles are checked against the chart below: some have more than four.
            if (!(numero = entero(args[++i], 0, a == "--estilo" ? 9 : 3)))
                return usoIncorrecto("grafico");
            (a == "--estilo" ? estilo : rejilla) = numero;
        } else if (a == "--paleta" && conValor) {
            if (!(paleta = entero(args[++i], 0, 2)))
                return usoIncorrecto("grafico");
        } else if ((a == "--ancho" || a == "--alto") && conValor) {
            if (!(numero = entero(args[++i], 100, 8000)))
                return usoIncorrecto("grafico");
            (a == "--ancho" ? ancho : alto) = *numero;
        } else if (a.starts_with("--") || !fichero.empty()) {
            return usoIncorrecto("grafico");
        } else {
            fichero = a;
        }
    }
    if (fichero.empty() || tipo.empty() || png.empty())
        return usoIncorrecto("grafico");
    // The classroom charts' style list holds their options, when they have any.
    const std::optional<TipoAula> aula = tipoAulaDe(QString::fromStdString(tipo));
    if (estilo && *estilo >= (aula ? estilosAula(*aula).size() : 4))
        return usoIncorrecto("grafico");

    Documento doc;
    if (!abrir(doc, fichero))
        return kError;
    if (variable == "Y") {
        if (!doc.esBidimensional())
            return fallo(fichero + ": la distribución es unidimensional, no tiene variable Y");
        doc.VarActiva = "Y";
    }
    ControladorGraficos graficos(doc, Rutas{});
    LienzoGrafico lienzo(QSize(ancho, alto));
    graficos.Graph1().setDibujo(&lienzo);
    graficos.Comenzar();

    graficos.Toolbar3_ButtonClick(QString::fromLatin1(kTipos.find(tipo)->second));
    if (doc.error.failed())
        return fallo(fichero + ": " + doc.error.MensajeError);
    if (aula ? !graficos.aula() : !graficos.Graph1().dibujado())
        return fallo(fichero + ": la tabla está vacía, no hay nada que dibujar");
    if (estilo)
        graficos.cboESTILO_Click(*estilo);
    if (paleta)
        graficos.cboPALETA_Click(*paleta);
    if (rejilla)
        graficos.cboREJILLA_Click(*rejilla);
    if (doc.error.failed())
        return fallo(fichero + ": " + doc.error.MensajeError);

    graficos.Graph1().ImageFile = QString::fromStdString(png);
    try {
        graficos.Graph1().setDrawMode(ControlGrafico::kEscribir);
    } catch (const std::exception& e) {
        return fallo(e.what());
    }
    return kExito;
}

} // namespace kalnor::cli
