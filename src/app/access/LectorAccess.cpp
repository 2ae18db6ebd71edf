#include "LectorAccess.h"

#include "ErrorAccess.h"
#include "TextoJet.h"

#include "app/CitaBreve.h"

#include <mdbtools.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <fstream>
#include <optional>
#include <set>
#include <utility>

namespace kalnor::access {

using stats::CellValue;

namespace {

// Flags in the top bits of a row's slot on a data page.
constexpr unsigned kFilaBorrada = 0x8000; // deleted, or data reached through a pointer
constexpr unsigned kFilaPuntero = 0x4000; // the row moved: the slot holds where to
constexpr unsigned kMascaraOffset = 0x1FFF;
constexpr std::uint32_t kMemoLargoMaximo = 64u << 20; // bytes; far beyond any statement
constexpr int kSaltosMaximos = 8;                     // pointer to pointer to ...

std::uint16_t u16(const std::uint8_t* p) {
    return std::uint16_t(p[0] | (p[1] << 8));
}
std::uint32_t u32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

[[noreturn]] void danado(const std::string& tabla, const std::string& detalle) {
    throw ErrorAccess("El archivo Access está dañado (tabla «" + citaBreve(tabla) +
                      "»: " + detalle + ").");
}

bool igualesSinMayusculas(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return (x >= 'A' && x <= 'Z' ? x + 32 : x) == (y >= 'A' && y <= 'Z' ? y + 32 : y);
    });
}

struct CierreMdb {
    void operator()(MdbHandle* h) const { mdb_close(h); }
};
struct CierreTabla {
    void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};

// A copy of one page, so decoding never depends on libmdb's shared buffers.
struct Pagina {
    std::uint32_t numero = 0;
    std::vector<std::uint8_t> bytes;
};

// Where a row's bytes sit.
struct Ubicacion {
    std::uint32_t pagina;
    unsigned fila;
    bool porPuntero;
};

struct Ranura {
    unsigned banderas;
    std::size_t inicio;
    std::size_t largo;
};

// How a column is laid out in a row.
struct Disposicion {
    int tipoMdb;
    int tamano;
    bool fija;
    int numeroEnFila; // bit of the null mask, counting deleted columns
    int desplazamiento;
    unsigned numeroVariable;
};

} // namespace

int TablaAccess::indiceColumna(const std::string& nombreColumna) const {
    for (std::size_t i = 0; i < columnas.size(); ++i)
        if (igualesSinMayusculas(columnas[i].nombre, nombreColumna))
            return static_cast<int>(i);
    return -1;
}

struct LectorAccess::Estado {
    std::vector<std::uint8_t> contenido; // must outlive the handle when reading from memory
    std::unique_ptr<MdbHandle, CierreMdb> mdb;

    std::size_t tamanoPagina() const { return static_cast<std::size_t>(mdb->fmt->pg_size); }
    bool jet3() const { return mdb->f->jet_version == MDB_VER_JET3; }

    bool leerPagina(std::uint32_t numero, Pagina& p) const {
        if (!p.bytes.empty() && p.numero == numero)
            return true;
        if (numero == 0 || mdb_read_pg(mdb.get(), numero) != mdb->fmt->pg_size)
            return false;
        p.bytes.assign(mdb->pg_buf, mdb->pg_buf + tamanoPagina());
        p.numero = numero;
        return true;
    }

    // Slot `fila` of a data page, bounds checked; nullopt when out of the page.
    std::optional<Ranura> ranura(const Pagina& p, unsigned fila) const {
        const std::size_t rco = mdb->fmt->row_count_offset;
        const std::size_t tam = p.bytes.size();
        if (rco + 2 > tam)
            return std::nullopt;
        const unsigned filas = u16(&p.bytes[rco]);
        const std::size_t finTabla = rco + 2 + 2 * std::size_t(filas);
        if (fila >= filas || finTabla > tam)
            return std::nullopt;
        const unsigned bruto = u16(&p.bytes[rco + 2 + 2 * fila]);
        const std::size_t inicio = bruto & kMascaraOffset;
        const std::size_t fin = fila == 0 ? tam : (u16(&p.bytes[rco + 2 * fila]) & kMascaraOffset);
        if (inicio < finTabla || inicio > fin || fin > tam)
            return Ranura{bruto & (kFilaBorrada | kFilaPuntero), 0, 0};
        return Ranura{bruto & (kFilaBorrada | kFilaPuntero), inicio, fin - inicio};
    }

