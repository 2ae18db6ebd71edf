#include "PasoAPaso.h"

#include "FormatoResultado.h"

#include <cmath>

namespace kalnor {

using stats::CuantilTraza;
using stats::ErrorCode;
using stats::Magnitud;
using stats::SumaTraza;
using stats::TerminoTraza;
using stats::TipoSuma;
using stats::Traza;

namespace {

QLocale sinGrupos(const QLocale& locale) {
    QLocale l = locale;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l;
}

// numeroPaso with the separators already set.
QString numero(double v, const QLocale& sinGrupos) {
    if (v == 0.0)
        return QStringLiteral("0");
    if (std::abs(v) < 1e15 && v == std::trunc(v))
        return sinGrupos.toString(static_cast<qlonglong>(v));
    return sinGrupos.toString(v, 'g', 8);
}

} // namespace

QString numeroPaso(double v, const QLocale& locale) {
    return numero(v, sinGrupos(locale));
}

namespace {

QString superindice(int r) {
    static const QString kCifras = QStringLiteral("⁰¹²³⁴⁵⁶⁷⁸⁹");
    QString s;
    for (const QChar c : QString::number(r))
        s += c == '-' ? QStringLiteral("⁻") : QString(kCifras[c.digitValue()]);
    return s;
}

// An exponent as written after a base: none for 1.
QString exponente(int r) {
    return r == 1 ? QString() : superindice(r);
}

// A measure of two variables (the active type then says nothing of X).
bool bivariante(Medida m) {
    switch (m) {
    case Medida::Correlacion:
    case Medida::Covarianza:
    case Medida::RegresionX:
    case Medida::RegresionY:
    case Medida::RectaYsobreX:
    case Medida::RectaXsobreY:
    case Medida::MomentoOrigenBi:
    case Medida::MomentoCentralBi:
        return true;
    default:
        return false;
    }
}

// How the centre of a sum is named.
enum class Centro { Origen, Media, Mediana };

class Redactor {
public:
    Redactor(const DatosPaso& d, const QLocale& locale) : d_(d), loc_(sinGrupos(locale)) {}

    QStringList lineas;

    QString n(double v) const { return numero(v, loc_); }
    // A number that goes into a product or a power: negatives in brackets.
    QString f(double v) const { return v < 0 ? '(' + n(v) + ')' : n(v); }
    void add(const QString& s) { lineas << s; }

    const Traza* t() const { return d_.traza; }
    bool fallido() const { return d_.resultado == QLatin1String("?"); }

    // The variable's letters in a sum: x or y.
    static QString letra(bool deY) { return deY ? QStringLiteral("y") : QStringLiteral("x"); }
    static QString media(bool deY) { return deY ? QStringLiteral("ȳ") : QStringLiteral("x̄"); }

    QString nombreSuma(const SumaTraza& s, Centro c) const {
        const QString x = letra(s.deY) + QStringLiteral("ᵢ");
        const QString centro = c == Centro::Mediana ? QStringLiteral("Me") : media(s.deY);
        switch (s.tipo) {
        case TipoSuma::Valores:
            return "Σ" + x + "·nᵢ";
        case TipoSuma::Inversas:
            return "Σnᵢ/" + x;
        case TipoSuma::Logaritmos:
            return "Σ ln " + x + "·nᵢ";
        case TipoSuma::Cuadrados:
            return "Σ" + x + "²·nᵢ";
        case TipoSuma::Potencias:
            if (c == Centro::Origen)
                return "Σ" + x + superindice(s.r) + "·nᵢ";
            return "Σ(" + x + " − " + centro + ')' + superindice(s.r) + "·nᵢ";
        case TipoSuma::Absolutas:
            return "Σ|" + x + " − " + centro + "|·nᵢ";
        case TipoSuma::PotenciasPar:
            if (c == Centro::Origen)
                return "Σxᵢ" + exponente(s.r) + "·yᵢ" + exponente(s.s) + "·nᵢ";
            return "Σ(xᵢ − x̄)" + exponente(s.r) + "·(yᵢ − ȳ)" + exponente(s.s) + "·nᵢ";
        }
        return {};
    }

