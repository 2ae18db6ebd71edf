#include "EnunciadoSeguro.h"

#include "EnunciadoAtributos.h"
#include "EnunciadoLexico.h"

#include "app/Utf8.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <vector>

namespace kalnor {

namespace {

using namespace enunciado;

// ---------------------------------------------------------------- elements

enum class Clase : std::uint8_t {
    EnLinea,
    Bloque,
    Vacio,
    Lista,
    ElementoLista,
    Tabla,
    Fila,
    Celda
};

struct Elemento {
    std::string_view nombre;
    Clase clase;
    std::string_view atributos; // allowed, each between blanks
};

constexpr std::array kElementos{
    Elemento{"p", Clase::Bloque, " style align dir "},
    Elemento{"div", Clase::Bloque, " style align dir "},
    Elemento{"h1", Clase::Bloque, " style align dir "},
    Elemento{"h2", Clase::Bloque, " style align dir "},
    Elemento{"h3", Clase::Bloque, " style align dir "},
    Elemento{"h4", Clase::Bloque, " style align dir "},
    Elemento{"h5", Clase::Bloque, " style align dir "},
    Elemento{"h6", Clase::Bloque, " style align dir "},
    Elemento{"pre", Clase::Bloque, " style "},
    Elemento{"blockquote", Clase::Bloque, " style "},
    Elemento{"ul", Clase::Lista, " style type "},
    Elemento{"ol", Clase::Lista, " style type start "},
    Elemento{"li", Clase::ElementoLista, " style align dir "},
    Elemento{"table", Clase::Tabla, " style border cellspacing cellpadding width align bgcolor "},
    Elemento{"tr", Clase::Fila, " style bgcolor valign "},
    Elemento{"td", Clase::Celda, " style width colspan rowspan align valign bgcolor "},
    Elemento{"th", Clase::Celda, " style width colspan rowspan align valign bgcolor "},
    Elemento{"span", Clase::EnLinea, " style "},
    Elemento{"b", Clase::EnLinea, " style "},
    Elemento{"strong", Clase::EnLinea, " style "},
    Elemento{"i", Clase::EnLinea, " style "},
    Elemento{"em", Clase::EnLinea, " style "},
    Elemento{"u", Clase::EnLinea, " style "},
    Elemento{"s", Clase::EnLinea, " style "},
    Elemento{"strike", Clase::EnLinea, " style "},
    Elemento{"sub", Clase::EnLinea, " style "},
    Elemento{"sup", Clase::EnLinea, " style "},
    Elemento{"big", Clase::EnLinea, " style "},
    Elemento{"small", Clase::EnLinea, " style "},
    Elemento{"code", Clase::EnLinea, " style "},
    Elemento{"tt", Clase::EnLinea, " style "},
    Elemento{"font", Clase::EnLinea, " style face size color "},
    Elemento{"a", Clase::EnLinea, " style href name "},
    Elemento{"br", Clase::Vacio, " "},
    Elemento{"hr", Clase::Vacio, " style width "},
    Elemento{"img", Clase::Vacio, " src width height style "},
};

constexpr int kNumElementos = static_cast<int>(kElementos.size());

int indiceDe(std::string_view nombre) {
    for (int i = 0; i < kNumElementos; ++i)
        if (kElementos[static_cast<std::size_t>(i)].nombre == nombre)
            return i;
    return -1;
}

const int kP = indiceDe("p");
const int kDiv = indiceDe("div");
const int kBlockquote = indiceDe("blockquote");
const int kUl = indiceDe("ul");
const int kOl = indiceDe("ol");
const int kLi = indiceDe("li");
const int kTable = indiceDe("table");
const int kTr = indiceDe("tr");
const int kTd = indiceDe("td");
const int kTh = indiceDe("th");
const int kImg = indiceDe("img");
const int kBr = indiceDe("br");

// Blocks and line breaks at most: Qt lays out and paginates each of them,
// and a statement of a thousand pages is no statement.
constexpr int kLineasMaximas = 20000;
// Items of one list at most: Qt numbers a list in time that grows with the
// square of its items.
constexpr int kItemsMaximos = 1000;
// Cells of one row at most: a row of thousands of columns squeezes its text
// into a line per letter.
constexpr int kCeldasPorFila = 64;
// Characters of text at most (some 150 pages): every one is laid out and
// paginated when the informe is written.
constexpr std::size_t kCaracteresMaximos = 256 * 1024;
// Embedded pictures at most; the rest are left out.
constexpr int kImagenesMaximas = 100;
// Characters with no blank at most before a break opportunity (U+200B) is
// added: Qt's line breaking takes the square of the longest such run.
constexpr int kCorridaMaxima = 1000;
constexpr std::string_view kEspacioNulo = "\u200B";

const Elemento& elemento(int i) {
    return kElementos[static_cast<std::size_t>(i)];
}

// Elements whose content is never text to show.
constexpr std::array<std::string_view, 12> kSinContenido{
    "script",  "style",    "title",    "textarea", "xmp", "iframe",
    "noembed", "noframes", "noscript", "template", "svg", "math"};

// Block elements left out whose end still separates the text around them.
constexpr std::array<std::string_view, 18> kBloquesAjenos{
    "dl",   "dt",     "dd",   "section", "article", "header",   "footer",  "nav",     "aside",
    "main", "figure", "form", "center",  "address", "fieldset", "details", "caption", "summary"};

// The element names the notes box has always taken as HTML at the start of
// a text.
constexpr std::array<std::string_view, 59> kNombresHtml{
    "a",    "address", "b",     "big",   "blockquote", "body",  "br",   "caption", "center",
    "cite", "code",    "dd",    "dfn",   "div",        "dl",    "dt",   "em",      "font",
    "h1",   "h2",      "h3",    "h4",    "h5",         "h6",    "head", "hr",      "html",
    "i",    "img",     "kbd",   "li",    "link",       "meta",  "nobr", "ol",      "p",
    "pre",  "qt",      "s",     "samp",  "script",     "small", "span", "strong",  "style",
    "sub",  "sup",     "table", "tbody", "td",         "tfoot", "th",   "thead",   "title",
    "tr",   "tt",      "u",     "ul",    "var"};

template <std::size_t N>
bool entre(const std::array<std::string_view, N>& lista, std::string_view nombre) {
    return std::find(lista.begin(), lista.end(), nombre) != lista.end();
}

// ---------------------------------------------------------------- tree

// Builds the output from the tokens, keeping it well formed: at most
// kAnidamientoMaximo real elements open; what would go deeper is a
// "phantom" that keeps its text and separates it from its neighbours.
class Arbol {
public:
    explicit Arbol(std::string& salida) : salida_(salida) {}

