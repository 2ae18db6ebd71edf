// kalnor-cli gini: the concentration index after Gini and the Lorenz curve's
// table of the distribution's variable X.
#include "Comandos.h"

#include "app/Documento.h"
#include "app/TextoExportado.h"
#include "panel/PasoAPaso.h"
#include "stats/Concentration.h"
#include "stats/Kinds.h"

#include <QLocale>
#include <QStringList>

#include <iostream>
#include <string>

namespace kalnor::cli {

int Gini(const Argumentos& args) {
    std::string fichero;
    bool enJson = false;
    bool conPasos = false;
    for (const std::string& a : args) {
        if (a == "--json")
            enJson = true;
        else if (a == "--pasos")
            conPasos = true;
        else if (a.starts_with("--") || !fichero.empty())
            return usoIncorrecto("gini");
        else
            fichero = a;
    }
    if (fichero.empty())
        return usoIncorrecto("gini");

    Documento doc;
    if (!abrir(doc, fichero))
        return kError;
    if (!doc.LeerVariable())
        return fallo(fichero + ": " + doc.error.MensajeError);
    const stats::KindInfo* tipo = stats::kindByCode(doc.TipoDist);
    if (!tipo)
        return fallo(fichero + ": tipo de distribución desconocido");
    stats::ErrorRecord err;
    const auto& l = doc.listas;
    const auto c = stats::IndiceGini(err, stats::activeType(*tipo, doc.VarActiva), l.Valores,
                                     l.LimInf, l.LimSup, l.Frecuencias);
    if (!c)
        return fallo(fichero + ": " + err.MensajeError);

    const QStringList pasos = conPasos ? pasosGini(*c, QLocale()) : QStringList();
    std::string salida;
    if (enJson) {
        salida = "{\"IG\": " + numeroExacto(c->indice) +
                 ", \"N\": " + std::to_string(c->puntos.back().acumulada) + ", \"filas\": [";
        bool primera = true;
        for (const stats::PuntoLorenz& p : c->puntos) {
            salida += primera ? "\n  " : ",\n  ";
            salida += "{\"fila\": " + std::to_string(p.fila) + ", \"x\": " + numeroExacto(p.valor) +
                      ", \"ni\": " + std::to_string(p.n) +
                      ", \"Ni\": " + std::to_string(p.acumulada) +
                      ", \"pi\": " + numeroExacto(p.p) + ", \"qi\": " + numeroExacto(p.q) + '}';
            primera = false;
        }
        salida += "\n]";
        if (conPasos) {
            salida += ", \"pasos\": [";
            for (int i = 0; i < pasos.size(); ++i)
                salida += (i ? ", " : "") + cadenaJson(pasos[i].toStdString());
            salida += ']';
        }
        salida += "}\n";
    } else {
        salida = "IG = " + numeroExacto(c->indice) + '\n' + "fila,xi,ni,Ni,pi,qi\n";
        for (const stats::PuntoLorenz& p : c->puntos)
            salida += std::to_string(p.fila) + ',' + numeroExacto(p.valor) + ',' +
                      std::to_string(p.n) + ',' + std::to_string(p.acumulada) + ',' +
                      numeroExacto(p.p) + ',' + numeroExacto(p.q) + '\n';
        for (const QString& linea : pasos)
            salida += "    " + linea.toStdString() + '\n';
    }
    std::cout << salida << std::flush;
    return kExito;
}

} // namespace kalnor::cli