    QString termino(const SumaTraza& s, const TerminoTraza& t, Centro c) const {
        const QString m = "·" + n(t.n);
        switch (s.tipo) {
        case TipoSuma::Valores:
            return f(t.x) + m;
        case TipoSuma::Inversas:
            return n(t.n) + '/' + f(t.x);
        case TipoSuma::Logaritmos:
            return "ln " + f(t.x) + m;
        case TipoSuma::Cuadrados:
            return f(t.x) + "²" + m;
        case TipoSuma::Potencias:
            if (c == Centro::Origen)
                return f(t.x) + superindice(s.r) + m;
            return '(' + n(t.x) + " − " + f(s.cx) + ')' + superindice(s.r) + m;
        case TipoSuma::Absolutas:
            return '|' + n(t.x) + " − " + f(s.cx) + '|' + m;
        case TipoSuma::PotenciasPar:
            if (c == Centro::Origen)
                return f(t.x) + exponente(s.r) + "·" + f(t.y) + exponente(s.s) + m;
            return '(' + n(t.x) + " − " + f(s.cx) + ')' + exponente(s.r) + "·(" + n(t.y) + " − " +
                   f(s.cy) + ')' + exponente(s.s) + m;
        }
        return {};
    }

    // "Σxᵢ·nᵢ = 1·3 + 2·5 + … + 9·1 = 186".
    void suma(const SumaTraza& s, Centro c) {
        // Grouped data: the sums run over the class marks.
        if (!marcasMostradas_ && d_.tipo == stats::VariableType::Continuous &&
            !bivariante(d_.medida))
            add(QStringLiteral("%1ᵢ = (Lᵢ + Lᵢ₊₁)/2, la marca de clase de cada fila")
                    .arg(letra(s.deY)));
        marcasMostradas_ = true;
        QStringList terminos;
        for (const TerminoTraza& t : s.primeros)
            terminos << termino(s, t, c);
        if (!s.ultimos.empty())
            terminos << QStringLiteral("…");
        for (const TerminoTraza& t : s.ultimos)
            terminos << termino(s, t, c);
        QString linea = nombreSuma(s, c) + " = ";
        if (!terminos.isEmpty())
            linea += terminos.join(QStringLiteral(" + ")) + " = ";
        add(linea + n(s.valor));
    }

    const SumaTraza* buscar(TipoSuma tipo, bool deY, int r = -1) const {
        if (!t())
            return nullptr;
        for (const SumaTraza& s : t()->sumas)
            if (s.tipo == tipo && s.deY == deY && (r < 0 || s.r == r))
                return &s;
        return nullptr;
    }
    std::optional<double> valor(Magnitud que, bool deY = false) const {
        if (!t())
            return std::nullopt;
        const auto* v = t()->valor(que, deY);
        return v ? std::optional<double>(v->valor) : std::nullopt;
    }

    // N, once per working.
    void lineaN() {
        if (t() && t()->N && !nMostrado_)
            add("N = " + n(static_cast<double>(*t()->N)));
        nMostrado_ = true;
    }

    // The sum of the values, N and the mean.
    void pasosMedia(bool deY = false) {
        if (const SumaTraza* s = buscar(TipoSuma::Valores, deY)) {
            suma(*s, Centro::Media);
            lineaN();
            if (const auto m = valor(Magnitud::Media, deY))
                add(media(deY) + " = " + nombreSuma(*s, Centro::Media) + " / N = " + n(s->valor) +
                    " / " + n(static_cast<double>(t()->N.value_or(0))) + " = " + n(*m));
        }
    }

    QString sigma(bool deY, bool bivariante) const {
        return bivariante ? (deY ? QStringLiteral("σy") : QStringLiteral("σx"))
                          : QStringLiteral("σ");
    }

    // The mean, the sum of squares about it, the variance and σ.
    void pasosVarianza(bool deY = false, bool bivariante = false, bool conSigma = true) {
        pasosMedia(deY);
        const SumaTraza* s = buscar(TipoSuma::Potencias, deY, 2);
        if (!s)
            return;
        suma(*s, Centro::Media);
        const auto v = valor(Magnitud::Varianza, deY);
        if (!v)
            return;
        const QString sg = sigma(deY, bivariante);
        add(sg + "² = " + nombreSuma(*s, Centro::Media) + " / N = " + n(s->valor) + " / " +
            n(static_cast<double>(t()->N.value_or(0))) + " = " + n(*v));
        if (conSigma)
            if (const auto de = valor(Magnitud::DesviacionTipica, deY))
                add(sg + " = √" + sg + "² = √" + n(*v) + " = " + n(*de));
    }