    // Size of the body's letters, from its style.
    void letraBase(const std::string& estiloCuerpo) {
        base_ = puntosDe(-1, " style=\"" + estiloCuerpo + "\"", base_);
    }

    // What a character now costs of the text's allowance: its area against
    // that of a letter of 12 points (big letters fill pages sooner).
    double peso() const {
        const double escala = puntos() / 12.0;
        return std::max(1.0, escala * escala);
    }

    void texto(std::string_view escapado, bool visible) {
        // Blanks between blocks show nothing (and would pile up at the top
        // of the body on every pass).
        if (!visible && (contextoSinTexto() || (reales_.empty() && !hayTexto_)))
            return;
        asegurarTexto();
        salida_ += escapado;
        if (visible)
            hayTexto_ = true;
    }

    void inicio(int e, const std::string& atributos) {
        const Elemento& el = elemento(e);
        switch (el.clase) {
        case Clase::Vacio:
            asegurarTexto();
            if (e == kBr && agotado()) {
                salida_ += ' ';
                return;
            }
            if (e == kBr)
                --lineas_;
            salida_ += "<" + std::string(el.nombre) + atributos + " />";
            hayTexto_ = e != kBr;
            return;
        case Clase::EnLinea:
            asegurarTexto();
            meter(e, cabe(1), atributos);
            return;
        case Clase::Bloque:
            asegurarTexto();
            cerrarParrafo();
            meter(e, cabe(1) && !agotado(), atributos);
            return;
        case Clase::Lista:
            asegurarTexto();
            cerrarParrafo();
            meter(e, cabe(2) && !agotado(), atributos);
            return;
        case Clase::Tabla:
            asegurarTexto();
            cerrarParrafo();
            meter(e, cabe(3) && !agotado(), atributos);
            return;
        case Clase::ElementoLista: {
            const int lista = cercano({kUl, kOl});
            const int limite = std::max(lista, cercano({kTable, kTd, kTh}));
            if (lista >= 0 && lista == limite) {
                if (pila_[static_cast<std::size_t>(lista)].real && lleno(lista))
                    aplanar(lista);
                sacarDesde(lista + 1);
                meter(e, pila_[static_cast<std::size_t>(lista)].real, atributos);
            } else {
                if (const int li = cercano({kLi}); li > limite)
                    sacarDesde(li);
                asegurarTexto();
                meter(e, false, atributos); // an item of no list
            }
            return;
        }
        case Clase::Fila:
        case Clase::Celda: {
            const int tabla = cercano({kTable});
            if (tabla < 0) {
                asegurarTexto();
                meter(e, false, atributos);
                return;
            }
            if (pila_[static_cast<std::size_t>(tabla)].real) {
                const int fila = hijoReal(tabla, 1);
                if (agotado() || (el.clase == Clase::Celda && fila >= 0 && lleno(fila)))
                    aplanar(tabla);
            }
            const int fila = cercano({kTr});
            if (el.clase == Clase::Fila || fila < tabla) {
                sacarDesde(tabla + 1);
                meter(kTr, pila_[static_cast<std::size_t>(tabla)].real,
                      el.clase == Clase::Fila ? atributos : std::string());
                if (el.clase == Clase::Fila)
                    return;
            } else {
                sacarDesde(fila + 1);
            }
            meter(e, pila_[static_cast<std::size_t>(cercano({kTr}))].real, atributos);
            return;
        }
        }
    }

