#include "TotalesColumnas.h"

#include "FormatoCelda.h"
#include "app/RecordSet.h"

#include <cmath>

namespace kalnor {

void TotalesColumnas::anotar(Total& t, const stats::CellValue& v, int signo) {
    if (const double* x = v.numberIf())
        signo > 0 ? t.suma.sumar(*x) : t.suma.restar(*x);
    else
        t.sinNumero += signo;
}

void TotalesColumnas::recalcular(const RecordSet& datos, const stats::KindInfo* tipo) {
    totales_.clear();
    registros_ = 0;
    if (!datos.isOpen())
        return;
    registros_ = datos.RecordCount();
    const std::vector<std::string>& campos = datos.FieldNames();
    totales_.resize(campos.size());
    for (std::size_t c = 0; c < campos.size(); ++c) {
        Total& t = totales_[c];
        t.palabras = tipoDeCampo(tipo, campos[c]) == TipoCampo::Palabra;
        if (t.palabras)
            continue;
        for (const stats::CellValue& v : datos.column(campos[c]))
            anotar(t, v, +1);
    }
}

void TotalesColumnas::cambiar(int columna, const stats::CellValue& antes,
                              const stats::CellValue& despues) {
    if (columna < 0 || columna >= columnas())
        return;
    Total& t = totales_[static_cast<std::size_t>(columna)];
    if (t.palabras)
        return;
    anotar(t, antes, -1);
    anotar(t, despues, +1);
}

std::optional<double> TotalesColumnas::suma(int columna) const {
    if (columna < 0 || columna >= columnas() || registros_ < 1)
        return std::nullopt;
    const Total& t = totales_[static_cast<std::size_t>(columna)];
    if (t.palabras || t.sinNumero != 0)
        return std::nullopt;
    const double v = t.suma.valor();
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<double> sumaColumna(const std::vector<stats::CellValue>& celdas) {
    if (celdas.empty())
        return std::nullopt;
    SumaExacta suma;
    for (const stats::CellValue& v : celdas) {
        const double* x = v.numberIf();
        if (!x)
            return std::nullopt;
        suma.sumar(*x);
    }
    const double v = suma.valor();
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace kalnor
