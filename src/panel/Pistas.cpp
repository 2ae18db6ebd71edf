#include "Pistas.h"

#include "Selectores.h"

#include <QStringList>

#include <array>
#include <utility>

namespace kalnor {

namespace {

constexpr std::array<const char*, 20> kImagenesTecla{
    "mediaArit.svg",      "mediaArm.svg",     "mediaGeo.svg",        "mediaCuad.svg",
    "recorrido.svg",      "varianza.svg",     "desvTipica.svg",      "cuasivarianza.svg",
    "desvMedia.svg",      "desvMediana.svg",  "coefAsimPearson.svg", "coefAsimFisher.svg",
    "coefVarPearson.svg", "coefVarMedia.svg", "coefVarMediana.svg",  "recSemiInter.svg",
    "indGini.svg",        "maximo.svg",       "minimo.svg",          "coefCurtosis.svg",
};

const QString kNegro = QStringLiteral("negro.gif");

// Control name -> keyword; the keywords are literal, accents and case as they
// stand, since the help file is searched with them.
const std::array<std::pair<const char*, const char*>, 38> kClaves{{
    {"cmdTECLA(0)", "Media Aritmética"},
    {"cmdTECLA(1)", "Media Aritmética"},
    {"cmdTECLA(2)", "Media Aritmética"},
    {"cmdTECLA(3)", "Media Aritmética"},
    {"cmdTECLA(4)", "Recorrido"},
    {"cmdTECLA(5)", "Varianza"},
    {"cmdTECLA(6)", "Desviación Tipica"},
    {"cmdTECLA(7)", "Cuasivarianza"},
    {"cmdTECLA(8)", "Desviación Media"},
    {"cmdTECLA(9)", "Desviación Mediana"},
    {"cmdTECLA(10)", "Coef. Asimetria de Pearson"},
    {"cmdTECLA(11)", "Coef. Asimetria de Fisher"},
    {"cmdTECLA(12)", "Coef. Variación de Pearson"},
    {"cmdTECLA(13)", "Coef. Variación Media"},
    {"cmdTECLA(14)", "Coef. Variación Mediana"},
    {"cmdTECLA(15)", "Recorrido Semiintercuartílico"},
    {"cmdTECLA(16)", "Índice concentración Gini"},
    {"cmdTECLA(17)", "Máximo"},
    {"cmdTECLA(18)", "mínimo"},
    {"cmdTECLA(19)", "Coef. Curtosis"},
    {"cmdTECLAm(0)", "Mediana"},
    {"cmdTECLAm(1)", "Moda"},
    {"cmdTECLAbi(0)", "Coef. Correlación Lineal"},
    {"cmdTECLAbi(1)", "Moda"},
    {"cmdTECLAbi(2)", "Coef. de Regresión Lineal"},
    {"cmdTECLAbi(3)", "Recta de Regresión"},
    {"cmd_Muestra", "Tamaño Muestral"},
    {"Image1", "Fórmulas"},
    {"Image3", "Gráficos"},
    {"Image5", "Notas"},
    {"lbl_Mensaje(0)", "Errores"},
    {"lbl_Mensaje(1)", "Clase de Distribución"},
    {"lbl_Mensaje(2)", "Tipo de Variable"},
    {"lbl_Mensaje(5)", "Conceptos"},
    // The column list and the column sum of the table tab.
    {"cmdPASOS", "Paso a paso"},
    {"cboSUMATORIOS", "Columnas"},
    {"SUMATORIO", "Sumatorio"},
    {"DBGrid1", "Tabla de Distribución"},
}};

} // namespace

std::optional<QString> imagenTecla(FilaTeclas fila, int indice, const QString& tipo,
                                   const QString& caraVariable) {
    switch (fila) {
    case FilaTeclas::TECLA:
        if (indice < 0 || indice >= static_cast<int>(kImagenesTecla.size()))
            return kNegro;
        return QString::fromLatin1(kImagenesTecla[static_cast<std::size_t>(indice)]);
    case FilaTeclas::TECLAm:
        if (indice == 0)
            return QStringLiteral("mediana1.svg");
        if (indice == 1)
            return tipo == u"Continua" ? QStringLiteral("modaC.svg") : QStringLiteral("modaD.svg");
        return std::nullopt;
    case FilaTeclas::TECLAbi:
        switch (indice) {
        case 0:
            return QStringLiteral("coefCorrela.svg");
        case 1:
            return QStringLiteral("covarianza.svg");
        case 2:
            return caraVariable != u"X" ? QStringLiteral("coefRegrY.svg")
                                        : QStringLiteral("coefRegrX.svg");
        case 3:
            return caraVariable != u"X" ? QStringLiteral("rectaRegreYX.svg")
                                        : QStringLiteral("rectaRegreXY.svg");
        default:
            return kNegro;
        }
    case FilaTeclas::Muestra:
        return QStringLiteral("numDatos.svg");
    }
    return std::nullopt;
}

QStringList imagenesFormulas() {
    QStringList nombres;
    for (const char* n : kImagenesTecla)
        nombres << QString::fromLatin1(n);
    nombres << "mediana1.svg"
            << "modaC.svg"
            << "modaD.svg"
            << "coefCorrela.svg"
            << "covarianza.svg"
            << "coefRegrX.svg"
            << "coefRegrY.svg"
            << "rectaRegreXY.svg"
            << "rectaRegreYX.svg"
            << "numDatos.svg";
    for (const SelectorInfo& s : selectores())
        nombres << QString::fromLatin1(s.imagen);
    return nombres;
}

QString claveAyuda(const QString& control) {
    for (const auto& [nombre, clave] : kClaves)
        if (control == QLatin1String(nombre))
            return QString::fromUtf8(clave);
    return {};
}

QStringList controlesConAyuda() {
    QStringList nombres;
    for (const auto& par : kClaves)
        nombres << QString::fromLatin1(par.first);
    return nombres;
}

} // namespace kalnor
