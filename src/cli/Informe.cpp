// kalnor-cli informe: writes one of the notes' summary reports on the
// standard output, pressing the same keys as the notes tab does.
#include "Comandos.h"

#include "app/Documento.h"
#include "panel/ControladorCalculadora.h"
#include "panel/InformeResumen.h"

#include <QString>

#include <iostream>
#include <string>

namespace kalnor::cli {

namespace {

// The notes' bold heading is plain text here; line ends are the system's.
class SalidaEstandar : public DestinoInforme {
public:
    void insertar(const QString& texto, bool /*negrita*/) override {
        texto_ += QString(texto).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
    const QString& texto() const { return texto_; }

private:
    QString texto_;
};

} // namespace

int Informe(const Argumentos& args) {
    std::string fichero;
    std::string numero;
    std::string variable = "X";
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--var" && i + 1 < args.size()) {
            variable = args[++i];
            if (variable != "X" && variable != "Y")
                return usoIncorrecto("informe");
        } else if (a.starts_with("--")) {
            return usoIncorrecto("informe");
        } else if (fichero.empty()) {
            fichero = a;
        } else if (numero.empty()) {
            numero = a;
        } else {
            return usoIncorrecto("informe");
        }
    }
    if (fichero.empty() || numero.size() != 1 || numero[0] < '0' || numero[0] > '3')
        return usoIncorrecto("informe");

    Documento doc;
    if (!abrir(doc, fichero))
        return kError;
    const std::string ilegible = variablesIlegibles(doc);
    ControladorCalculadora calculadora(doc, QString());
    calculadora.Comenzar();
    calculadora.limpiarDisplay();
    if (variable == "Y") {
        if (!calculadora.estado().cmdVARIABLEEnabled)
            return fallo(fichero + ": la distribución es unidimensional, no tiene variable Y");
        calculadora.cmdVARIABLE_Click();
    }
    SalidaEstandar salida;
    InformeResumen::cboRESUMEN_Click(calculadora, numero[0] - '0', salida);
    std::cout << salida.texto().toStdString() << std::flush;
    if (!ilegible.empty())
        return fallo(fichero + ": " + ilegible);
    return kExito;
}

} // namespace kalnor::cli