    unsigned filasEnPagina(const Pagina& p) const {
        const std::size_t rco = mdb->fmt->row_count_offset;
        return rco + 2 <= p.bytes.size() ? u16(&p.bytes[rco]) : 0;
    }

    std::vector<std::uint8_t> leerMemo(const std::string& tabla, const std::uint8_t* f,
                                       std::size_t n) const;
    CellValue valor(const std::string& tabla, const Disposicion& d, const std::uint8_t* f,
                    std::size_t n, bool noNulo) const;
    std::vector<CellValue> decodificarFila(const std::string& tabla,
                                           const std::vector<Disposicion>& cols,
                                           bool tieneVariables, const Pagina& p,
                                           const Ranura& r) const;
};

LectorAccess::LectorAccess(const std::string& ruta) : estado_(std::make_unique<Estado>()) {
    std::ifstream prueba(ruta, std::ios::binary);
    if (!prueba)
        throw ErrorAccess("No se puede abrir el archivo " + ruta + ".");
    estado_->mdb.reset(mdb_open(ruta.c_str(), MDB_NOFLAGS));
    if (!estado_->mdb)
        throw ErrorAccess("El archivo " + ruta + " no es una base de datos de Access legible.");
    abrirCatalogo();
}

LectorAccess::LectorAccess(std::span<const std::uint8_t> contenido)
    : estado_(std::make_unique<Estado>()) {
    estado_->contenido.assign(contenido.begin(), contenido.end());
    if (estado_->contenido.empty())
        throw ErrorAccess("El archivo está vacío.");
    estado_->mdb.reset(
        mdb_open_buffer(estado_->contenido.data(), estado_->contenido.size(), MDB_NOFLAGS));
    if (!estado_->mdb)
        throw ErrorAccess("El contenido no es una base de datos de Access legible.");
    abrirCatalogo();
}

LectorAccess::~LectorAccess() = default;

void LectorAccess::abrirCatalogo() {
    MdbHandle* mdb = estado_->mdb.get();
    if (!mdb->fmt || !mdb->f)
        throw ErrorAccess("El archivo no es una base de datos de Access legible.");
    const std::size_t tam = estado_->tamanoPagina();
    if (tam != 2048 && tam != 4096)
        throw ErrorAccess("El archivo Access tiene un formato que no se reconoce.");
    if (!mdb_read_catalog(mdb, MDB_TABLE))
        throw ErrorAccess("El archivo Access está dañado: no se puede leer su catálogo de tablas.");
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (e->object_type == MDB_TABLE && mdb_is_user_table(e))
            tablas_.emplace_back(e->object_name);
    }
}

bool LectorAccess::esJet3() const {
    return estado_->jet3();
}

bool LectorAccess::tieneTabla(const std::string& nombre) const {
    return std::any_of(tablas_.begin(), tablas_.end(),
                       [&](const std::string& t) { return igualesSinMayusculas(t, nombre); });
}

bool LectorAccess::esCabeceraAccess(std::span<const std::uint8_t> inicio) {
    // Page 0: 00 01 00 00, then "Standard Jet DB" or "Standard ACE DB".
    static constexpr std::uint8_t kFirma[] = {0x00, 0x01, 0x00, 0x00};
    if (inicio.size() < 19 || !std::equal(std::begin(kFirma), std::end(kFirma), inicio.begin()))
        return false;
    const std::string texto(inicio.begin() + 4, inicio.begin() + 19);
    return texto == "Standard Jet DB" || texto == "Standard ACE DB";
}

bool LectorAccess::esArchivoAccess(const std::string& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    std::uint8_t cabecera[19] = {};
    if (!f.read(reinterpret_cast<char*>(cabecera), sizeof cabecera))
        return false;
    return esCabeceraAccess(cabecera);
}

