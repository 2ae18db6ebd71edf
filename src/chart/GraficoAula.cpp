#include "GraficoAula.h"

#include "app/Documento.h"

#include <array>

namespace kalnor {

namespace {

struct Descripcion {
    TipoAula tipo;
    const char* clave;
    const char* nombre;
};

constexpr std::array<Descripcion, 7> kTipos{{
    {TipoAula::Histograma, "histograma", "Histograma"},
    {TipoAula::Poligono, "poligono", "Polígono de frecuencias"},
    {TipoAula::HistogramaPoligono, "histograma+poligono", "Histograma y polígono"},
    {TipoAula::Ojiva, "ojiva", "Ojiva"},
    {TipoAula::Nube, "nube", "Nube de puntos"},
    {TipoAula::Caja, "caja", "Diagrama de caja"},
    {TipoAula::Lorenz, "lorenz", "Curva de Lorenz"},
}};

const QChar kSubI(0x1D62); // subscript i

void fallo(Documento& doc, const std::string& porque) {
    doc.error.set(stats::ErrorCode::TypeMismatch, porque);
}

} // namespace

std::optional<TipoAula> tipoAulaDe(const QString& nombre) {
    for (const Descripcion& d : kTipos)
        if (nombre == QLatin1String(d.clave))
            return d.tipo;
    return std::nullopt;
}

QString nombreAula(TipoAula tipo) {
    for (const Descripcion& d : kTipos)
        if (d.tipo == tipo)
            return QString::fromUtf8(d.nombre);
    return {};
}

QStringList estilosAula(TipoAula tipo) {
    switch (tipo) {
    case TipoAula::Ojiva:
        return {QStringLiteral("Nᵢ y cuartiles"), QStringLiteral("Nᵢ"),
                QStringLiteral("Fᵢ % y cuartiles"), QStringLiteral("Fᵢ %")};
    case TipoAula::Caja:
        return {QStringLiteral("Con mín. y máx."), QStringLiteral("Sin mín. y máx.")};
    case TipoAula::Nube:
        return {QStringLiteral("Completa"), QStringLiteral("Sin rectas"),
                QStringLiteral("Sin centro ni r"), QStringLiteral("Solo puntos"),
                QStringLiteral("Puntos iguales")};
    default:
        return {};
    }
}

OpcionesAula opcionesAula(TipoAula tipo, int estilo) {
    OpcionesAula o;
    switch (tipo) {
    case TipoAula::Ojiva:
        o.porcentaje = estilo >= 2;
        o.cuartiles = estilo % 2 == 0;
        break;
    case TipoAula::Caja:
        o.minimoMaximo = estilo != 1;
        break;
    case TipoAula::Nube:
        o.rectas = estilo == 0 || estilo == 2 || estilo == 4;
        o.centro = estilo == 0 || estilo == 1 || estilo == 4;
        o.tamanoPorN = estilo != 4;
        break;
    default:
        break;
    }
    return o;
}

std::optional<GraficoAula> construirAula(Documento& doc, TipoAula tipo,
                                         const OpcionesAula& opciones) {
    const stats::KindInfo* kind = doc.kind();
    if (!kind) {
        fallo(doc, "No hay ninguna distribución abierta");
        return std::nullopt;
    }
    GraficoAula g;
    g.tipo = tipo;
    g.opciones = opciones;
    const QString var =
        kind->bivariate ? QString::fromStdString(doc.VarActiva) : QStringLiteral("X");
    g.titulo =
        QStringLiteral("%1 · Distribución %2").arg(nombreAula(tipo), QString::fromUtf8(kind->tipo));
    if (kind->bivariate && tipo != TipoAula::Nube)
        g.titulo += QStringLiteral(" · variable %1").arg(var);
    g.ejeX = var + kSubI;
    stats::ErrorRecord& err = doc.error;

    if (tipo == TipoAula::Nube) {
        if (!kind->bivariate) {
            fallo(doc, "La nube de puntos necesita una distribución de dos variables");
            return std::nullopt;
        }
        // Both variables as the two-variable keys read them, then the active
        // one again.
        const std::string activa = doc.VarActiva;
        stats::ValueList x, y;
        stats::FrequencyList n;
        bool leido = true;
        for (const char* v : {"X", "Y"}) {
            doc.VarActiva = v;
            leido = leido && doc.LeerVariable();
            (v[0] == 'X' ? x : y) = doc.listas.Valores;
            n = doc.listas.Frecuencias;
        }
        const std::string porque = doc.error.MensajeError;
        doc.VarActiva = activa;
        doc.LeerVariable();
        if (!leido) {
            fallo(doc, porque);
            return std::nullopt;
        }
        g.ejeX = QStringLiteral("X") + kSubI;
        g.ejeY = QStringLiteral("Y") + kSubI;
        g.nube = grafico::nube(err, x, y, n);
        if (!g.nube)
            return std::nullopt;
        return g;
    }

    if (!doc.LeerVariable())
        return std::nullopt;
    const stats::EngineLists& l = doc.listas;
    const stats::VariableType vt = stats::activeType(*kind, doc.VarActiva);
    if (vt == stats::VariableType::Categorical) {
        fallo(doc, "Una variable categórica no tiene este gráfico: sus valores son palabras, "
                   "no números");
        return std::nullopt;
    }
    const bool clases = vt == stats::VariableType::Continuous;
    switch (tipo) {
    case TipoAula::Histograma:
    case TipoAula::Poligono:
    case TipoAula::HistogramaPoligono: {
        g.ejeY = QStringLiteral("n") + kSubI;
        if (clases) {
            g.histograma = grafico::histograma(err, vt, l.LimInf, l.LimSup, l.Frecuencias);
            if (!g.histograma)
                return std::nullopt;
            g.ejeY = QString::fromStdString(g.histograma->ejeY);
            if (tipo == TipoAula::Poligono)
                g.histograma.reset();
        } else if (tipo != TipoAula::Poligono) {
            // The bar diagram of the values stands in for it.
            g.nota = QStringLiteral("Un histograma necesita clases: para una variable discreta, "
                                    "el diagrama de barras");
            const auto p = grafico::poligono(err, vt, l.Valores, l.LimInf, l.LimSup, l.Frecuencias);
            if (!p)
                return std::nullopt;
            // The polygon closes one step beyond each end: the sticks are the rest.
            g.palos.assign(p->begin() + 1, p->end() - 1);
        }
        if (tipo != TipoAula::Histograma) {
            const auto p = grafico::poligono(err, vt, l.Valores, l.LimInf, l.LimSup, l.Frecuencias);
            if (!p)
                return std::nullopt;
            g.poligono = *p;
        }
        break;
    }
    case TipoAula::Ojiva:
        g.ejeY = opciones.porcentaje ? QStringLiteral("F") + kSubI + QStringLiteral(" %")
                                     : QStringLiteral("N") + kSubI;
        g.ojiva = grafico::ojiva(err, vt, l.Valores, l.LimInf, l.LimSup, l.Frecuencias,
                                 opciones.porcentaje);
        if (!g.ojiva)
            return std::nullopt;
        break;
    case TipoAula::Caja:
        g.caja = grafico::caja(err, vt, l.Valores, l.LimInf, l.LimSup, l.Frecuencias);
        if (!g.caja)
            return std::nullopt;
        break;
    case TipoAula::Lorenz:
        g.ejeX =
            QStringLiteral("p") + kSubI + QStringLiteral(" = N") + kSubI + QStringLiteral("/N");
        g.ejeY = QStringLiteral("q") + kSubI + QStringLiteral(" (parte acumulada de Σx") + kSubI +
                 QStringLiteral("·n") + kSubI + QStringLiteral(")");
        g.lorenz = stats::IndiceGini(err, vt, l.Valores, l.LimInf, l.LimSup, l.Frecuencias);
        if (!g.lorenz)
            return std::nullopt;
        err.clear();
        return g;
    case TipoAula::Nube:
        break;
    }
    if (clases)
        g.ejeX += QStringLiteral(" (límites de clase)");
    err.clear();
    return g;
}

} // namespace kalnor