    // The place of a quantile and the value taken there.
    void pasosCuantil(const CuantilTraza& c, const QString& sim) {
        const double pos = static_cast<double>(c.k) * static_cast<double>(c.N) / c.q;
        add(QStringLiteral("k·N/q = %1·%2/%3 = %4")
                .arg(c.k)
                .arg(n(static_cast<double>(c.N)))
                .arg(c.q)
                .arg(n(pos)));
        add(QStringLiteral("Nᵢ alcanza o pasa %1 en la fila %2: Nᵢ₋₁ = %3, nᵢ = %4, Nᵢ = %5")
                .arg(n(pos))
                .arg(c.fila)
                .arg(n(static_cast<double>(c.anterior)))
                .arg(n(c.n))
                .arg(n(static_cast<double>(c.acumulada))));
        if (c.frontera) {
            add(c.clases ? QStringLiteral("Nᵢ = k·N/q exactamente: se toma el punto medio de las "
                                          "marcas de clase de las filas %1 y %2")
                               .arg(c.fila)
                               .arg(c.fila + 1)
                         : QStringLiteral("Nᵢ = k·N/q exactamente: se toma el punto medio de xᵢ "
                                          "y xᵢ₊₁ (filas %1 y %2)")
                               .arg(c.fila)
                               .arg(c.fila + 1));
            add(sim + " = (" + n(c.primero) + " + " + n(c.segundo) + ") / 2");
        } else if (c.clases) {
            add(QStringLiteral("Clase [Lᵢ, Lᵢ₊₁) = [%1, %2), aᵢ = %3")
                    .arg(n(c.inferior), n(c.superior), n(c.superior - c.inferior)));
            add(sim + " = Lᵢ + ((k·N/q − Nᵢ₋₁)/nᵢ)·aᵢ = " + n(c.inferior) + " + ((" + n(pos) +
                " − " + n(static_cast<double>(c.anterior)) + ")/" + n(c.n) + ")·" +
                n(c.superior - c.inferior));
        } else {
            add(QStringLiteral("Nᵢ pasa k·N/q: %1 es el valor de la fila %2, xᵢ = %3")
                    .arg(sim)
                    .arg(c.fila)
                    .arg(n(c.primero)));
        }
    }

    void pasosMediana(const Traza* traza) {
        if (traza && !traza->cuantiles.empty()) {
            pasosCuantil(traza->cuantiles.front(), QStringLiteral("Me"));
            if (const auto me = valor(Magnitud::Mediana))
                add("Me = " + n(*me));
        }
    }

    void pasosModa() {
        if (!t() || !t()->moda)
            return;
        const stats::ModaTraza& m = *t()->moda;
        if (m.multimodal) {
            add(QStringLiteral("La mayor frecuencia, nᵢ = %1, la tienen %2 filas")
                    .arg(n(m.n))
                    .arg(m.iguales));
            return;
        }
        if (!m.clases) {
            add(QStringLiteral("La mayor frecuencia es nᵢ = %1, en la fila %2")
                    .arg(n(m.n))
                    .arg(m.fila));
            return;
        }
        add(QStringLiteral("Clase modal: fila %1, [Lᵢ, Lᵢ₊₁) = [%2, %3), nᵢ = %4")
                .arg(m.fila)
                .arg(n(m.inferior), n(m.superior), n(m.n)));
        add(QStringLiteral("Δ₁ = nᵢ − nᵢ₋₁ = %1 − %2 = %3")
                .arg(n(m.n), n(static_cast<double>(m.antes)), n(static_cast<double>(m.delta1))));
        add(QStringLiteral("Δ₂ = nᵢ − nᵢ₊₁ = %1 − %2 = %3")
                .arg(n(m.n), n(static_cast<double>(m.despues)), n(static_cast<double>(m.delta2))));
        const double a = m.superior - m.inferior;
        add(QStringLiteral("aᵢ = Lᵢ₊₁ − Lᵢ = %1 − %2 = %3")
                .arg(n(m.superior), n(m.inferior), n(a)));
        add(QStringLiteral("Mo = %1 + %2/(%2 + %3)·%4")
                .arg(n(m.inferior), n(static_cast<double>(m.delta1)),
                     n(static_cast<double>(m.delta2)), n(a)));
    }

