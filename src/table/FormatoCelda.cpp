#include "FormatoCelda.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace kalnor {

namespace {

QLocale sinGrupos(QLocale locale) {
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale;
}

} // namespace

TipoCampo tipoDeCampo(const stats::KindInfo* kind, const std::string& campo) {
    if (campo == "ni")
        return TipoCampo::Natural;
    if (kind && campo == "Xi" && kind->x == stats::VariableType::Categorical)
        return TipoCampo::Palabra;
    if (kind && campo == "Yi" && kind->y == stats::VariableType::Categorical)
        return TipoCampo::Palabra;
    return TipoCampo::Numero;
}

int anchoColumnaTwips(const std::string& campo) {
    return campo == "ni" ? 1000 : 1300;
}

int twipsAPixeles(int twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

QString formatoDecimal(double valor, const QLocale& locale) {
    QString texto = sinGrupos(locale).toString(valor, 'f', 3);
    const QChar separador = locale.decimalPoint().front();
    // Trailing zeros go, down to one decimal.
    while (texto.endsWith('0') && texto.at(texto.size() - 2) != separador)
        texto.chop(1);
    return texto;
}

QString formatoEntero(double valor, const QLocale& locale) {
    return sinGrupos(locale).toString(valor, 'f', 0);
}

QString textoCelda(const stats::CellValue& valor, const std::string& campo, const QLocale& locale) {
    if (valor.isText())
        return QString::fromStdString(valor.asText());
    if (!valor.isNumber())
        return {};
    return campo == "ni" ? formatoEntero(valor.asNumber(), locale)
                         : formatoDecimal(valor.asNumber(), locale);
}

QString textoCopia(const stats::CellValue& valor, const QLocale& locale) {
    if (valor.isText())
        return QString::fromStdString(valor.asText());
    if (!valor.isNumber())
        return {};
    return sinGrupos(locale).toString(valor.asNumber(), 'g', 15);
}

std::optional<stats::CellValue> convertirEntrada(const QString& texto, TipoCampo tipo) {
    const QString limpio = texto.trimmed();
    if (limpio.isEmpty())
        return stats::CellValue::null();
    if (tipo == TipoCampo::Palabra)
        return stats::CellValue::text(limpio.toStdString());
    // A count is written as a whole number: "1.000" is no surer a thousand
    // than a one, so it is refused rather than guessed.
    if (tipo == TipoCampo::Natural) {
        bool bien = !limpio.isEmpty();
        for (const QChar c : limpio)
            bien = bien && c >= u'0' && c <= u'9';
        const qlonglong n = bien ? limpio.toLongLong(&bien) : 0;
        if (!bien || n > std::numeric_limits<std::int32_t>::max())
            return std::nullopt;
        return stats::CellValue::number(static_cast<double>(n));
    }
    const auto numero = stats::parseNumber(limpio.toStdString());
    if (!numero || !std::isfinite(*numero))
        return std::nullopt;
    return stats::CellValue::number(*numero);
}

} // namespace kalnor