    void fin(int e) {
        const Elemento& el = elemento(e);
        int objetivo = -1;
        int limite = -1;
        switch (el.clase) {
        case Clase::Vacio:
            return;
        case Clase::Celda:
            objetivo = cercano({kTd, kTh});
            limite = cercano({kTable});
            break;
        case Clase::Fila:
            objetivo = cercano({kTr});
            limite = cercano({kTable});
            break;
        case Clase::Tabla:
            objetivo = cercano({kTable});
            break;
        case Clase::ElementoLista:
            objetivo = cercano({kLi});
            limite = cercano({kUl, kOl, kTable, kTd, kTh});
            break;
        default:
            objetivo = cercano({e});
            limite = cercano({kTable, kTd, kTh});
            break;
        }
        if (objetivo >= 0 && objetivo > limite)
            sacarDesde(objetivo);
    }

    // A block of some other kind, left out: its text stays apart.
    void separacion() { separar(false); }

    void terminar() { sacarDesde(0); }

private:
    struct Abierto {
        std::uint8_t elemento;
        bool real;
        float puntos; // size of the letters inside
    };

    static bool esBloque(int e) { return elemento(e).clase != Clase::EnLinea; }

    bool cabe(int hacen) const { return profundidad_ + hacen <= kAnidamientoMaximo; }

    // No more lines: blocks and breaks become spaces from here on.
    bool agotado() const { return lineas_ <= 0; }

    // A real list with its items, or a real row with its cells, all taken.
    bool lleno(int posicion) const {
        const int i = indiceReal(posicion);
        const int maximo = pila_[static_cast<std::size_t>(posicion)].elemento == kTr
                               ? kCeldasPorFila
                               : kItemsMaximos;
        return agotado() || (i >= 0 && items_[static_cast<std::size_t>(i)] >= maximo);
    }

    // A real table or list that can take no more is closed where it is and
    // the rest of it goes on as flattened text after it.
    void aplanar(int posicion) {
        const int e = pila_[static_cast<std::size_t>(posicion)].elemento;
        sacarDesde(posicion);
        meter(e, false, {});
    }

