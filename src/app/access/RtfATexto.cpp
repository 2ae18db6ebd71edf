#include "RtfATexto.h"

#include "TextoJet.h"
#include "app/Utf8.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <vector>

namespace kalnor::access {

namespace {

constexpr std::size_t kProfundidadMaxima = 512; // deeper groups are skipped whole

enum class Destino { Texto, Fuentes, Colores, Ignorado };
enum class Alineacion { Izquierda, Centro, Derecha, Justificada };

struct Formato {
    bool negrita = false;
    bool cursiva = false;
    bool subrayado = false;
    bool tachado = false;
    int fuente = -1;
    int medioPuntos = 24; // RTF's default size, 12 pt
    int color = 0;        // 0: automatic
    bool operator==(const Formato&) const = default;
};

struct Grupo {
    Formato formato;
    Destino destino = Destino::Texto;
    int saltoUnicode = 1; // characters of fallback after \uN
};

struct Tramo {
    Formato formato;
    std::string texto;
};

struct Parrafo {
    Alineacion alineacion = Alineacion::Izquierda;
    std::vector<Tramo> tramos;
};

struct Color {
    int rojo = 0, verde = 0, azul = 0;
};

// ASCII only: RTF's control words do not depend on the C locale.
bool esLetra(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool esCifra(char c) {
    return c >= '0' && c <= '9';
}

std::string escaparHtml(std::string_view s) {
    std::string r;
    r.reserve(s.size());
    for (const char c : s) {
        switch (c) {
        case '&':
            r += "&amp;";
            break;
        case '<':
            r += "&lt;";
            break;
        case '>':
            r += "&gt;";
            break;
        case '"':
            r += "&quot;";
            break;
        case '\n':
            r += "<br />";
            break;
        default:
            r += c;
        }
    }
    return r;
}

class Conversor {
public:
    explicit Conversor(std::string_view rtf) : rtf_(rtf) {}

    std::string convertir() {
        grupos_.push_back({});
        while (pos_ < rtf_.size()) {
            const char c = rtf_[pos_];
            if (c == '{') {
                ++pos_;
                abrirGrupo();
            } else if (c == '}') {
                ++pos_;
                cerrarGrupo();
            } else if (c == '\\') {
                ++pos_;
                control();
            } else {
                ++pos_;
                if (c != '\r' && c != '\n')
                    caracter(c);
            }
        }
        terminarParrafo(false);
        return html();
    }

private:
    Grupo& grupo() { return grupos_.back(); }
    Formato& formato() { return grupos_.back().formato; }
    bool enTexto() const { return grupos_.back().destino == Destino::Texto; }

    void abrirGrupo() {
        Grupo nuevo = grupos_.back();
        if (grupos_.size() >= kProfundidadMaxima)
            nuevo.destino = Destino::Ignorado;
        grupos_.push_back(nuevo);
        inicioGrupo_ = true;
    }

    void cerrarGrupo() {
        volcarUnicode();
        if (grupos_.back().destino == Destino::Fuentes)
            cerrarFuente();
        if (grupos_.size() > 1)
            grupos_.pop_back();
        saltar_ = 0;
        inicioGrupo_ = false;
    }

    // A control word, symbol or \'hh after the backslash.
    void control() {
        if (pos_ >= rtf_.size())
            return;
        const char c = rtf_[pos_];
        const bool inicio = inicioGrupo_;
        inicioGrupo_ = false;
        if (c == '\'') {
            ++pos_;
            int valor = 0;
            for (int i = 0; i < 2 && pos_ < rtf_.size(); ++i, ++pos_) {
                const char h = rtf_[pos_];
                const int d = (h >= '0' && h <= '9')   ? h - '0'
                              : (h >= 'a' && h <= 'f') ? h - 'a' + 10
                              : (h >= 'A' && h <= 'F') ? h - 'A' + 10
                                                       : -1;
                if (d < 0)
                    break;
                valor = valor * 16 + d;
            }
            if (!consumirSalto())
                codigo(desdeWindows1252(static_cast<std::uint8_t>(valor)));
            return;
        }
        if (!esLetra(c)) {
            ++pos_;
            simbolo(c, inicio);
            return;
        }
        const std::size_t a = pos_;
        while (pos_ < rtf_.size() && esLetra(rtf_[pos_]))
            ++pos_;
        const std::string_view palabra = rtf_.substr(a, std::min<std::size_t>(pos_ - a, 32));
        std::optional<int> parametro;
        const std::size_t b = pos_;
        if (pos_ < rtf_.size() && rtf_[pos_] == '-')
            ++pos_;
        while (pos_ < rtf_.size() && esCifra(rtf_[pos_]))
            ++pos_;
        if (pos_ > b && !(pos_ == b + 1 && rtf_[b] == '-')) {
            long long v = 0;
            const std::string_view cifras = rtf_.substr(b, std::min<std::size_t>(pos_ - b, 11));
            std::from_chars(cifras.data(), cifras.data() + cifras.size(), v);
            parametro = static_cast<int>(std::clamp<long long>(v, -2147483647LL, 2147483647LL));
        } else {
            pos_ = b;
        }
        if (pos_ < rtf_.size() && rtf_[pos_] == ' ')
            ++pos_; // the delimiter belongs to the word
        palabraControl(palabra, parametro, inicio);
    }

    void simbolo(char c, bool inicio) {
        switch (c) {
        case '\\':
        case '{':
        case '}':
            caracter(c);
            break;
        case '~':
            codigo(0x00A0);
            break;
        case '_':
            codigo(0x2011);
            break;
        case '*':
            if (inicio)
                grupo().destino = Destino::Ignorado; // an optional destination we do not know
            break;
        case '\r':
        case '\n':
            if (enTexto())
                terminarParrafo(true);
            break;
        case '\t':
            caracter('\t');
            break;
        default:
            break; // \- optional hyphen, \: index entries ...
        }
    }

    void palabraControl(std::string_view p, std::optional<int> n, bool inicio) {
        if (p != "u")
            volcarUnicode(); // pending characters keep the format they were written in
        const int valor = n.value_or(1);
        Formato& f = formato();
        // Destinations.
        if (p == "fonttbl") {
            grupo().destino = Destino::Fuentes;
            return;
        }
        if (p == "colortbl") {
            grupo().destino = Destino::Colores;
            return;
        }
        static constexpr std::string_view kIgnorados[] = {
            "stylesheet", "info",         "pict",       "header",
            "headerl",    "headerr",      "headerf",    "footer",
            "footerl",    "footerr",      "footerf",    "footnote",
            "object",     "fldinst",      "listtable",  "listoverridetable",
            "revtbl",     "rsidtbl",      "generator",  "xmlnstbl",
            "themedata",  "latentstyles", "datastore",  "colorschememapping",
            "filetbl",    "pgdsctbl",     "nonshppict", "mmathPr",
            "bkmkstart",  "bkmkend",      "author",     "title",
            "company"};
        if (std::find(std::begin(kIgnorados), std::end(kIgnorados), p) != std::end(kIgnorados)) {
            grupo().destino = Destino::Ignorado;
            return;
        }
        (void)inicio;
        if (p == "ansicpg" || p == "deff") {
            if (p == "deff")
                fuentePredeterminada_ = valor;
            return;
        }
        if (p == "uc") {
            grupo().saltoUnicode = std::clamp(valor, 0, 8);
            return;
        }
        if (p == "u") {
            unidadUnicode(static_cast<char16_t>(static_cast<std::uint16_t>(valor)));
            saltar_ = grupo().saltoUnicode;
            return;
        }
        if (grupo().destino == Destino::Fuentes) {
            if (p == "f")
                fuenteActual_ = valor;
            return;
        }
        if (grupo().destino == Destino::Colores) {
            if (p == "red")
                colorActual_.rojo = std::clamp(valor, 0, 255);
            else if (p == "green")
                colorActual_.verde = std::clamp(valor, 0, 255);
            else if (p == "blue")
                colorActual_.azul = std::clamp(valor, 0, 255);
            return;
        }
        if (grupo().destino == Destino::Ignorado)
            return;

        if (p == "par") {
            terminarParrafo(true);
        } else if (p == "line") {
            caracter('\n');
        } else if (p == "tab") {
            caracter('\t');
        } else if (p == "pard") {
            alineacion_ = Alineacion::Izquierda;
        } else if (p == "ql") {
            alineacion_ = Alineacion::Izquierda;
        } else if (p == "qc") {
            alineacion_ = Alineacion::Centro;
        } else if (p == "qr") {
            alineacion_ = Alineacion::Derecha;
        } else if (p == "qj") {
            alineacion_ = Alineacion::Justificada;
        } else if (p == "plain") {
            f = Formato{};
        } else if (p == "b") {
            f.negrita = valor != 0;
        } else if (p == "i") {
            f.cursiva = valor != 0;
        } else if (p == "ul" || p == "uld" || p == "uldb" || p == "uldash" || p == "ulw" ||
                   p == "ulth" || p == "ulwave") {
            f.subrayado = valor != 0;
        } else if (p == "ulnone") {
            f.subrayado = false;
        } else if (p == "strike") {
            f.tachado = valor != 0;
        } else if (p == "f") {
            f.fuente = valor;
        } else if (p == "fs") {
            f.medioPuntos = std::clamp(n.value_or(24), 1, 3276);
        } else if (p == "cf") {
            f.color = std::max(valor, 0);
        } else if (p == "emdash") {
            codigo(0x2014);
        } else if (p == "endash") {
            codigo(0x2013);
        } else if (p == "lquote") {
            codigo(0x2018);
        } else if (p == "rquote") {
            codigo(0x2019);
        } else if (p == "ldblquote") {
            codigo(0x201C);
        } else if (p == "rdblquote") {
            codigo(0x201D);
        } else if (p == "bullet") {
            codigo(0x2022);
        } else if (p == "emspace" || p == "enspace" || p == "qmspace") {
            codigo(' ');
        }
    }

    // Fallback characters after \uN are dropped.
    bool consumirSalto() {
        if (saltar_ > 0) {
            --saltar_;
            return true;
        }
        return false;
    }

    void caracter(char c) {
        if (consumirSalto())
            return;
        volcarUnicode();
        switch (grupo().destino) {
        case Destino::Texto:
            anadirTexto(std::string(1, c));
            break;
        case Destino::Fuentes:
            if (c == ';')
                cerrarFuente();
            else
                nombreFuente_ += c;
            break;
        case Destino::Colores:
            if (c == ';') {
                colores_.push_back(colorActual_);
                colorActual_ = {};
            }
            break;
        case Destino::Ignorado:
            break;
        }
    }

    void codigo(char32_t c) {
        volcarUnicode();
        std::string s;
        anadirCodigo(s, c);
        if (grupo().destino == Destino::Texto)
            anadirTexto(s);
        else if (grupo().destino == Destino::Fuentes)
            nombreFuente_ += s;
    }

    // \uN may come in surrogate pairs: keep units until the next other content.
    void unidadUnicode(char16_t u) {
        if (grupo().destino == Destino::Texto || grupo().destino == Destino::Fuentes)
            unicode_.push_back(u);
    }

    void volcarUnicode() {
        if (unicode_.empty())
            return;
        std::string s;
        anadirUtf16(s, unicode_);
        unicode_.clear();
        if (grupo().destino == Destino::Fuentes)
            nombreFuente_ += s;
        else
            anadirTexto(s);
    }

    void cerrarFuente() {
        std::string nombre = nombreFuente_;
        while (!nombre.empty() && (nombre.back() == ' ' || nombre.back() == ';'))
            nombre.pop_back();
        const auto inicio = nombre.find_first_not_of(' ');
        if (fuenteActual_ >= 0 && inicio != std::string::npos)
            fuentes_[fuenteActual_] = nombre.substr(inicio);
        nombreFuente_.clear();
    }

    void anadirTexto(const std::string& s) {
        Formato f = formato();
        if (f.fuente < 0)
            f.fuente = fuentePredeterminada_;
        auto& tramos = actual_.tramos;
        if (tramos.empty() || !(tramos.back().formato == f))
            tramos.push_back({f, {}});
        tramos.back().texto += s;
    }

    void terminarParrafo(bool explicito) {
        volcarUnicode();
        actual_.alineacion = alineacion_;
        if (explicito || !actual_.tramos.empty())
            parrafos_.push_back(std::move(actual_));
        actual_ = {};
    }

    std::string estilo(const Formato& f) const {
        std::string s;
        if (const auto it = fuentes_.find(f.fuente); it != fuentes_.end()) {
            std::string nombre;
            for (const char c : it->second)
                if (c != '\'' && c != '"' && c != '<' && c != '>' && c != '&')
                    nombre += c;
            s += "font-family:'" + nombre + "'; ";
        }
        s += "font-size:" + std::to_string(f.medioPuntos / 2) + (f.medioPuntos % 2 ? ".5" : "") +
             "pt;";
        if (f.negrita)
            s += " font-weight:700;";
        if (f.cursiva)
            s += " font-style:italic;";
        if (f.subrayado || f.tachado)
            s += std::string(" text-decoration:") + (f.subrayado ? " underline" : "") +
                 (f.tachado ? " line-through" : "") + ";";
        if (f.color > 0 && static_cast<std::size_t>(f.color) < colores_.size()) {
            const Color& c = colores_[f.color];
            char hex[8];
            std::snprintf(hex, sizeof hex, "#%02x%02x%02x", c.rojo, c.verde, c.azul);
            s += std::string(" color:") + hex + ";";
        }
        return s;
    }

    std::string html() const {
        std::string r = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\" "
                        "\"http://www.w3.org/TR/REC-html40/strict.dtd\">\n"
                        "<html><head><meta name=\"qrichtext\" content=\"1\" />"
                        "<meta charset=\"utf-8\" /><style type=\"text/css\">\n"
                        "p, li { white-space: pre-wrap; }\n</style></head><body>\n";
        for (const Parrafo& p : parrafos_) {
            r += "<p";
            switch (p.alineacion) {
            case Alineacion::Centro:
                r += " align=\"center\"";
                break;
            case Alineacion::Derecha:
                r += " align=\"right\"";
                break;
            case Alineacion::Justificada:
                r += " align=\"justify\"";
                break;
            case Alineacion::Izquierda:
                break;
            }
            r += " style=\"";
            if (p.tramos.empty())
                r += "-qt-paragraph-type:empty; ";
            r += "margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; "
                 "-qt-block-indent:0; text-indent:0px; white-space:pre-wrap;\">";
            if (p.tramos.empty())
                r += "<br />";
            for (const Tramo& t : p.tramos)
                r +=
                    "<span style=\"" + estilo(t.formato) + "\">" + escaparHtml(t.texto) + "</span>";
            r += "</p>\n";
        }
        return r + "</body></html>";
    }

    std::string_view rtf_;
    std::size_t pos_ = 0;
    std::vector<Grupo> grupos_;
    bool inicioGrupo_ = false;
    int saltar_ = 0;
    std::u16string unicode_;

    std::map<int, std::string> fuentes_;
    int fuenteActual_ = -1;
    std::string nombreFuente_;
    int fuentePredeterminada_ = 0;
    std::vector<Color> colores_;
    Color colorActual_;

    Alineacion alineacion_ = Alineacion::Izquierda;
    Parrafo actual_;
    std::vector<Parrafo> parrafos_;
};

} // namespace

bool esRtf(std::string_view texto) {
    if (texto.starts_with("\xEF\xBB\xBF"))
        texto.remove_prefix(3);
    const auto inicio = texto.find_first_not_of(" \t\r\n");
    return inicio != std::string_view::npos && texto.substr(inicio).starts_with("{\\rtf");
}

std::string rtfAHtml(std::string_view rtf) {
    return Conversor(rtf).convertir();
}

std::string enunciadoDesdeAccess(std::string_view texto) {
    return esRtf(texto) ? rtfAHtml(texto) : std::string(texto);
}

} // namespace kalnor::access
