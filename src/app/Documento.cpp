#include "Documento.h"

#include "CitaBreve.h"
#include "DbError.h"
#include "DistribucionArchivo.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <span>

namespace kalnor {

namespace fs = std::filesystem;
using stats::CellValue;
using stats::ErrorCode;
using stats::VariableType;

namespace {

std::optional<double> comoNumero(const CellValue& v) {
    if (v.isNumber())
        return v.asNumber();
    if (v.isText())
        return stats::parseNumber(v.asText());
    return std::nullopt;
}

std::string textoDe(const CellValue& v) {
    if (v.isText())
        return v.asText();
    if (v.isNumber()) {
        char texto[32];
        const auto r = std::to_chars(texto, texto + sizeof texto, v.asNumber());
        return std::string(texto, r.ptr);
    }
    return {};
}

bool falta(const CellValue& v) {
    return v.isNull() || v.isEmpty() || (v.isText() && v.asText().empty());
}

// Why a cell cannot be used as a number, for the error record.
std::string motivo(const CellValue& v) {
    if (falta(v))
        return "está vacío";
    return "no es un número («" + citaBreve(textoDe(v)) + "»)";
}

bool esSqlite(const std::string& path) {
    static constexpr char kCabecera[] = "SQLite format 3"; // followed by a NUL
    std::ifstream in(path, std::ios::binary);
    char leido[sizeof kCabecera] = {};
    return in.read(leido, sizeof leido) && std::memcmp(leido, kCabecera, sizeof kCabecera) == 0;
}

// A frequency cell as a 32-bit count: a whole number from 0 up. Anything
// else is refused rather than rounded, so no measure is taken on counts the
// table does not hold.
std::optional<std::int32_t> comoFrecuencia(const CellValue& v) {
    const double* d = v.numberIf();
    std::optional<double> x;
    if (!d) {
        x = comoNumero(v);
        d = x ? &*x : nullptr;
    }
    if (!d || !(*d >= 0) || *d > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    const auto entero = static_cast<std::int32_t>(*d);
    if (entero != *d)
        return std::nullopt;
    return entero;
}

// Why comoFrecuencia refused a cell, for the error record.
std::string motivoFrecuencia(const CellValue& v) {
    const std::optional<double> x = comoNumero(v);
    if (!x)
        return motivo(v);
    const std::string cita = "(«" + citaBreve(textoDe(v)) + "»)";
    if (*x < 0)
        return "es negativo " + cita;
    if (*x > std::numeric_limits<std::int32_t>::max() || !std::isfinite(*x))
        return "no cabe en un entero de 32 bits " + cita;
    return "no es un número entero " + cita;
}

class Sentencia {
public:
    Sentencia(sqlite3* db, const std::string& sql) {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK)
            throw DbError(sqlite3_errmsg(db));
    }
    ~Sentencia() { sqlite3_finalize(stmt_); }
    Sentencia(const Sentencia&) = delete;
    Sentencia& operator=(const Sentencia&) = delete;

    void ejecutar(sqlite3* db, std::span<const sqlite3_int64> valores) {
        sqlite3_reset(stmt_);
        int i = 1;
        for (const sqlite3_int64 v : valores)
            sqlite3_bind_int64(stmt_, i++, v);
        if (sqlite3_step(stmt_) != SQLITE_DONE)
            throw DbError(sqlite3_errmsg(db));
    }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

} // namespace

std::optional<std::int32_t> leerFrecuencia(const CellValue& celda, std::string& porque) {
    const std::optional<std::int32_t> f = comoFrecuencia(celda);
    if (!f)
        porque = motivoFrecuencia(celda);
    return f;
}

Documento::Documento(QObject* parent) : QObject(parent) {}

void Documento::anotarError(int code, std::string message) {
    error.MensajeError = std::move(message);
    error.NumError = static_cast<std::int16_t>(code);
}

void Documento::olvidarLecturas() {
    ++enlace_;
    leido_.reset();
    otra_.origen.reset();
    ordenado_.reset();
}

bool Documento::AbrirBase(const std::string& base, Acceso acceso) {
    const std::string ruta = base; // `base` may be BaseActual itself
    const auto rechazar = [this](int code, std::string message) {
        anotarError(code, std::move(message));
        return false;
    };
    std::error_code ec;
    if (ruta.empty() || !fs::exists(ruta, ec))
        return rechazar(DbError::kFileNotFound, "El archivo no existe");
    if (!fs::is_regular_file(ruta, ec))
        return rechazar(DbError::kNotADatabase, "El archivo no es una distribución de Kalnor");
    if (Database::isAccessFile(ruta))
        return rechazar(DbError::kAccessFile,
                        "Es un archivo de Microsoft Access: hay que convertirlo antes de abrirlo "
                        "(ábralo desde la ventana de Kalnor o use «kalnor-cli importar»)");
    if (!esSqlite(ruta))
        return rechazar(DbError::kNotADatabase, "El archivo no es una distribución de Kalnor");

    RecordSet enunciado;
    RecordSet datos;
    const stats::KindInfo* tipo = nullptr;
    const bool pedida = acceso == Acceso::SoloLectura ||
                        (acceso == Acceso::ComoAntes && soloLecturaPedida_ && ruta == BaseActual);
    bool soloLectura = pedida;
    try {
        const std::shared_ptr<Database> db = abrirConAcceso(ruta, soloLectura);
        if (!db->hasTable("ENUNCIADO"))
            return rechazar(DbError::kTableNotFound, "Falta la tabla ENUNCIADO");
        enunciado = RecordSet(db, "SELECT * FROM [ENUNCIADO]");
        for (const char* campo : {"TIPO", "CLASE", "ENUNCIADO"})
            if (enunciado.fieldIndex(campo) < 0)
                return rechazar(DbError::kFieldNotFound,
                                std::string("Falta el campo ") + campo + " en la tabla ENUNCIADO");
        if (enunciado.RecordCount() == 0)
            return rechazar(DbError::kNoCurrentRecord, "La tabla ENUNCIADO está vacía");
        enunciado.MoveFirst();
        const std::string texto = textoDe(enunciado.Field("TIPO"));
        tipo = stats::kindByTipo(texto);
        if (!tipo)
            return rechazar(DbError::kTypeMismatch,
                            "El tipo de distribución «" + citaBreve(texto) + "» no es válido");
        const std::string codigo(tipo->code);
        if (!db->hasTable(codigo))
            return rechazar(DbError::kTableNotFound, "Falta la tabla de datos «" + codigo + "»");
        datos = RecordSet(db, "SELECT * FROM " + codigo);
        for (const std::string& campo : camposDatos(*tipo))
            if (datos.fieldIndex(campo) < 0)
                return rechazar(DbError::kFieldNotFound,
                                "Falta el campo «" + campo + "» en la tabla «" + codigo + "»");
    } catch (const DbError& e) {
        // Something Kalnor refuses to run, a read stopped for its time or a
        // file that cannot be read here is not a damaged file.
        if (e.code() == DbError::kUnsupported || e.code() == DbError::kInterrupted ||
            e.code() == DbError::kCannotOpen)
            return rechazar(e.code(), e.what());
        const int code = e.code() == DbError::kGeneric ? DbError::kDamaged : e.code();
        return rechazar(code, std::string("El archivo está dañado: ") + e.what());
    } catch (const std::exception& e) {
        return rechazar(DbError::kDamaged, std::string("El archivo está dañado: ") + e.what());
    }

    // Everything read: only now the open document is replaced.
    Data2 = std::move(enunciado);
    Data1 = std::move(datos);
    BaseActual = ruta;
    TipoDist = std::string(tipo->code);
    soloLectura_ = soloLectura;
    soloLecturaPedida_ = pedida;
    anotarVersion();
    olvidarLecturas();
    ContarRegistros();
    // The active variable is read while the file opens, so the first key
    // pressed finds it ready. A table that cannot be read still opens: the
    // keys say why when pressed.
    if (NumRegistros > 0) {
        const stats::ErrorRecord antes = error;
        if (!LeerVariable())
            error = antes;
    }
    emit abierto();
    return true;
}

void Documento::CerrarBase() {
    Data1.Close();
    Data2.Close();
    olvidarLecturas();
    emit cerrado();
}

std::int32_t Documento::ContarRegistros() {
    try {
        NumRegistros = Data1.isOpen() ? Data1.RecordCount() : 0;
    } catch (const std::exception&) {
        NumRegistros = 0;
    }
    return NumRegistros;
}

Documento::Origen Documento::origenActual() const {
    Origen o;
    o.enlace = enlace_;
    if (Data1.isOpen()) {
        o.revision = Data1.revision();
        o.fuente = Data1.rowSource();
    }
    o.tipo = TipoDist;
    o.variable = VarActiva;
    return o;
}

bool Documento::LeerVariable() {
    const Origen origen = origenActual();
    if (leido_ && *leido_ == origen)
        return true; // the lists already hold this table
    const auto intercambiar = [this] {
        std::swap(listas.Valores, otra_.Valores);
        std::swap(listas.Frecuencias, otra_.Frecuencias);
        std::swap(listas.LimInf, otra_.LimInf);
        std::swap(listas.LimSup, otra_.LimSup);
        std::swap(leido_, otra_.origen);
    };
    if (otra_.origen && *otra_.origen == origen) {
        intercambiar(); // back to the variable read before
        compartirFrecuencias();
        return true;
    }
    // Lists read from another state of the table can never be taken back:
    // their memory goes to this read (or back to the system), so a big table
    // is never held twice.
    const auto mismaTabla = [&origen](const std::optional<Origen>& o) {
        return o && o->mismaTabla(origen);
    };
    if (!mismaTabla(otra_.origen)) {
        // Emptied, their memory kept for the read below to write over.
        otra_.origen.reset();
        otra_.Valores.clear();
        otra_.Frecuencias.clear();
        otra_.LimInf.clear();
        otra_.LimSup.clear();
        if (!mismaTabla(leido_))
            intercambiar(); // the stale lists' buffers are reused below
    }
    // Read into the older buffers, so their memory is reused. The other
    // variable's lists of this same table hold its frequencies already.
    const stats::FrequencyList* frecuencias = mismaTabla(leido_) ? &listas.Frecuencias : nullptr;
    if (!leerDeTabla(otra_.Valores, otra_.Frecuencias, otra_.LimInf, otra_.LimSup, frecuencias)) {
        otra_.origen.reset();
        listas.Valores.clear();
        listas.Frecuencias.clear();
        listas.LimInf.clear();
        listas.LimSup.clear();
        leido_.reset();
        return false;
    }
    otra_.origen = origen;
    intercambiar();
    compartirFrecuencias();
    // Read as the measures read it while it is at hand, so a sort keeps
    // that reading and the first key pressed finds it done.
    if (leerParaMedir_)
        stats::readAhead(listas.Valores, listas.Frecuencias);
    return true;
}

namespace {

// `lista`, already as long as the runs together, takes their numbers in
// order, written over in place.
void escribirTramos(const std::vector<NumberRun>& tramos, stats::ValueList& lista) {
    lista.forget();
    auto& v = static_cast<std::vector<CellValue>&>(lista);
    // A big list in two halves at once, each writing its share of the runs.
    overHalves(v.size(), [&](int, std::size_t desdeMitad, std::size_t hastaMitad) {
        std::size_t inicio = 0;
        for (const NumberRun& t : tramos) {
            const std::size_t desde = std::max(inicio, desdeMitad);
            const std::size_t hasta = std::min<std::size_t>(inicio + t.count, hastaMitad);
            if (desde < hasta)
                std::fill(v.begin() + static_cast<std::ptrdiff_t>(desde),
                          v.begin() + static_cast<std::ptrdiff_t>(hasta),
                          CellValue::number(t.value));
            inicio += t.count;
        }
    });
}

} // namespace

// Lists read from the rows before a sort hold the same cells as a read of
// the sorted rows, in the old order: moving them costs a fraction of reading
// again, and the list read from the sort's own field is the sort's keys in
// order, written over in sequence. Only the lists of the variable read last
// follow; the other one is read again when asked for, and its buffers take
// the moved lists, so a sort asks for little fresh memory. What the engine
// read and no order changes (the sums the mean is made of) is kept.
void Documento::seguirOrden(const Origen& antes, const Placement& colocacion,
                            const std::string& campo) {
    otra_.origen.reset();
    const std::size_t n = colocacion.size();
    const auto cabe = [n](const stats::ValueList& l) { return l.empty() || l.size() == n; };
    if (!leido_ || !leido_->mismaTabla(antes) || n == 0 || listas.Frecuencias.size() != n ||
        listas.Valores.size() != n || !cabe(listas.LimInf) || !cabe(listas.LimSup))
        return;
    std::size_t enTramos = 0;
    for (const NumberRun& t : colocacion.keyRuns)
        enTramos += t.count;
    // A variable by classes is sorted by its lower limits, any other by its values.
    stats::ValueList* const claves = enTramos != n || campo != campoOrden(leido_->variable)
                                         ? nullptr
                                     : listas.LimInf.empty() ? &listas.Valores
                                                             : &listas.LimInf;
    // Taken before the lists change, to be kept after.
    stats::WhatWasRead lectura = stats::takeReading(listas.Valores, listas.Frecuencias);
    if (claves)
        escribirTramos(colocacion.keyRuns, *claves); // in place: no fresh memory
    const auto mover = [&](auto& lista, auto& libre) {
        if (lista.empty() || static_cast<const void*>(&lista) == claves)
            return;
        place(lista, colocacion, libre);
        lista.swap(libre);
        libre.forget();
    };
    mover(listas.Valores, otra_.Valores);
    mover(listas.Frecuencias, otra_.Frecuencias);
    mover(listas.LimInf, otra_.LimInf);
    mover(listas.LimSup, otra_.LimSup);
    stats::keepReading(std::move(lectura), listas.Valores, listas.Frecuencias);
    const std::string variable = leido_->variable;
    leido_ = origenActual();
    leido_->variable = variable;
}

// X and Y of one state of the table have the same frequency column. When
// both lists hold it unchanged, what the engine read from one serves the
// other, and a variable's numbers read against it stay valid when the
// active variable switches back and forth (the two-variable keys do).
void Documento::compartirFrecuencias() {
    if (!leido_ || !otra_.origen || !otra_.origen->mismaTabla(*leido_))
        return;
    const stats::FrequencyList& a = listas.Frecuencias;
    const stats::FrequencyList& b = otra_.Frecuencias;
    if (a.memo() == b.memo() || a.size() != b.size() || !std::equal(a.begin(), a.end(), b.begin()))
        return; // shared already (or neither read yet), or not the same column
    if (a.memo())
        b.remember(a.memo());
    else
        a.remember(b.memo());
}

bool Documento::leerDeTabla(stats::ValueList& valores, stats::FrequencyList& frecuencias,
                            stats::ValueList& limInf, stats::ValueList& limSup,
                            const stats::FrequencyList* conocidas) {
    if (!Data1.isOpen()) {
        anotarError(DbError::kNotOpen, "No hay ninguna distribución abierta");
        return false;
    }
    const auto ilegible = [this](std::size_t fila, const std::string& campo, std::string por) {
        anotarError(static_cast<int>(ErrorCode::UnreadableRecord),
                    "Registro " + std::to_string(fila + 1) + ": el campo «" + campo + "» " + por);
        return false;
    };
    try {
        const stats::KindInfo* tipo = stats::kindByCode(TipoDist);
        const bool y = tipo && tipo->bivariate && VarActiva == "Y";
        const bool continua =
            tipo && stats::activeType(*tipo, VarActiva) == VariableType::Continuous;
        const std::string campoX = y ? "Yi" : "Xi";
        const std::string li = y ? "LiY" : "LiX";
        const std::string ls = y ? "LsY" : "LsX";
        const auto indice = [this](const std::string& campo) {
            const int i = Data1.fieldIndex(campo);
            if (i < 0)
                throw DbError("No se encuentra el campo «" + campo + "»", DbError::kFieldNotFound);
            return i;
        };
        const int iNi = indice("ni");
        const int iValor = !tipo ? -1 : indice(continua ? li : campoX);
        const int iSup = continua ? indice(ls) : -1;

        // Data1's position stays where it was.
        const std::size_t n = static_cast<std::size_t>(std::max(0, Data1.RecordCount()));
        frecuencias.clear();
        frecuencias.reserve(n);
        valores.clear();
        if (continua)
            valores.reserve(n);
        limInf.clear();
        limSup.clear();
        // Whole columns, read straight from the snapshot: a walk field by
        // field costs several times more on a big table. The record reported
        // is the first with an unreadable field, its fields taken in the
        // order ni, lower limit, upper limit.
        std::optional<CellValue> niMalo;
        if (conocidas && conocidas->size() == n)
            frecuencias = *conocidas;
        else
            Data1.visitColumn(iNi, [&](const CellValue& ni) {
                const std::optional<std::int32_t> f = comoFrecuencia(ni);
                if (!f) {
                    niMalo = ni;
                    return false;
                }
                frecuencias.push_back(*f);
                return true;
            });
        const std::size_t leidas = frecuencias.size(); // rows before a bad ni
        if (continua) {
            limInf = Data1.column(iValor);
            limSup = Data1.column(iSup);
            for (std::size_t i = 0; i < leidas; ++i) {
                const std::optional<double> da = comoNumero(limInf[i]);
                if (!da)
                    return ilegible(i, li, motivo(limInf[i]));
                const std::optional<double> db = comoNumero(limSup[i]);
                if (!db)
                    return ilegible(i, ls, motivo(limSup[i]));
                valores.push_back(CellValue::number((*da + *db) / 2));
            }
        }
        if (iValor >= 0 && !continua) {
            valores.forget();
            Data1.column(iValor, valores);
            // A record without its value would count in N and in no value.
            const std::size_t hasta = std::min(leidas, valores.size());
            for (std::size_t i = 0; i < hasta; ++i)
                if (falta(valores[i]))
                    return ilegible(i, campoX, motivo(valores[i]));
        }
        if (niMalo)
            return ilegible(leidas, "ni", motivoFrecuencia(*niMalo));
        // The value list has one entry per record (entries nothing wrote stay
        // empty). The class limits are only kept for a variable by classes:
        // nothing reads them otherwise, and on a big table they would cost
        // more memory than the rows themselves.
        const std::size_t filas = frecuencias.size();
        valores.resize(filas);
        if (continua) {
            limInf.resize(filas);
            limSup.resize(filas);
        }
        return true;
    } catch (const DbError& e) {
        anotarError(e.code(), e.what());
        return false;
    }
}

std::string Documento::campoOrden() const {
    return campoOrden(VarActiva);
}

std::string Documento::campoOrden(const std::string& variable) const {
    const stats::KindInfo* tipo = stats::kindByCode(TipoDist);
    if (!tipo || (variable != "X" && variable != "Y"))
        return {};
    const bool y = variable == "Y";
    if (y && !tipo->bivariate)
        return {}; // a one-variable table has no Y
    const VariableType t = y ? tipo->y : tipo->x;
    if (t == VariableType::Continuous)
        return y ? "LiY" : "LiX";
    return y ? "Yi" : "Xi";
}

bool Documento::sigueOrdenado() const {
    // The variable and kind do not matter here: only the rows and their order.
    const Origen ahora = origenActual();
    return ordenado_ && ordenado_->enlace == ahora.enlace &&
           ordenado_->revision == ahora.revision && ordenado_->fuente == ahora.fuente;
}

void Documento::OrdenarDatos(const std::string& campo) {
    if (!Data1.isOpen() || BaseActual.empty()) {
        anotarError(DbError::kNotOpen, "No hay ninguna distribución abierta");
        return;
    }
    const std::string f = campo.empty() ? campoOrden() : campo;
    if (f.empty()) {
        anotarError(DbError::kFieldNotFound, "La variable " + VarActiva +
                                                 " no tiene campo de ordenación en una "
                                                 "distribución " +
                                                 TipoDist);
        return;
    }
    const std::string fuente = "SELECT * FROM " + TipoDist + " ORDER BY [" + f + "]";
    if (sigueOrdenado() && Data1.rowSource() == fuente) {
        ContarRegistros(); // already in this order and unchanged since
        return;
    }
    const std::vector<std::string>& campos = Data1.FieldNames();
    if (std::find(campos.begin(), campos.end(), f) == campos.end()) {
        anotarError(DbError::kFieldNotFound,
                    "No existe el campo «" + citaBreve(f) + "» en la tabla " + TipoDist);
        return;
    }
    const Origen antes = origenActual();
    std::shared_ptr<const Placement> colocacion;
    try {
        // Sorted from the rows in memory when the file has not changed since.
        RecordSet ordenado = Data1.Reordered(fuente, &colocacion);
        Data1 = std::move(ordenado);
    } catch (const std::exception& e) {
        const auto* db = dynamic_cast<const DbError*>(&e);
        anotarError(db ? db->code() : DbError::kGeneric, e.what());
        return;
    }
    ++enlace_;
    ordenado_ = origenActual();
    // Both branches name a Placement: a temporary in either would copy
    // the given one, eight bytes a row.
    const Placement sinColocacion;
    seguirOrden(antes, colocacion ? *colocacion : sinColocacion, f);
    ContarRegistros();
    emit datosCambiados();
}

void Documento::Recuento() {
    const stats::KindInfo* tipo = kind();
    if (!tipo || tipo->bivariate || tipo->x == VariableType::Continuous || !Data1.isOpen())
        return; // only one-variable categorical or discrete tables are tallied
    const bool numerico = tipo->x == VariableType::Discrete;

    try {
        std::vector<long long> ids;
        ids.reserve(static_cast<std::size_t>(std::max(0, Data1.RecordCount())));
        RecordSet recorrido = Data1.Clone();
        for (recorrido.MoveFirst(); !recorrido.IsEOF(); recorrido.MoveNext())
            ids.push_back(recorrido.currentRowId());
        const std::vector<CellValue> xi = Data1.column("Xi");
        const std::vector<CellValue> ni = Data1.column("ni");
        const std::size_t n = std::min({ids.size(), xi.size(), ni.size()});

        // A row whose value or frequency is empty or not a number is left as it
        // is and ends the run around it.
        struct Clave {
            bool valida = false;
            double numero = 0;
            std::string texto;
            std::int32_t frecuencia = 0;
        };
        std::vector<Clave> claves(n);
        for (std::size_t i = 0; i < n; ++i) {
            const std::optional<std::int32_t> f = comoFrecuencia(ni[i]);
            if (!f)
                continue;
            Clave& c = claves[i];
            c.frecuencia = *f;
            if (numerico) {
                const std::optional<double> v = comoNumero(xi[i]);
                c.valida = v.has_value() && !std::isnan(*v);
                c.numero = v.value_or(0);
            } else {
                c.texto = textoDe(xi[i]);
                c.valida = !c.texto.empty();
            }
        }
        const auto iguales = [&](const Clave& a, const Clave& b) {
            return a.valida && b.valida && (numerico ? a.numero == b.numero : a.texto == b.texto);
        };

        std::vector<std::pair<long long, std::int64_t>> sumas; // surviving row, its new ni
        std::vector<sqlite3_int64> borradas;
        for (std::size_t i = 0; i < n;) {
            std::size_t j = i;
            std::int64_t suma = claves[i].frecuencia;
            while (j + 1 < n && iguales(claves[j + 1], claves[i]) &&
                   suma + claves[j + 1].frecuencia <= std::numeric_limits<std::int32_t>::max()) {
                ++j;
                suma += claves[j].frecuencia;
            }
            if (j > i) {
                sumas.emplace_back(ids[j], suma);
                borradas.insert(borradas.end(), ids.begin() + static_cast<std::ptrdiff_t>(i),
                                ids.begin() + static_cast<std::ptrdiff_t>(j));
            }
            i = j + 1;
        }
        if (sumas.empty())
            return; // nothing to merge: the table stays untouched

        const std::shared_ptr<Database> db = Data1.database();
        const std::string tabla = quoteIdentifier(TipoDist);
        {
            Database::Transaction tx(*db);
            Sentencia actualizar(db->handle(), "UPDATE " + tabla + " SET ni = ?1 WHERE rowid = ?2");
            for (const auto& [id, suma] : sumas) {
                const std::array<sqlite3_int64, 2> fila{suma, id};
                actualizar.ejecutar(db->handle(), fila);
            }
            // Deleted in file order and in batches: far fewer statements.
            std::sort(borradas.begin(), borradas.end());
            constexpr std::size_t kLote = 200;
            const auto sqlBorrar = [&tabla](std::size_t n) {
                std::string sql = "DELETE FROM " + tabla + " WHERE rowid IN (?";
                for (std::size_t i = 1; i < n; ++i)
                    sql += ",?";
                return sql + ")";
            };
            Sentencia borrarLote(db->handle(), sqlBorrar(kLote));
            const std::span<const sqlite3_int64> todas(borradas);
            std::size_t hecho = 0;
            for (; hecho + kLote <= todas.size(); hecho += kLote)
                borrarLote.ejecutar(db->handle(), todas.subspan(hecho, kLote));
            if (hecho < todas.size()) {
                Sentencia resto(db->handle(), sqlBorrar(todas.size() - hecho));
                resto.ejecutar(db->handle(), todas.subspan(hecho));
            }
            tx.commit();
        }
        const bool estabaOrdenado = sigueOrdenado();
        Data1.Refresh(); // same row source: the order shown stays as it was
        ++enlace_;
        if (estabaOrdenado)
            ordenado_ = origenActual();
        ContarRegistros();
        emit datosCambiados();
    } catch (const std::exception& e) {
        const auto* db = dynamic_cast<const DbError*>(&e);
        anotarError(db ? db->code() : DbError::kGeneric, e.what());
    }
}

const stats::KindInfo* Documento::kind() const {
    return BaseActual.empty() || !Data1.isOpen() ? nullptr : stats::kindByCode(TipoDist);
}

namespace {
std::string campoDeEnunciado(const RecordSet& rs, const char* campo) {
    try {
        if (!rs.isOpen())
            return {};
        const std::vector<CellValue> columna = rs.column(campo);
        return columna.empty() ? std::string() : textoDe(columna.front());
    } catch (const std::exception&) {
        return {};
    }
}
} // namespace

std::string Documento::Clase() const {
    return campoDeEnunciado(Data2, "CLASE");
}
std::string Documento::Tipo() const {
    return campoDeEnunciado(Data2, "TIPO");
}
std::string Documento::Enunciado() const {
    return campoDeEnunciado(Data2, "ENUNCIADO");
}

bool Documento::setEnunciado(const std::string& text) {
    try {
        if (!Data2.isOpen())
            throw DbError("No hay ninguna distribución abierta", DbError::kNotOpen);
        Data2.MoveFirst();
        Data2.Edit();
        Data2.SetField("ENUNCIADO", CellValue::text(text));
        Data2.Update();
        return true;
    } catch (const DbError& e) {
        anotarError(e.code(), e.what());
        return false;
    }
}

namespace {
template <typename Cambio>
bool cambiarCampo(const std::string& path, const std::string& table, std::string* message,
                  Cambio cambio) {
    try {
        const std::shared_ptr<Database> db = Database::open(path);
        for (const std::string& nombre : db->tableNames()) {
            if (nombre == table) { // exact, letter case included
                cambio(*db);
                break;
            }
        }
        return true;
    } catch (const std::exception& e) {
        if (message)
            *message = e.what();
        return false;
    }
}
} // namespace

bool Documento::CrearCampo(const std::string& path, const std::string& table,
                           const std::string& field, std::string* message) {
    return cambiarCampo(path, table, message,
                        [&](Database& db) { db.addDoubleField(table, field); });
}

bool Documento::BorrarCampo(const std::string& path, const std::string& table,
                            const std::string& field, std::string* message) {
    return cambiarCampo(path, table, message, [&](Database& db) { db.dropField(table, field); });
}

} // namespace kalnor