    // Where the real element at `posicion` is among the real ones (at most
    // kAnidamientoMaximo: a search is cheap).
    int indiceReal(int posicion) const {
        for (int i = static_cast<int>(reales_.size()) - 1; i >= 0; --i)
            if (reales_[static_cast<std::size_t>(i)] == posicion)
                return i;
        return -1;
    }

    // The real element `niveles` inside the real one at `posicion`, or -1.
    int hijoReal(int posicion, int niveles) const {
        const int i = indiceReal(posicion);
        if (i < 0 || i + niveles >= static_cast<int>(reales_.size()))
            return -1;
        return reales_[static_cast<std::size_t>(i + niveles)];
    }

    int cercano(std::initializer_list<int> elementos) const {
        int r = -1;
        for (const int e : elementos)
            if (!posiciones_[static_cast<std::size_t>(e)].empty())
                r = std::max(r, posiciones_[static_cast<std::size_t>(e)].back());
        return r;
    }

    int arribaReal() const {
        return reales_.empty() ? -1 : pila_[static_cast<std::size_t>(reales_.back())].elemento;
    }

    bool contextoSinTexto() const {
        const int a = arribaReal();
        return a == kTable || a == kTr || a == kUl || a == kOl;
    }

    // Text, pictures and inline elements need a cell or an item when a real
    // table, row or list is the innermost: they were opened with room for it.
    void asegurarTexto() {
        if (reales_.empty())
            return;
        const int arriba = reales_.back();
        const int fila = arribaReal() == kTr ? arriba : -1;
        if ((fila >= 0 && lleno(fila)) ||
            (agotado() && (arribaReal() == kTable || arribaReal() == kUl || arribaReal() == kOl)))
            aplanar(arribaReal() == kTr ? reales_[reales_.size() - 2] : arriba);
        else if ((arribaReal() == kUl || arribaReal() == kOl) && lleno(arriba))
            aplanar(arriba);
        const int a = arribaReal();
        if (a == kTable)
            meter(kTr, true, {});
        if (a == kTable || a == kTr)
            meter(kTd, true, {});
        else if (a == kUl || a == kOl)
            meter(kLi, true, {});
    }

    void separar(bool enLinea) {
        if (!hayTexto_)
            return;
        if (enLinea || agotado()) {
            salida_ += ' ';
        } else {
            salida_ += "<br />";
            --lineas_;
        }
        hayTexto_ = false;
    }

    void cerrarParrafo() {
        const int p = cercano({kP});
        if (p > cercano({kTd, kTh, kTable, kLi, kDiv, kBlockquote, kUl, kOl}))
            sacarDesde(p);
    }

    void meter(int e, bool real, const std::string& atributos) {
        const auto pos = static_cast<int>(pila_.size());
        pila_.push_back({static_cast<std::uint8_t>(e), real,
                         real ? puntosDe(e, atributos, puntos()) : puntos()});
        posiciones_[static_cast<std::size_t>(e)].push_back(pos);
        if (real) {
            reales_.push_back(pos);
            ++profundidad_;
            salida_ += "<" + std::string(elemento(e).nombre) + atributos + ">";
            if (esBloque(e)) {
                hayTexto_ = false;
                --lineas_;
            }
            const auto i = reales_.size() - 1;
            if (elemento(e).clase == Clase::Lista || e == kTr)
                items_[i] = 0;
            else if ((e == kLi || elemento(e).clase == Clase::Celda) && i > 0)
                ++items_[i - 1];
        } else if (esBloque(e)) {
            separar(elemento(e).clase == Clase::Celda);
        }
    }

    void sacarDesde(int desde) {
        while (static_cast<int>(pila_.size()) > desde) {
            const Abierto a = pila_.back();
            pila_.pop_back();
            posiciones_[a.elemento].pop_back();
            if (a.real) {
                reales_.pop_back();
                --profundidad_;
                salida_ += "</" + std::string(elemento(a.elemento).nombre) + ">";
                if (esBloque(a.elemento))
                    hayTexto_ = false;
            } else if (esBloque(a.elemento)) {
                separar(elemento(a.elemento).clase == Clase::Celda);
            }
        }
    }