    // Why the press shows no number, in plain words.
    QString explicacion(const QString& medida) const {
        if (d_.sinDatos)
            return "La tabla no tiene datos: " + d_.fallo;
        const QString motivo = d_.fallo.isEmpty() ? QString() : " (" + d_.fallo + ')';
        if (t() && t()->fallo) {
            const stats::FalloTraza& fa = *t()->fallo;
            const QString fila = QString::number(fa.fila);
            if (fa.enSuma == TipoSuma::Inversas && fa.codigo == ErrorCode::DivisionByZero)
                return medida + " no existe: el valor xᵢ = " + n(fa.valor.value_or(0)) +
                       " de la fila " + fila + " hace infinita la suma Σnᵢ/xᵢ";
            if (fa.enSuma == TipoSuma::Logaritmos && fa.codigo == ErrorCode::InvalidArgument)
                return medida + " no existe: el valor xᵢ = " + n(fa.valor.value_or(0)) +
                       " de la fila " + fila + " no tiene logaritmo (ln xᵢ pide xᵢ > 0)";
            if (fa.codigo == ErrorCode::TypeMismatch)
                return "El valor de la fila " + fila + " no es un número" + motivo;
            if (fa.codigo == ErrorCode::InvalidUseOfNull)
                return "La fila " + fila + " no tiene valor" + motivo;
        }
        if (t() && t()->N && *t()->N == 0)
            return "No hay observaciones: N = 0" + motivo;
        if (d_.medida == Medida::CuasiVarianza && t() && t()->N && *t()->N == 1)
            return QStringLiteral("La cuasivarianza necesita al menos dos observaciones "
                                  "(N − 1 = 0)");
        if (d_.tipo == stats::VariableType::Categorical) {
            switch (d_.medida) {
            case Medida::Mediana:
            case Medida::DesviacionMediana:
            case Medida::CoefVariacionMediana:
                return QStringLiteral("Una variable categórica no tiene mediana");
            case Medida::Cuantil:
            case Medida::SemiIntercuartilico:
                return QStringLiteral("Una variable categórica no tiene cuantiles");
            case Medida::AsimetriaPearson:
                return QStringLiteral("Una variable categórica no tiene media ni moda numérica");
            default:
                return medida + " necesita valores numéricos y la variable es categórica" + motivo;
            }
        }
        if (d_.medida == Medida::AsimetriaPearson && t() && t()->moda && t()->moda->multimodal)
            return QStringLiteral("Hay varias modas (Multimodal): el coeficiente necesita una "
                                  "sola moda");
        return d_.fallo.isEmpty() ? QStringLiteral("No se puede calcular")
                                  : "No se puede calcular: " + d_.fallo;
    }

