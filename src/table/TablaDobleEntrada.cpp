#include "TablaDobleEntrada.h"

#include "app/Documento.h"
#include "app/SpanishSortKey.h"
#include "app/TextoExportado.h"
#include "stats/Kinds.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <map>
#include <tuple>

namespace kalnor {

namespace {

using Modalidad = TablaDobleEntrada::Modalidad;
using stats::CellValue;

// Numbers first, ascending; then words in Spanish order; empty cells last.
std::tuple<int, double, std::string, std::string> clave(const CellValue& v) {
    if (v.isNumber())
        return {0, v.asNumber(), {}, {}};
    if (v.isText())
        return {1, 0.0, spanishSortKey(v.asText()), v.asText()};
    return {2, 0.0, {}, {}};
}

struct Menor {
    bool operator()(const Modalidad& a, const Modalidad& b) const {
        const auto ka = clave(a.valor);
        const auto kb = clave(b.valor);
        if (ka != kb)
            return ka < kb;
        if (a.limSup.has_value() != b.limSup.has_value())
            return !a.limSup;
        return a.limSup && clave(*a.limSup) < clave(*b.limSup);
    }
};

std::string numero(double v) {
    char texto[32];
    const auto r = std::to_chars(texto, texto + sizeof texto, v);
    return std::string(texto, r.ptr);
}

std::string celdaCsv(const CellValue& v) {
    return v.isNumber() ? numero(v.asNumber()) : v.isText() ? v.asText() : std::string();
}

std::string encabezadoCsv(const Modalidad& m) {
    if (!m.limSup)
        return campoCsv(celdaCsv(m.valor));
    return campoCsv('[' + celdaCsv(m.valor) + ", " + celdaCsv(*m.limSup) + ')');
}

// The headings of one variable and, per record, the index of its heading.
struct Variable {
    std::vector<Modalidad> modalidades;
    std::vector<std::size_t> indices;
};

Variable agrupar(const Documento& d, stats::VariableType tipo, const std::string& valor,
                 const std::string& inferior, const std::string& superior) {
    std::vector<Modalidad> registros;
    if (tipo == stats::VariableType::Continuous) {
        const auto li = d.Data1.column(inferior);
        const auto ls = d.Data1.column(superior);
        registros.reserve(li.size());
        for (std::size_t i = 0; i < li.size(); ++i)
            registros.push_back({li[i], i < ls.size() ? ls[i] : CellValue::null()});
    } else {
        for (CellValue& v : d.Data1.column(valor))
            registros.push_back({std::move(v), std::nullopt});
    }
    std::map<Modalidad, std::size_t, Menor> vistas;
    for (const Modalidad& m : registros)
        vistas.emplace(m, 0);
    Variable v;
    v.modalidades.reserve(vistas.size());
    for (auto& [m, indice] : vistas) {
        indice = v.modalidades.size();
        v.modalidades.push_back(m);
    }
    v.indices.reserve(registros.size());
    for (const Modalidad& m : registros)
        v.indices.push_back(vistas.at(m));
    return v;
}

} // namespace

QString TablaDobleEntrada::encabezado(const Modalidad& m, const QLocale& locale) {
    const auto texto = [&](const CellValue& v) {
        if (v.isNumber())
            return locale.toString(v.asNumber(), 'g', QLocale::FloatingPointShortest);
        return v.isText() ? QString::fromStdString(v.asText()) : QString();
    };
    if (!m.limSup)
        return texto(m.valor);
    return QStringLiteral("[%1, %2)").arg(texto(m.valor), texto(*m.limSup));
}

std::string TablaDobleEntrada::csv() const {
    std::string s = "X \\ Y";
    for (const Modalidad& c : columnas)
        s += ',' + encabezadoCsv(c);
    s += ",nᵢ·\n";
    for (std::size_t i = 0; i < filas.size(); ++i) {
        s += encabezadoCsv(filas[i]);
        for (const std::int64_t v : n[i])
            s += ',' + std::to_string(v);
        s += ',' + std::to_string(marginalX[i]) + '\n';
    }
    s += "n·ⱼ";
    for (const std::int64_t v : marginalY)
        s += ',' + std::to_string(v);
    s += ',' + std::to_string(N) + '\n';
    return s;
}

std::optional<TablaDobleEntrada> leerTablaDobleEntrada(const Documento& d, std::string& motivo) {
    const stats::KindInfo* tipo = d.kind();
    if (!tipo || !d.Data1.isOpen()) {
        motivo = "No hay ninguna distribución abierta";
        return std::nullopt;
    }
    if (!tipo->bivariate) {
        motivo = "La tabla de doble entrada es de las distribuciones bidimensionales";
        return std::nullopt;
    }
    try {
        const Variable x = agrupar(d, tipo->x, "Xi", "LiX", "LsX");
        const Variable y = agrupar(d, tipo->y, "Yi", "LiY", "LsY");
        const auto ni = d.Data1.column("ni");
        TablaDobleEntrada t;
        t.filas = x.modalidades;
        t.columnas = y.modalidades;
        t.n.assign(t.filas.size(), std::vector<std::int64_t>(t.columnas.size(), 0));
        t.marginalX.assign(t.filas.size(), 0);
        t.marginalY.assign(t.columnas.size(), 0);
        for (std::size_t r = 0; r < ni.size() && r < x.indices.size() && r < y.indices.size();
             ++r) {
            const double* f = ni[r].numberIf();
            const std::int64_t v = f ? static_cast<std::int64_t>(*f) : 0;
            t.n[x.indices[r]][y.indices[r]] += v;
            t.marginalX[x.indices[r]] += v;
            t.marginalY[y.indices[r]] += v;
            t.N += v;
        }
        return t;
    } catch (const std::exception& e) {
        motivo = std::string("No se puede leer la tabla: ") + e.what();
        return std::nullopt;
    }
}

} // namespace kalnor