    float puntos() const {
        return reales_.empty() ? base_ : pila_[static_cast<std::size_t>(reales_.back())].puntos;
    }

    // The size of the letters inside element `e` with these (checked)
    // attributes, inside letters of `heredado` points.
    static float puntosDe(int e, std::string_view atributos, float heredado) {
        float r = heredado;
        if (e >= 0) {
            const std::string_view n = elemento(e).nombre;
            if (n == "h1")
                r = 24;
            else if (n == "h2")
                r = 18;
            else if (n == "h3")
                r = 14;
            else if (n == "big")
                r = heredado * 1.2f;
        }
        if (const auto k = atributos.find(" size=\""); k != std::string_view::npos) {
            constexpr std::array<float, 8> kTamanos{8, 8, 10, 12, 14, 18, 24, 36};
            const std::string_view v = atributos.substr(k + 7);
            const bool relativo = v.starts_with('+') || v.starts_with('-');
            const int d = std::atoi(std::string(v.substr(0, v.find('"'))).c_str());
            r = kTamanos[static_cast<std::size_t>(std::clamp(relativo ? 3 + d : d, 1, 7))];
        }
        if (const auto k = atributos.find("font-size:"); k != std::string_view::npos) {
            const std::string v(atributos.substr(k + 10, atributos.find(';', k) - k - 10));
            const float numero = std::strtof(v.c_str(), nullptr);
            if (numero > 0)
                r = v.ends_with("px") ? numero * 0.75f : numero;
            else if (v.find("large") != std::string::npos)
                r = v.starts_with("xx") ? 24 : v.starts_with('x') ? 18 : 14;
        }
        return r;
    }