    const DatosPaso& d_;
    const QLocale loc_; // without group separators
    bool nMostrado_ = false;
    bool marcasMostradas_ = false;
};

double N(const Traza* t) {
    return t && t->N ? static_cast<double>(*t->N) : 0.0;
}

} // namespace

QStringList pasoAPaso(const DatosPaso& d, const QLocale& locale) {
    Redactor r(d, locale);
    const Traza* t = d.traza;
    QString sim;         // the symbol of the result
    QString medida;      // the measure's name in a sentence ("La media armónica")
    QString sustitucion; // the formula with its numbers
    const auto n = [&](double v) { return r.n(v); };
    const auto sumaDe = [&](TipoSuma tipo, bool deY = false, int k = -1) {
        return r.buscar(tipo, deY, k);
    };
    const auto val = [&](Magnitud m, bool deY = false) { return r.valor(m, deY); };

    switch (d.medida) {
    case Medida::TamanoMuestral:
        sim = "N";
        medida = "El tamaño muestral";
        r.add("N = Σnᵢ");
        break;
    case Medida::MediaAritmetica: {
        sim = "x̄";
        medida = "La media aritmética";
        r.add("x̄ = Σxᵢ·nᵢ / N");
        if (const SumaTraza* s = sumaDe(TipoSuma::Valores)) {
            r.suma(*s, Centro::Media);
            r.lineaN();
            sustitucion = "x̄ = " + n(s->valor) + " / " + n(N(t));
        }
        break;
    }
    case Medida::MediaArmonica: {
        sim = "H";
        medida = "La media armónica";
        r.add("H = N / Σnᵢ/xᵢ");
        if (const SumaTraza* s = sumaDe(TipoSuma::Inversas)) {
            r.suma(*s, Centro::Media);
            r.lineaN();
            sustitucion = "H = " + n(N(t)) + " / " + n(s->valor);
        }
        break;
    }
    case Medida::MediaGeometrica: {
        sim = "G";
        medida = "La media geométrica";
        r.add("G = exp(Σ ln xᵢ·nᵢ / N)");
        if (const SumaTraza* s = sumaDe(TipoSuma::Logaritmos)) {
            r.suma(*s, Centro::Media);
            r.lineaN();
            sustitucion = "G = exp(" + n(s->valor) + " / " + n(N(t)) + ")";
        }
        break;
    }
    case Medida::MediaCuadratica: {
        sim = "Q";
        medida = "La media cuadrática";
        r.add("Q = √(Σxᵢ²·nᵢ / N)");
        if (const SumaTraza* s = sumaDe(TipoSuma::Cuadrados)) {
            r.suma(*s, Centro::Media);
            r.lineaN();
            sustitucion = "Q = √(" + n(s->valor) + " / " + n(N(t)) + ")";
        }
        break;
    }
    case Medida::Recorrido:
        sim = "Re";
        medida = "El recorrido";
        r.add("Re = máx − mín");
        if (d.maximo && d.minimo) {
            r.add("máx = " + n(*d.maximo));
            r.add("mín = " + n(*d.minimo));
            sustitucion = "Re = " + n(*d.maximo) + " − " + r.f(*d.minimo);
        }
        break;
    case Medida::Maximo:
        sim = "máx";
        medida = "El máximo";
        r.add("máx = el mayor valor xᵢ de la tabla");
        break;
    case Medida::Minimo:
        sim = "mín";
        medida = "El mínimo";
        r.add("mín = el menor valor xᵢ de la tabla");
        break;
    case Medida::Varianza: {
        sim = "σ²";
        medida = "La varianza";
        r.add("σ² = Σ(xᵢ − x̄)²·nᵢ / N");
        r.pasosMedia();
        if (const SumaTraza* s = sumaDe(TipoSuma::Potencias, false, 2)) {
            r.suma(*s, Centro::Media);
            sustitucion = "σ² = " + n(s->valor) + " / " + n(N(t));
        }
        break;
    }
    case Medida::DesviacionTipica: {
        sim = "σ";
        medida = "La desviación típica";
        r.add("σ = √(Σ(xᵢ − x̄)²·nᵢ / N)");
        r.pasosMedia();
        if (const SumaTraza* s = sumaDe(TipoSuma::Potencias, false, 2)) {
            r.suma(*s, Centro::Media);
            sustitucion = "σ = √(" + n(s->valor) + " / " + n(N(t)) + ")";
        }
        break;
    }
    case Medida::CuasiVarianza: {
        sim = "S²";
        medida = "La cuasivarianza";
        r.add("S² = Σ(xᵢ − x̄)²·nᵢ / (N − 1)");
        r.pasosMedia();
        if (const SumaTraza* s = sumaDe(TipoSuma::Potencias, false, 2)) {
            r.suma(*s, Centro::Media);
            sustitucion = "S² = " + n(s->valor) + " / " + n(N(t) - 1);
        }
        break;
    }
    case Medida::DesviacionMedia: {
        sim = "Dx̄";
        medida = "La desviación media";
        r.add("Dx̄ = Σ|xᵢ − x̄|·nᵢ / N");
        r.pasosMedia();
        if (const SumaTraza* s = sumaDe(TipoSuma::Absolutas)) {
            r.suma(*s, Centro::Media);
            sustitucion = "Dx̄ = " + n(s->valor) + " / " + n(N(t));
        }
        break;
    }
    case Medida::DesviacionMediana: {
        sim = "DMe";
        medida = "La desviación mediana";
        r.add("DMe = Σ|xᵢ − Me|·nᵢ / N");
        r.pasosMediana(t);
        if (const SumaTraza* s = sumaDe(TipoSuma::Absolutas)) {
            r.suma(*s, Centro::Mediana);
            r.lineaN();
            sustitucion = "DMe = " + n(s->valor) + " / " + n(N(t));
        }
        break;
    }
    case Medida::AsimetriaPearson: {
        sim = "Ap";
        medida = "El coeficiente de asimetría de Pearson";
        r.add("Ap = (x̄ − Mo) / σ");
        r.pasosVarianza();
        r.pasosModa();
        const auto m = val(Magnitud::Media);
        const auto s = val(Magnitud::DesviacionTipica);
        const auto mo = val(Magnitud::Moda);
        if (mo && t && t->moda && t->moda->clases)
            r.add("Mo = " + n(*mo));
        if (m && s && mo)
            sustitucion = "Ap = (" + n(*m) + " − " + r.f(*mo) + ") / " + n(*s);
        break;
    }
    case Medida::AsimetriaFisher:
    case Medida::Curtosis: {
        // m₃ / σ³ and m₄ / σ⁴ − 3: the same working with another power.
        const bool fisher = d.medida == Medida::AsimetriaFisher;
        const int orden = fisher ? 3 : 4;
        const QString momento = fisher ? QStringLiteral("m₃") : QStringLiteral("m₄");
        const QString resto = fisher ? QString() : QStringLiteral(" − 3");
        sim = fisher ? QStringLiteral("g₁") : QStringLiteral("g₂");
        medida = fisher ? QStringLiteral("El coeficiente de asimetría de Fisher")
                        : QStringLiteral("El coeficiente de curtosis");
        r.add(sim + " = " + momento + " / σ" + superindice(orden) + resto + ",  " + momento +
              " = Σ(xᵢ − x̄)" + superindice(orden) + "·nᵢ / N");
        r.pasosVarianza();
        if (const SumaTraza* s = sumaDe(TipoSuma::Potencias, false, orden)) {
            r.suma(*s, Centro::Media);
            if (const auto m = val(Magnitud::Momento)) {
                r.add(momento + " = " + n(s->valor) + " / " + n(N(t)) + " = " + n(*m));
                if (const auto sg = val(Magnitud::DesviacionTipica))
                    sustitucion =
                        sim + " = " + n(*m) + " / " + r.f(*sg) + superindice(orden) + resto;
            }
        }
        break;
    }
    case Medida::CoefVariacionPearson: {
        sim = "CVp";
        medida = "El coeficiente de variación de Pearson";
        r.add("CVp = σ / |x̄|");
        r.pasosVarianza();
        const auto m = val(Magnitud::Media);
        const auto s = val(Magnitud::DesviacionTipica);
        if (m && s)
            sustitucion = "CVp = " + n(*s) + " / |" + n(*m) + '|';
        break;
    }
    case Medida::CoefVariacionMedia: {
        sim = "CVx̄";
        medida = "El coeficiente de variación media";
        r.add("CVx̄ = Dx̄ / |x̄|,  Dx̄ = Σ|xᵢ − x̄|·nᵢ / N");
        r.pasosMedia();
        const auto m = val(Magnitud::Media);
        if (const SumaTraza* s = sumaDe(TipoSuma::Absolutas); s && m) {
            r.suma(*s, Centro::Media);
            const double dm = s->valor / N(t);
            r.add("Dx̄ = " + n(s->valor) + " / " + n(N(t)) + " = " + n(dm));
            sustitucion = "CVx̄ = " + n(dm) + " / |" + n(*m) + '|';
        }
        break;
    }
    case Medida::CoefVariacionMediana: {
        sim = "CVMe";
        medida = "El coeficiente de variación mediana";
        r.add("CVMe = DMe / |Me|,  DMe = Σ|xᵢ − Me|·nᵢ / N");
        r.pasosMediana(t);
        const auto me = val(Magnitud::Mediana);
        if (const SumaTraza* s = sumaDe(TipoSuma::Absolutas); s && me) {
            r.suma(*s, Centro::Mediana);
            r.lineaN();
            const double dm = s->valor / N(t);
            r.add("DMe = " + n(s->valor) + " / " + n(N(t)) + " = " + n(dm));
            sustitucion = "CVMe = " + n(dm) + " / |" + n(*me) + '|';
        }
        break;
    }
    case Medida::SemiIntercuartilico: {
        sim = "Rsi";
        medida = "El recorrido semi-intercuartílico";
        r.add("Rsi = (Q₃ − Q₁) / 2");
        if (t && !t->cuantiles.empty()) {
            r.add("Q₁:");
            r.pasosCuantil(t->cuantiles.front(), "Q₁");
        }
        if (d.segunda && !d.segunda->cuantiles.empty()) {
            r.add("Q₃:");
            r.pasosCuantil(d.segunda->cuantiles.front(), "Q₃");
        }
        if (d.maximo && d.minimo)
            sustitucion = "Rsi = (" + n(*d.maximo) + " − " + r.f(*d.minimo) + ") / 2";
        break;
    }
    case Medida::Mediana:
        sim = "Me";
        medida = "La mediana";
        r.add(d.tipo == stats::VariableType::Continuous
                  ? QStringLiteral("Me: el valor que deja N/2 observaciones por debajo (k = 1, q "
                                   "= 2); por clases Lᵢ + ((N/2 − Nᵢ₋₁)/nᵢ)·aᵢ")
                  : QStringLiteral("Me: el valor que deja N/2 observaciones por debajo (k = 1, q "
                                   "= 2)"));
        if (t && !t->cuantiles.empty())
            r.pasosCuantil(t->cuantiles.front(), sim);
        break;
    case Medida::Cuantil:
        sim = d.simbolo;
        medida = "El cuantil";
        r.add(QStringLiteral("%1: el valor que deja k·N/q observaciones por debajo (k = %2, q = "
                             "%3)%4")
                  .arg(sim)
                  .arg(d.k)
                  .arg(d.q)
                  .arg(d.tipo == stats::VariableType::Continuous
                           ? QStringLiteral("; por clases Lᵢ + ((k·N/q − Nᵢ₋₁)/nᵢ)·aᵢ")
                           : QString()));
        if (t && !t->cuantiles.empty())
            r.pasosCuantil(t->cuantiles.front(), sim);
        break;
    case Medida::Moda:
        sim = "Mo";
        medida = "La moda";
        r.add(d.tipo == stats::VariableType::Continuous
                  ? QStringLiteral("Mo = Lᵢ + Δ₁/(Δ₁ + Δ₂)·aᵢ, en la clase de mayor frecuencia")
                  : QStringLiteral("Mo = el valor xᵢ de mayor frecuencia nᵢ"));
        r.pasosModa();
        if (t && t->moda && t->moda->multimodal && !r.fallido()) {
            r.add("Hay varias modas: " + d.resultado);
            return r.lineas;
        }
        break;
    case Medida::MomentoOrigen:
    case Medida::MomentoCentral: {
        const bool origen = d.medida == Medida::MomentoOrigen;
        sim = d.simbolo;
        medida = "El momento";
        r.add(sim + " = " +
              (origen ? "Σxᵢ" + superindice(d.r) + "·nᵢ / N"
                      : "Σ(xᵢ − x̄)" + superindice(d.r) + "·nᵢ / N"));
        if (!origen)
            r.pasosMedia();
        if (const SumaTraza* s = sumaDe(TipoSuma::Potencias, false, d.r)) {
            r.suma(*s, origen ? Centro::Origen : Centro::Media);
            if (origen)
                r.lineaN();
            sustitucion = sim + " = " + n(s->valor) + " / " + n(N(t));
        }
        break;
    }
    case Medida::Covarianza:
    case Medida::Correlacion:
    case Medida::RegresionX:
    case Medida::RegresionY:
    case Medida::RectaYsobreX:
    case Medida::RectaXsobreY: {
        const bool sobreY = d.medida == Medida::RegresionY || d.medida == Medida::RectaXsobreY;
        switch (d.medida) {
        case Medida::Covarianza:
            sim = "Sxy";
            medida = "La covarianza";
            r.add("Sxy = Σxᵢ·yᵢ·nᵢ / N − x̄·ȳ = Σ(xᵢ − x̄)·(yᵢ − ȳ)·nᵢ / N");
            break;
        case Medida::Correlacion:
            sim = "r";
            medida = "El coeficiente de correlación";
            r.add("r = Sxy / (σx·σy)");
            break;
        case Medida::RegresionX:
            sim = "b";
            medida = "El coeficiente de regresión";
            r.add("b = Sxy / σx²");
            break;
        case Medida::RegresionY:
            sim = "b'";
            medida = "El coeficiente de regresión";
            r.add("b' = Sxy / σy²");
            break;
        case Medida::RectaYsobreX:
            sim = "y";
            medida = "La recta de regresión";
            r.add("y = ȳ + (Sxy / σx²)·(x − x̄)");
            break;
        default:
            sim = "x";
            medida = "La recta de regresión";
            r.add("x = x̄ + (Sxy / σy²)·(y − ȳ)");
            break;
        }
        if (d.medida == Medida::Covarianza) {
            r.pasosMedia(false);
            r.pasosMedia(true);
        } else if (d.medida == Medida::Correlacion) {
            r.pasosVarianza(false, true);
            r.pasosVarianza(true, true);
        } else {
            r.pasosVarianza(sobreY, true, false);
            if (d.medida == Medida::RectaYsobreX || d.medida == Medida::RectaXsobreY)
                r.pasosMedia(!sobreY);
        }
        const SumaTraza* s = sumaDe(TipoSuma::PotenciasPar);
        const auto c = val(Magnitud::Covarianza);
        if (s && c) {
            r.suma(*s, Centro::Media);
            if (d.medida != Medida::Covarianza)
                r.add("Sxy = " + n(s->valor) + " / " + n(N(t)) + " = " + n(*c));
        }
        if (!c)
            break;
        if (d.medida == Medida::Covarianza) {
            sustitucion = "Sxy = " + n(s ? s->valor : 0) + " / " + n(N(t));
        } else if (d.medida == Medida::Correlacion) {
            const auto sx = val(Magnitud::DesviacionTipica, false);
            const auto sy = val(Magnitud::DesviacionTipica, true);
            if (sx && sy)
                sustitucion = "r = " + n(*c) + " / (" + n(*sx) + "·" + n(*sy) + ")";
        } else if (const auto v = val(Magnitud::Varianza, sobreY)) {
            const QString b = n(*c) + " / " + n(*v);
            if (d.medida == Medida::RegresionX || d.medida == Medida::RegresionY) {
                sustitucion = sim + " = " + b;
            } else {
                const auto mx = val(Magnitud::Media, sobreY);
                const auto my = val(Magnitud::Media, !sobreY);
                if (mx && my)
                    sustitucion = sim + " = " + n(*my) + " + (" + b + ")·(" + d.punto + " − " +
                                  r.f(*mx) + ')';
            }
        }
        break;
    }
    case Medida::MomentoOrigenBi:
    case Medida::MomentoCentralBi: {
        const bool origen = d.medida == Medida::MomentoOrigenBi;
        sim = d.simbolo;
        medida = "El momento";
        r.add(sim + " = " +
              (origen ? "Σxᵢ" + exponente(d.r) + "·yᵢ" + exponente(d.s) + "·nᵢ / N"
                      : "Σ(xᵢ − x̄)" + exponente(d.r) + "·(yᵢ − ȳ)" + exponente(d.s) + "·nᵢ / N"));
        if (!origen) {
            r.pasosMedia(false);
            r.pasosMedia(true);
        }
        if (const SumaTraza* s = sumaDe(TipoSuma::PotenciasPar)) {
            r.suma(*s, origen ? Centro::Origen : Centro::Media);
            if (origen)
                r.lineaN();
            sustitucion = sim + " = " + n(s->valor) + " / " + n(N(t));
        }
        break;
    }
    }

    if (r.fallido()) {
        r.add(r.explicacion(medida));
    } else if (!sustitucion.isEmpty()) {
        r.add(sustitucion);
    }
    r.add(sim + " = " + d.resultado);
    return r.lineas;
}

QStringList pasosGini(const stats::Concentracion& c, const QLocale& locale) {
    const auto n = [&](double v) { return numeroPaso(v, locale); };
    QStringList l;
    l << QStringLiteral("IG = Σ(pᵢ − qᵢ) / Σpᵢ, i = 1 … k − 1")
      << QStringLiteral("pᵢ = Nᵢ/N, qᵢ = Σⱼ≤ᵢ xⱼ·nⱼ / Σxⱼ·nⱼ (ordenado por xᵢ)");
    const auto fila = [&](const stats::PuntoLorenz& p) {
        l << QStringLiteral("fila %1: xᵢ = %2, nᵢ = %3, Nᵢ = %4, pᵢ = %5, qᵢ = %6")
                 .arg(p.fila)
                 .arg(n(p.valor), n(p.n), n(static_cast<double>(p.acumulada)), n(p.p), n(p.q));
    };
    constexpr std::size_t kExtremo = 3;
    const std::size_t k = c.puntos.size();
    for (std::size_t i = 0; i < k; ++i) {
        if (k > 2 * kExtremo && i == kExtremo) {
            l << QStringLiteral("…");
            i = k - kExtremo;
        }
        fila(c.puntos[i]);
    }
    l << "Σpᵢ = " + n(c.sumaP) << "Σ(pᵢ − qᵢ) = " + n(c.sumaDiferencias);
    if (c.sumaP != 0)
        l << "IG = " + n(c.sumaDiferencias) + " / " + n(c.sumaP);
    else
        l << QStringLiteral("Todas las observaciones en un valor: IG = 0");
    l << "IG = " + formatoResultado(c.indice, locale);
    return l;
}

} // namespace kalnor