std::vector<std::uint8_t> LectorAccess::Estado::leerMemo(const std::string& tabla,
                                                         const std::uint8_t* f,
                                                         std::size_t n) const {
    if (n == 0)
        return {};
    if (n < 12)
        danado(tabla, "memo de cabecera incompleta");
    const std::uint32_t cabecera = u32(f);
    const std::uint32_t largo = cabecera & 0x3FFFFFFF;
    if (largo > kMemoLargoMaximo)
        danado(tabla, "memo de longitud imposible");
    if (cabecera & 0x80000000) { // kept inside the row
        if (largo > n - 12)
            danado(tabla, "memo más largo que su fila");
        return {f + 12, f + 12 + largo};
    }
    std::vector<std::uint8_t> datos;
    datos.reserve(largo);
    Pagina p;
    std::uint32_t puntero = u32(f + 4);
    const bool unaPagina = cabecera & 0x40000000;
    if ((cabecera & 0xC0000000) == 0xC0000000)
        danado(tabla, "memo de tipo desconocido");
    std::set<std::uint32_t> visitados;
    while (puntero != 0 && datos.size() < largo) {
        if (!visitados.insert(puntero).second)
            danado(tabla, "memo con páginas en círculo");
        if (!leerPagina(puntero >> 8, p) || p.bytes[0] != MDB_PAGE_DATA)
            danado(tabla, "memo en una página que no existe");
        const auto r = ranura(p, puntero & 0xFF);
        if (!r || r->largo == 0)
            danado(tabla, "memo en una fila que no existe");
        const std::uint8_t* trozo = &p.bytes[r->inicio];
        std::size_t largoTrozo = r->largo;
        if (unaPagina) {
            puntero = 0;
        } else {
            if (largoTrozo < 4)
                danado(tabla, "trozo de memo incompleto");
            puntero = u32(trozo);
            trozo += 4;
            largoTrozo -= 4;
        }
        const std::size_t falta = largo - datos.size();
        datos.insert(datos.end(), trozo, trozo + std::min(falta, largoTrozo));
    }
    if (datos.size() < largo)
        danado(tabla, "memo incompleto");
    return datos;
}

CellValue LectorAccess::Estado::valor(const std::string& tabla, const Disposicion& d,
                                      const std::uint8_t* f, std::size_t n, bool noNulo) const {
    if (d.tipoMdb == MDB_BOOL) // kept in the null mask: set means Yes
        return CellValue::number(noNulo ? -1.0 : 0.0);
    if (!noNulo)
        return CellValue::null();
    const auto exige = [&](std::size_t bytes) {
        if (n < bytes)
            danado(tabla, "campo más corto que su tipo");
    };
    switch (d.tipoMdb) {
    case MDB_BYTE:
        exige(1);
        return CellValue::number(f[0]);
    case MDB_INT:
        exige(2);
        return CellValue::number(static_cast<std::int16_t>(u16(f)));
    case MDB_LONGINT:
        exige(4);
        return CellValue::number(static_cast<std::int32_t>(u32(f)));
    case MDB_FLOAT:
        exige(4);
        return CellValue::number(std::bit_cast<float>(u32(f)));
    case MDB_DOUBLE: {
        exige(8);
        // Taken bit for bit: no text round trip, no locale.
        const std::uint64_t bits = u32(f) | (std::uint64_t(u32(f + 4)) << 32);
        return CellValue::number(std::bit_cast<double>(bits));
    }
    case MDB_MONEY: {
        exige(8);
        const std::uint64_t bits = u32(f) | (std::uint64_t(u32(f + 4)) << 32);
        return CellValue::number(static_cast<double>(static_cast<std::int64_t>(bits)) / 10000.0);
    }
    case MDB_TEXT: {
        const std::span<const std::uint8_t> b(f, n);
        return CellValue::text(jet3() ? textoJet3(b) : textoJet4(b));
    }
    case MDB_MEMO: {
        const std::vector<std::uint8_t> b = leerMemo(tabla, f, n);
        return CellValue::text(jet3() ? textoJet3(b) : textoJet4(b));
    }
    default:
        return CellValue::null();
    }
}