    std::string& salida_;
    float base_ = 12;
    std::vector<Abierto> pila_;
    std::vector<int> reales_;
    std::array<std::vector<int>, kElementos.size()> posiciones_;
    int profundidad_ = 0;
    bool hayTexto_ = false; // text since the last block boundary
    int lineas_ = kLineasMaximas;
    std::array<int, kAnidamientoMaximo> items_{}; // of each real list, by its depth
};

constexpr std::string_view kReglaBlancos = "p, li { white-space: pre-wrap; }";
constexpr std::string_view kReglaRaya = "hr { height: 1px; border-width: 0; }";

std::string sanearHtml(std::string_view s, bool& cortado) {
    std::string cuerpo;
    cuerpo.reserve(s.size() + s.size() / 8);
    Arbol arbol(cuerpo);
    std::string estiloCuerpo;
    bool vistoCuerpo = false;
    bool qrichtext = false;
    bool reglaBlancos = false;
    bool reglaRaya = false;

    std::string trozo; // text between two tags, already escaped
    bool trozoVisible = false;
    int corrida = 0; // characters since the last blank or break opportunity
    double caracteres = 0;
    int imagenes = 0;
    const auto contar = [&](char32_t cp) {
        caracteres += arbol.peso();
        cortado = cortado || caracteres > static_cast<double>(kCaracteresMaximos);
        if (cp < 0x80 && esBlanco(static_cast<char>(cp))) {
            corrida = 0;
            return;
        }
        trozoVisible = true;
        if (++corrida >= kCorridaMaxima) {
            trozo += kEspacioNulo;
            corrida = 0;
        }
    };
    const auto volcar = [&] {
        if (!trozo.empty())
            arbol.texto(trozo, trozoVisible);
        trozo.clear();
        trozoVisible = false;
    };

    std::size_t i = 0;
    while (i < s.size() && !cortado) {
        const char c = s[i];
        if (c == '<' && i + 1 < s.size()) {
            const char d = s[i + 1];
            if (esLetra(d) || (d == '/' && i + 2 < s.size() && esLetra(s[i + 2]))) {
                Etiqueta t;
                bool completa = false;
                const std::size_t tras = leerEtiqueta(s, i, t, completa);
                i = tras;
                if (!completa)
                    break;
                volcar();
                const bool cerrada = s[tras - 2] == '/'; // <x/>: nothing inside
                if (!t.cierre && !cerrada && entre(kSinContenido, t.nombre)) {
                    const std::size_t fin = saltarContenido(s, i, t.nombre);
                    if (t.nombre == "style") {
                        const std::string_view css = s.substr(i, fin - i);
                        reglaBlancos = reglaBlancos || css.find(kReglaBlancos) != css.npos;
                        reglaRaya = reglaRaya || css.find(kReglaRaya) != css.npos;
                    }
                    i = fin;
                    continue;
                }
                if (t.nombre == "meta" && !t.cierre) {
                    bool nombre = false, uno = false;
                    for (const auto& [n, v] : t.atributos) {
                        nombre = nombre || (n == "name" && decodificar(v) == "qrichtext");
                        uno = uno || (n == "content" && decodificar(v) == "1");
                    }
                    qrichtext = qrichtext || (nombre && uno);
                    continue;
                }
                if (t.nombre == "body") {
                    if (!t.cierre && !vistoCuerpo)
                        for (const auto& [n, v] : t.atributos)
                            if (n == "style")
                                estiloCuerpo = estilo(decodificar(v));
                    arbol.letraBase(estiloCuerpo);
                    vistoCuerpo = vistoCuerpo || !t.cierre;
                    continue;
                }
                const int e = indiceDe(t.nombre);
                if (e < 0) {
                    if (entre(kBloquesAjenos, t.nombre))
                        arbol.separacion();
                    continue;
                }
                if (t.cierre) {
                    arbol.fin(e);
                    continue;
                }
                std::string atributos;
                bool conImagen = false;
                const Elemento& el = elemento(e);
                for (const auto& [n, v] : t.atributos) {
                    if (el.atributos.find(" " + n + " ") == std::string_view::npos)
                        continue;
                    if (atributos.find(" " + n + "=") != std::string::npos)
                        continue; // the first of a repeated attribute counts
                    const std::string valor = valorAtributo(n, decodificar(v));
                    if (valor.empty())
                        continue;
                    conImagen = conImagen || n == "src";
                    atributos += " " + n + "=\"" + escaparAtributo(valor) + "\"";
                }
                if (e == kImg && (!conImagen || ++imagenes > kImagenesMaximas))
                    continue; // nothing the file itself holds, or too many
                if (e == kBr || elemento(e).clase != Clase::EnLinea)
                    corrida = 0;
                arbol.inicio(e, atributos);
                continue;
            }
            if (d == '!' || d == '?' || d == '/') {
                volcar();
                if (s.substr(i, 4) == "<!--") {
                    const std::size_t fin = s.find("-->", i + 4);
                    i = fin == std::string_view::npos ? s.size() : fin + 3;
                } else {
                    const std::size_t fin = s.find('>', i);
                    i = fin == std::string_view::npos ? s.size() : fin + 1;
                }
                continue;
            }
        }
        if (c == '&') {
            const Referencia ref = leerReferencia(s, i);
            if (ref.codigo != 0) {
                anadirEscapado(trozo, ref.codigo, false);
                contar(ref.codigo);
                i = ref.fin;
                continue;
            }
            if (!ref.nombre.empty()) {
                trozo += "&" + std::string(ref.nombre) + ";";
                contar('x');
                i = ref.fin;
                continue;
            }
        }
        const char32_t cp = leerUtf8(s, i);
        anadirEscapado(trozo, cp, false);
        contar(cp);
    }
    volcar();
    arbol.terminar();

    std::string r = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\" "
                    "\"http://www.w3.org/TR/REC-html40/strict.dtd\">\n<html><head>";
    if (qrichtext)
        r += "<meta name=\"qrichtext\" content=\"1\" />";
    r += "<meta charset=\"utf-8\" />";
    if (reglaBlancos || reglaRaya) {
        r += "<style type=\"text/css\">\n";
        if (reglaBlancos)
            r += std::string(kReglaBlancos) + "\n";
        if (reglaRaya)
            r += std::string(kReglaRaya) + "\n";
        r += "</style>";
    }
    r += "</head><body";
    if (!estiloCuerpo.empty())
        r += " style=\"" + escaparAtributo(estiloCuerpo) + "\"";
    r += ">\n";
    r += cuerpo;
    r += "</body></html>";
    return r;
}

// Plain text keeps every character; only lines beyond kLineasMaximas join
// the one before, and runs with no blank get break opportunities.
std::string sanearLlano(std::string_view s, bool& cortado) {
    std::string r;
    r.reserve(s.size() + s.size() / kCorridaMaxima * 3);
    int lineas = 0;
    int corrida = 0; // bytes: a character of several only brings the break sooner
    std::size_t caracteres = 0;
    for (std::size_t k = 0; k < s.size(); ++k) {
        const char c = s[k];
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80 && ++caracteres > kCaracteresMaximos) {
            cortado = true;
            break;
        }
        r += (c == '\n' && ++lineas > kLineasMaximas) ? ' ' : c;
        corrida = esBlanco(c) ? 0 : corrida + 1;
        const bool finCaracter =
            k + 1 == s.size() || (static_cast<unsigned char>(s[k + 1]) & 0xC0) != 0x80;
        if (corrida >= kCorridaMaxima && finCaracter) {
            r += kEspacioNulo;
            corrida = 0;
        }
    }
    return r;
}

// The first `maximo` bytes of a UTF-8 text, not cutting a character.
std::string_view principio(std::string_view s, std::size_t maximo) {
    if (s.size() <= maximo)
        return s;
    std::size_t corte = maximo;
    while (corte > 0 && (static_cast<unsigned char>(s[corte]) & 0xC0) == 0x80)
        --corte;
    return s.substr(0, corte);
}

} // namespace

