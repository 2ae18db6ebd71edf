// kalnor-cli columna, suma, eliminar: the column commands of the DAT tab on
// a file, through the same controller the window uses.
#include "Comandos.h"
#include "app/TextoExportado.h"

#include "app/CitaBreve.h"
#include "app/Documento.h"
#include "panel/ControladorCalculadora.h"
#include "table/CatalogoColumnas.h"
#include "table/ControladorColumnas.h"
#include "table/InterfazColumnas.h"

#include <QString>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <vector>

namespace kalnor::cli {

namespace {

// The window's message boxes become lines on stderr.
class SinVentana : public InterfazColumnas {
public:
    std::vector<QString> mensajes;
    void mensaje(const QString& texto, const QString&) override { mensajes.push_back(texto); }
    void ocupado(bool) override {}
    void progreso(int, int) override {}
    void mostrarColumnas() override {}
    void pegarEnNotas(const QString&) override {}

    int terminar() const {
        for (const QString& m : mensajes)
            fallo(QString(m).replace('\n', ' ').simplified().toStdString());
        return mensajes.empty() ? kExito : kError;
    }
};

// The document, the calculator's display and the column commands on it.
struct Sesion {
    Documento doc;
    ControladorCalculadora calculadora{doc, QString()};
    SinVentana ui;
    ControladorColumnas columnas{doc, calculadora, ui};
};

} // namespace

int Columna(const Argumentos& args) {
    std::string fichero, nombre, variable = "X";
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--var" && i + 1 < args.size()) {
            variable = args[++i];
            if (variable != "X" && variable != "Y")
                return usoIncorrecto("columna");
        } else if (args[i].starts_with("--")) {
            return usoIncorrecto("columna");
        } else if (fichero.empty()) {
            fichero = args[i];
        } else if (nombre.empty()) {
            nombre = args[i];
        } else {
            return usoIncorrecto("columna");
        }
    }
    if (fichero.empty() || nombre.empty())
        return usoIncorrecto("columna");

    Sesion s;
    if (!abrir(s.doc, fichero))
        return kError;
    if (variable == "Y") {
        if (!s.calculadora.estado().cmdVARIABLEEnabled)
            return fallo(fichero + ": la distribución es unidimensional, no tiene variable Y");
        s.calculadora.cmdVARIABLE_Click();
    }
    const std::string campo = campoDeEntrada(nombre);
    const QStringList& lista = s.columnas.estado().cboSUMATORIOS;
    for (int i = 0; i < lista.size(); ++i) {
        if (campoDeEntrada(lista[i].toStdString()) == campo) {
            s.columnas.cboSUMATORIOS_Click(i);
            return s.ui.terminar();
        }
    }
    std::string nombres;
    for (const ColumnaDerivada& c : columnasDe(variable))
        nombres += (nombres.empty() ? "" : " ") + std::string(c.campo);
    return fallo("«" + citaBreve(campo) + "» no es una columna de la lista " + variable + ": " +
                 nombres);
}

int Suma(const Argumentos& args) {
    std::string fichero, campo;
    bool enJson = false;
    for (const std::string& a : args) {
        if (a == "--json")
            enJson = true;
        else if (a.starts_with("--"))
            return usoIncorrecto("suma");
        else if (fichero.empty())
            fichero = a;
        else if (campo.empty())
            campo = a;
        else
            return usoIncorrecto("suma");
    }
    if (fichero.empty() || campo.empty())
        return usoIncorrecto("suma");

    Sesion s;
    if (!abrir(s.doc, fichero))
        return kError;
    if (!s.columnas.sumarCampo(campo))
        return fallo(s.doc.error.MensajeError);
    const std::string texto = s.calculadora.estado().SUMATORIO.toStdString();
    if (enJson) {
        char valor[40];
        std::snprintf(valor, sizeof valor, "%.17g", *s.columnas.estado().suma);
        std::cout << "{\"campo\": " << cadenaJson(campo) << ", \"texto\": " << cadenaJson(texto)
                  << ", \"valor\": " << valor << "}\n";
    } else {
        std::cout << texto << '\n';
    }
    return s.ui.terminar();
}

int Eliminar(const Argumentos& args) {
    if (args.size() != 2 || args[0].starts_with("--") || args[1].starts_with("--"))
        return usoIncorrecto("eliminar");
    Sesion s;
    if (!abrir(s.doc, args[0]))
        return kError;
    const std::vector<std::string>& campos = s.doc.Data1.FieldNames();
    if (std::find(campos.begin(), campos.end(), args[1]) == campos.end() &&
        !esCampoProtegido(args[1]))
        return fallo("No existe la columna «" + citaBreve(args[1]) + "» en la tabla " +
                     s.doc.TipoDist);
    s.columnas.eliminarCampo(args[1]);
    return s.ui.terminar();
}

} // namespace kalnor::cli