std::vector<CellValue> LectorAccess::Estado::decodificarFila(const std::string& tabla,
                                                             const std::vector<Disposicion>& cols,
                                                             bool tieneVariables, const Pagina& p,
                                                             const Ranura& r) const {
    const std::uint8_t* fila = &p.bytes[r.inicio];
    const std::size_t largo = r.largo;
    const std::size_t bytesCuenta = jet3() ? 1 : 2;
    if (largo < bytesCuenta + 1)
        danado(tabla, "fila demasiado corta");
    const unsigned columnasFila = jet3() ? fila[0] : u16(fila);
    const std::size_t bytesNulos = (columnasFila + 7) / 8;
    if (bytesCuenta + bytesNulos > largo)
        danado(tabla, "fila con máscara de nulos imposible");
    const std::uint8_t* nulos = fila + largo - bytesNulos;

    // Offsets of the variable-length values, relative to the row, plus the end.
    std::vector<std::size_t> offsets;
    std::size_t finFijos = largo - bytesNulos;
    if (tieneVariables) {
        const std::size_t finEntradas = largo - bytesNulos; // one past the count
        if (jet3()) {
            if (finEntradas < bytesCuenta + 1)
                danado(tabla, "fila sin tabla de campos variables");
            const unsigned cuenta = fila[finEntradas - 1];
            // Rows longer than 256 bytes add a table of "jumps" (high bytes).
            std::size_t saltos = (largo - 1) / 256;
            if (finEntradas < 1 + saltos + cuenta + 1 + bytesCuenta)
                danado(tabla, "tabla de campos variables fuera de la fila");
            const std::size_t base = finEntradas - 1 - saltos; // index one past the offsets' top
            if ((base - 1 - cuenta) / 256 < saltos)
                --saltos;
            std::size_t usados = 0;
            for (unsigned i = 0; i <= cuenta; ++i) {
                while (usados < saltos && i == fila[finEntradas - 2 - usados])
                    ++usados;
                offsets.push_back(fila[base - 1 - i] + usados * 256);
            }
        } else {
            if (finEntradas < bytesCuenta + 2)
                danado(tabla, "fila sin tabla de campos variables");
            const unsigned cuenta = u16(fila + finEntradas - 2);
            if (finEntradas < bytesCuenta + 2 + 2 * (std::size_t(cuenta) + 1))
                danado(tabla, "tabla de campos variables fuera de la fila");
            for (unsigned i = 0; i <= cuenta; ++i)
                offsets.push_back(u16(fila + finEntradas - 4 - 2 * i));
        }
        finFijos = offsets.front();
        for (std::size_t i = 0; i < offsets.size(); ++i)
            if (offsets[i] < bytesCuenta || offsets[i] > largo ||
                (i > 0 && offsets[i] < offsets[i - 1]))
                danado(tabla, "campo variable fuera de la fila");
    }
    const std::size_t variablesFila = offsets.empty() ? 0 : offsets.size() - 1;

    std::vector<CellValue> valores;
    valores.reserve(cols.size());
    for (const Disposicion& d : cols) {
        // A row written before the column was added is shorter: Null there.
        if (d.numeroEnFila < 0 || unsigned(d.numeroEnFila) >= columnasFila) {
            valores.push_back(CellValue::null());
            continue;
        }
        const bool noNulo = nulos[d.numeroEnFila / 8] & (1u << (d.numeroEnFila % 8));
        if (d.tipoMdb == MDB_BOOL) {
            valores.push_back(valor(tabla, d, nullptr, 0, noNulo));
        } else if (d.fija) {
            const std::size_t inicio = bytesCuenta + std::size_t(d.desplazamiento);
            if (d.desplazamiento < 0 || d.tamano < 0 || inicio + d.tamano > finFijos)
                valores.push_back(CellValue::null());
            else
                valores.push_back(valor(tabla, d, fila + inicio, d.tamano, noNulo));
        } else if (d.numeroVariable < variablesFila) {
            const std::size_t a = offsets[d.numeroVariable];
            const std::size_t b = offsets[d.numeroVariable + 1];
            valores.push_back(valor(tabla, d, fila + a, b - a, noNulo));
        } else {
            valores.push_back(CellValue::null());
        }
    }
    return valores;
}

