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
using Casilla = TablaDobleEntrada::Casilla;
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

std::int64_t TablaDobleEntrada::n(std::size_t fila, std::size_t columna) const {
    const auto c =
        std::lower_bound(casillas.begin(), casillas.end(), std::pair(fila, columna),
                         [](const Casilla& a, const std::pair<std::size_t, std::size_t>& b) {
                             return std::pair(a.fila, a.columna) < b;
                         });
    return c != casillas.end() && c->fila == fila && c->columna == columna ? c->n : 0;
}

std::optional<std::string> TablaDobleEntrada::csv(std::string& motivo) const {
    if (totalCasillas() > kCasillasCsv) {
        motivo = "La tabla de doble entrada tendría " + std::to_string(filas.size()) + " × " +
                 std::to_string(columnas.size()) +
                 " casillas, demasiadas para exportarla: agrupe los valores en clases.";
        return std::nullopt;
    }
    std::string s = "X \\ Y";
    for (const Modalidad& c : columnas)
        s += ',' + encabezadoCsv(c);
    s += ",nᵢ·\n";
    auto casilla = casillas.begin();
    for (std::size_t i = 0; i < filas.size(); ++i) {
        s += encabezadoCsv(filas[i]);
        for (std::size_t j = 0; j < columnas.size(); ++j) {
            std::int64_t v = 0;
            if (casilla != casillas.end() && casilla->fila == i && casilla->columna == j)
                v = (casilla++)->n;
            s += ',' + std::to_string(v);
        }
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
        t.marginalX.assign(t.filas.size(), 0);
        t.marginalY.assign(t.columnas.size(), 0);
        // One entry per record, sorted and merged: memory follows the
        // records, never the rows × columns of the grid.
        std::vector<Casilla> pares;
        const std::size_t registros = std::min({ni.size(), x.indices.size(), y.indices.size()});
        pares.reserve(registros);
        for (std::size_t r = 0; r < registros; ++r) {
            std::string porque;
            const std::optional<std::int32_t> f = leerFrecuencia(ni[r], porque);
            if (!f) {
                motivo = "Registro " + std::to_string(r + 1) + ": el campo «ni» " + porque;
                return std::nullopt;
            }
            pares.push_back({x.indices[r], y.indices[r], *f});
            t.marginalX[x.indices[r]] += *f;
            t.marginalY[y.indices[r]] += *f;
            t.N += *f;
        }
        std::sort(pares.begin(), pares.end(), [](const Casilla& a, const Casilla& b) {
            return std::pair(a.fila, a.columna) < std::pair(b.fila, b.columna);
        });
        for (const Casilla& p : pares) {
            if (!t.casillas.empty() && t.casillas.back().fila == p.fila &&
                t.casillas.back().columna == p.columna)
                t.casillas.back().n += p.n;
            else
                t.casillas.push_back(p);
        }
        return t;
    } catch (const std::exception& e) {
        motivo = std::string("No se puede leer la tabla: ") + e.what();
        return std::nullopt;
    }
}

} // namespace kalnor
