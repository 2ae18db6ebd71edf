// kalnor-cli medidas: presses every key and selector of the calculator on a
// distribution, as a user would, and prints what the display shows.
#include "Comandos.h"
#include "app/TextoExportado.h"

#include "app/Documento.h"
#include "panel/ControladorCalculadora.h"
#include "stats/Kinds.h"

#include <QString>

#include <cstdio>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace kalnor::cli {

namespace {

// The regression line's question, answered by --punto.
class RespuestaFija : public PreguntaValor {
public:
    explicit RespuestaFija(std::optional<QString> punto) : punto_(std::move(punto)) {}
    std::optional<QString> pedir(const QString&, const QString&) override { return punto_; }

private:
    std::optional<QString> punto_;
};

struct Pulsacion {
    std::string control; // "cmdTECLA(5)", "cboDECILES:D(7)" ...
    std::function<void()> pulsar;
};

std::vector<Pulsacion> secuencia(ControladorCalculadora& c, bool bidimensional) {
    std::vector<Pulsacion> p;
    const auto tecla = [&](const char* nombre, int i, void (ControladorCalculadora::*h)(int)) {
        p.push_back(
            {std::string(nombre) + '(' + std::to_string(i) + ')', [&c, h, i] { (c.*h)(i); }});
    };
    const auto lista = [&](Selector s) {
        const QStringList& items = c.items(s);
        for (int i = 0; i < items.size(); ++i)
            p.push_back({std::string(info(s).nombre) + ':' + items[i].toStdString(),
                         [&c, s, i] { c.seleccionar(s, i); }});
    };

    p.push_back({"cmd_Muestra", [&c] { c.cmd_Muestra_Click(); }});
    for (int i = 0; i < 20; ++i)
        if (i != 16) // the Gini key only shows a notice
            tecla("cmdTECLA", i, &ControladorCalculadora::cmdTECLA_Click);
    tecla("cmdTECLAm", 0, &ControladorCalculadora::cmdTECLAm_Click);
    tecla("cmdTECLAm", 1, &ControladorCalculadora::cmdTECLAm_Click);
    for (Selector s : {Selector::CUARTILES, Selector::QUINTILES, Selector::DECILES,
                       Selector::PERCENTILES, Selector::MOMorigen, Selector::MOMcentral})
        lista(s);
    if (bidimensional) {
        for (int i : {0, 1, 2, 2, 3, 3})
            tecla("cmdTECLAbi", i, &ControladorCalculadora::cmdTECLAbi_Click);
        lista(Selector::MOMorigenBI);
        lista(Selector::MOMcentralBI);
    }
    return p;
}

std::string jsonTextoONulo(const QString& s) {
    return s.isEmpty() ? "null" : cadenaJson(s.toStdString());
}

std::string jsonValor(const std::optional<double>& v) {
    if (!v)
        return "null";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", *v);
    return buf;
}

} // namespace

int Medidas(const Argumentos& args) {
    std::string fichero;
    std::string variable = "X";
    std::optional<QString> punto;
    bool enJson = false;
    bool conPasos = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--json") {
            enJson = true;
        } else if (a == "--pasos") {
            conPasos = true;
        } else if (a == "--var" && i + 1 < args.size()) {
            variable = args[++i];
            if (variable != "X" && variable != "Y")
                return usoIncorrecto("medidas");
        } else if (a == "--punto" && i + 1 < args.size()) {
            punto = QString::fromStdString(args[++i]);
        } else if (a.starts_with("--") || !fichero.empty()) {
            return usoIncorrecto("medidas");
        } else {
            fichero = a;
        }
    }
    if (fichero.empty())
        return usoIncorrecto("medidas");

    Documento doc;
    if (!abrir(doc, fichero))
        return kError;
    // The keys show "?" on a table they cannot read; the exit status says so
    // too, so that a script never takes those lines for results.
    const std::string ilegible = variablesIlegibles(doc);
    ControladorCalculadora calculadora(doc, QString());
    RespuestaFija respuesta(punto);
    calculadora.setPreguntaValor(&respuesta);
    calculadora.setAnotarPasos(conPasos);
    calculadora.Comenzar();
    calculadora.limpiarDisplay();

    const bool bidimensional = doc.esBidimensional();
    if (variable == "Y") {
        if (!calculadora.estado().cmdVARIABLEEnabled)
            return fallo(fichero + ": la distribución es unidimensional, no tiene variable Y");
        calculadora.cmdVARIABLE_Click();
    }

    std::string salida;
    if (enJson)
        salida += "[\n";
    bool primera = true;
    for (const Pulsacion& p : secuencia(calculadora, bidimensional)) {
        p.pulsar();
        const EstadoCalculadora& e = calculadora.estado();
        if (enJson) {
            salida += primera ? "  " : ",\n  ";
            salida += "{\"control\": " + cadenaJson(p.control) +
                      ", \"nombre\": " + cadenaJson(e.lbl_Mensaje[5].toStdString()) +
                      ", \"resultado\": " + cadenaJson(e.RESULTADO.toStdString()) +
                      ", \"valor\": " + jsonValor(e.valor) +
                      ", \"error\": " + jsonTextoONulo(e.lbl_Mensaje[0]);
            if (conPasos) {
                salida += ", \"pasos\": [";
                const QStringList pasos = calculadora.pasos();
                for (int i = 0; i < pasos.size(); ++i)
                    salida += (i ? ", " : "") + cadenaJson(pasos[i].toStdString());
                salida += ']';
            }
            salida += '}';
        } else {
            salida += e.lbl_Mensaje[5].toStdString() + '\t' + e.RESULTADO.toStdString();
            if (!e.lbl_Mensaje[0].isEmpty())
                salida += '\t' + e.lbl_Mensaje[0].toStdString();
            salida += '\n';
            if (conPasos)
                for (const QString& linea : calculadora.pasos())
                    salida += "    " + linea.toStdString() + '\n';
        }
        primera = false;
    }
    if (enJson)
        salida += "\n]\n";
    std::cout << salida << std::flush;
    if (!ilegible.empty())
        return fallo(fichero + ": " + ilegible);
    return kExito;
}

} // namespace kalnor::cli