TablaAccess LectorAccess::leerTabla(const std::string& nombre) const {
    MdbHandle* mdb = estado_->mdb.get();
    MdbCatalogEntry* entrada = nullptr;
    for (unsigned i = 0; i < mdb->num_catalog && !entrada; ++i) {
        auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (e->object_type == MDB_TABLE && igualesSinMayusculas(e->object_name, nombre))
            entrada = e;
    }
    if (!entrada)
        throw ErrorAccess("El archivo Access no tiene la tabla «" + citaBreve(nombre) + "».");

    const std::unique_ptr<MdbTableDef, CierreTabla> def(mdb_read_table(entrada));
    if (!def)
        danado(nombre, "no se puede leer su definición");
    const GPtrArray* columnas = def->columns;
    if (!columnas || columnas->len == 0)
        columnas = mdb_read_columns(def.get());
    if (!columnas || columnas->len != def->num_cols)
        danado(nombre, "definición de columnas incompleta");

    TablaAccess tabla;
    tabla.nombre = entrada->object_name;
    std::vector<Disposicion> disposicion;
    for (unsigned i = 0; i < columnas->len; ++i) {
        const auto* c = static_cast<const MdbColumn*>(g_ptr_array_index(columnas, i));
        TipoColumna tipo;
        switch (c->col_type) {
        case MDB_TEXT:
            tipo = TipoColumna::Texto;
            break;
        case MDB_MEMO:
            tipo = TipoColumna::Memo;
            break;
        case MDB_BOOL:
        case MDB_BYTE:
        case MDB_INT:
        case MDB_LONGINT:
            tipo = TipoColumna::Entero;
            break;
        case MDB_FLOAT:
        case MDB_DOUBLE:
        case MDB_MONEY:
            tipo = TipoColumna::Real;
            break;
        default:
            throw ErrorAccess("El campo «" + citaBreve(std::string_view(c->name)) +
                              "» de la tabla «" + citaBreve(nombre) +
                              "» es de un tipo (fecha, binario u otro) que una distribución no "
                              "puede contener.");
        }
        tabla.columnas.push_back({c->name, tipo});
        disposicion.push_back({c->col_type, c->col_size, c->is_fixed != 0, c->row_col_num,
                               c->fixed_offset, c->var_col_num});
    }
    const bool tieneVariables = def->num_var_cols > 0;

    // First every live row's location, in stored order, following pointers
    // of relocated rows; then the rows themselves.
    std::vector<Ubicacion> ubicaciones;
    Pagina p;
    mdb_rewind_table(def.get());
    for (int pagina; (pagina = mdb_read_next_dpg(def.get())) > 0;) {
        if (!estado_->leerPagina(static_cast<std::uint32_t>(pagina), p))
            danado(nombre, "página de datos ilegible");
        const unsigned filas = estado_->filasEnPagina(p);
        for (unsigned i = 0; i < filas; ++i) {
            const auto r = estado_->ranura(p, i);
            if (!r)
                danado(nombre, "tabla de filas fuera de la página");
            if (r->banderas & kFilaBorrada)
                continue; // deleted, or the current copy of a relocated row
            if (r->banderas & kFilaPuntero) {
                if (r->largo < 4)
                    danado(nombre, "puntero de fila incompleto");
                const std::uint32_t destino = u32(&p.bytes[r->inicio]);
                ubicaciones.push_back({destino >> 8, destino & 0xFF, true});
            } else {
                ubicaciones.push_back({p.numero, i, false});
            }
        }
    }

    std::set<std::pair<std::uint32_t, unsigned>> usadas;
    tabla.filas.reserve(ubicaciones.size());
    for (Ubicacion u : ubicaciones) {
        std::optional<Ranura> r;
        for (int salto = 0;; ++salto) {
            if (!estado_->leerPagina(u.pagina, p) || p.bytes[0] != MDB_PAGE_DATA ||
                u32(&p.bytes[4]) != entrada->table_pg)
                danado(nombre, "una fila apunta fuera de la tabla");
            r = estado_->ranura(p, u.fila);
            if (!r || (u.porPuntero && r->banderas == 0))
                danado(nombre, "una fila apunta a un sitio vacío");
            if (!u.porPuntero || r->banderas == kFilaBorrada)
                break;
            // A pointer to a pointer: follow it a few times at most.
            if (r->banderas != kFilaPuntero || salto >= kSaltosMaximos || r->largo < 4)
                danado(nombre, "cadena de filas reubicadas imposible");
            const std::uint32_t destino = u32(&p.bytes[r->inicio]);
            u = {destino >> 8, destino & 0xFF, true};
        }
        if (!usadas.insert({u.pagina, u.fila}).second)
            danado(nombre, "dos filas comparten los mismos datos");
        if (r->largo == 0)
            danado(nombre, "fila vacía");
        tabla.filas.push_back(estado_->decodificarFila(nombre, disposicion, tieneVariables, p, *r));
    }

    // Never import duplicated or lost rows silently.
    if (tabla.filas.size() != def->num_rows)
        throw ErrorAccess("El archivo Access está dañado: la tabla «" + citaBreve(tabla.nombre) +
                          "» declara " + std::to_string(def->num_rows) + " filas y se leyeron " +
                          std::to_string(tabla.filas.size()) +
                          ". No se importa para no duplicar ni perder datos.");
    return tabla;
}

} // namespace kalnor::access
