#include "FormatoResultado.h"

#include <cmath>

namespace kalnor {

QString formatoResultado(double valor, const QLocale& locale) {
    QLocale sinGrupos = locale;
    sinGrupos.setNumberOptions(QLocale::OmitGroupSeparator);
    // A value that rounds to zero is shown as "0.0", never "-0.0".
    if (std::abs(valor) < 0.0005)
        valor = 0.0;
    QString texto = sinGrupos.toString(valor, 'f', 3);
    // Drop trailing zeros of the three decimals, keeping at least one.
    const QString zero = sinGrupos.zeroDigit();
    for (int i = 0; i < 2 && texto.endsWith(zero); ++i)
        texto.chop(zero.size());
    return texto;
}

QString formatoResultado(const stats::CellValue& valor, const QLocale& locale) {
    if (valor.isNumber())
        return formatoResultado(valor.asNumber(), locale);
    if (valor.isText())
        return QString::fromStdString(valor.asText());
    return {};
}

} // namespace kalnor