bool pareceHtml(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && esBlanco(s[i]))
        ++i;
    if (empiezaSinCaso(s, i, "<?xml")) {
        const std::size_t fin = s.find("?>", i);
        i = fin == std::string_view::npos ? s.size() : fin + 2;
        while (i < s.size() && esBlanco(s[i]))
            ++i;
    }
    if (empiezaSinCaso(s, i, "<!doc"))
        return true;
    std::size_t abre = i;
    while (abre < s.size() && s[abre] != '<' && s[abre] != '\n') {
        if (s[abre] == '&' && s.substr(abre + 1, 3) == "lt;")
            return true;
        ++abre;
    }
    if (abre >= s.size() || s[abre] != '<')
        return false;
    const std::size_t cierra = s.find('>', abre);
    if (cierra == std::string_view::npos)
        return false;
    std::string nombre;
    for (std::size_t k = abre + 1; k < cierra; ++k) {
        const char c = s[k];
        if (esLetra(c) || esCifra(c)) {
            nombre += minuscula(c);
            if (nombre.size() > 16)
                return false;
        } else if (!nombre.empty() && (esBlanco(c) || (c == '/' && k + 1 == cierra))) {
            break;
        } else if (!esBlanco(c) && (!nombre.empty() || c != '!')) {
            return false;
        }
    }
    return entre(kNombresHtml, nombre);
}

EnunciadoSeguro sanearEnunciado(std::string_view enunciado) {
    EnunciadoSeguro r;
    r.bytesOriginales = enunciado.size();
    const std::string_view leido = principio(enunciado, kEnunciadoMaximo);
    r.html = pareceHtml(leido);
    r.texto = r.html ? sanearHtml(leido, r.cortado) : sanearLlano(leido, r.cortado);
    r.cortado = r.cortado || leido.size() < enunciado.size();
    return r;
}

std::string avisoEnunciadoRecortado(std::size_t bytesOriginales) {
    char mb[32];
    std::snprintf(mb, sizeof mb, "%.1f", static_cast<double>(bytesOriginales) / (1024.0 * 1024.0));
    std::string tam = mb;
    std::replace(tam.begin(), tam.end(), '.', ',');
    return "El enunciado es demasiado largo (ocupa " + tam + " MB): solo se toma su principio.";
}

} // namespace kalnor
