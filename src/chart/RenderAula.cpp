#include "RenderAula.h"

#include "EstiloGrafico.h"
#include "GraficoAula.h"
#include "Paletas.h"
#include "RectangulosGrafico.h"
#include "panel/FormatoResultado.h"

#include <QAreaSeries>
#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <map>

namespace kalnor {

namespace {

using estilo::letra;
using grafico::Punto;

struct Rango {
    double menor = 0;
    double mayor = 1;
    void incluir(double v) {
        menor = std::min(menor, v);
        mayor = std::max(mayor, v);
    }
};

QValueAxis* eje(const QString& titulo, double menor, double mayor) {
    auto* e = new QValueAxis;
    if (!(mayor > menor))
        mayor = menor + 1;
    const double p = estilo::pasoLibre(mayor - menor);
    e->setRange(menor, mayor);
    e->setTickType(QValueAxis::TicksDynamic);
    e->setTickAnchor(std::floor(menor / p) * p);
    e->setTickInterval(p);
    e->setLabelFormat(QStringLiteral("%.6g"));
    e->setTitleText(titulo);
    estilo::estiloEje(e);
    return e;
}

// The chart's series, its two axes, and the grid the list asked for.
class Lienzo {
public:
    Lienzo(QChart& chart, const GraficoAula& g) : chart_(chart), g_(g) {}

    void anadir(QAbstractSeries* serie, bool enLeyenda = false) {
        series_.push_back({serie, enLeyenda});
    }

    void ejes(const QString& tituloX, Rango x, const QString& tituloY, Rango y,
              bool ocultarY = false, Qt::Alignment leyenda = Qt::AlignBottom) {
        QValueAxis* abajo = eje(tituloX, x.menor, x.mayor);
        QValueAxis* izquierda = eje(tituloY, y.menor, y.mayor);
        abajo->setGridLineVisible((g_.rejilla & 2) != 0);
        izquierda->setGridLineVisible((g_.rejilla & 1) != 0);
        izquierda->setVisible(!ocultarY);
        chart_.addAxis(abajo, Qt::AlignBottom);
        chart_.addAxis(izquierda, Qt::AlignLeft);
        bool conLeyenda = false;
        for (const auto& [serie, enLeyenda] : series_) {
            chart_.addSeries(serie);
            serie->attachAxis(abajo);
            serie->attachAxis(izquierda);
            conLeyenda = conLeyenda || enLeyenda;
        }
        // Attaching a series fits the axes to its data: set the spans afterwards.
        abajo->setRange(x.menor, x.mayor);
        izquierda->setRange(y.menor, y.mayor);
        chart_.legend()->setVisible(conLeyenda);
        chart_.legend()->setAlignment(leyenda);
        for (const auto& [serie, enLeyenda] : series_)
            for (QLegendMarker* m : chart_.legend()->markers(serie))
                m->setVisible(enLeyenda);
    }

private:
    QChart& chart_;
    const GraficoAula& g_;
    std::vector<std::pair<QAbstractSeries*, bool>> series_;
};

QColor principal(const GraficoAula& g) {
    return paletas::principal(g.paleta);
}

QLineSeries* linea(const std::vector<Punto>& puntos, const QPen& pluma) {
    auto* s = new QLineSeries;
    for (const Punto& p : puntos)
        s->append(p.x, p.y);
    s->setPen(pluma);
    return s;
}

QScatterSeries* marcas(const std::vector<Punto>& puntos, double tamano, const QColor& relleno,
                       const QColor& borde,
                       QScatterSeries::MarkerShape forma = QScatterSeries::MarkerShapeCircle) {
    auto* s = new QScatterSeries;
    for (const Punto& p : puntos)
        s->append(p.x, p.y);
    s->setMarkerSize(tamano);
    s->setMarkerShape(forma);
    s->setColor(relleno);
    s->setBorderColor(borde);
    return s;
}

// Rectangles side by side traced as one outline: up, across and down again.
QAreaSeries* rectangulos(const std::vector<grafico::Rectangulo>& barras, const QColor& color) {
    auto* borde = new QLineSeries;
    for (const grafico::Rectangulo& r : barras)
        *borde << QPointF(r.izquierda, 0) << QPointF(r.izquierda, r.altura)
               << QPointF(r.derecha, r.altura) << QPointF(r.derecha, 0);
    auto* area = new QAreaSeries(borde);
    area->setColor(color);
    area->setBorderColor(paletas::borde(color));
    area->setPen(QPen(paletas::borde(color), 1.2));
    return area;
}

void histogramaYPoligono(QChart& chart, const GraficoAula& g) {
    Lienzo lienzo(chart, g);
    Rango x{+INFINITY, -INFINITY}, y{0, 0};
    if (g.histograma) {
        for (const grafico::Rectangulo& r : g.histograma->barras) {
            x.incluir(r.izquierda);
            x.incluir(r.derecha);
            y.incluir(r.altura);
        }
        lienzo.anadir(rectangulos(g.histograma->barras, principal(g)));
    }
    // Sticks a fifth of the closest spacing wide, painted as rectangles.
    double hueco = 1;
    QLineSeries* mapa = nullptr;
    if (!g.palos.empty()) {
        for (std::size_t i = 0; i < g.palos.size(); ++i) {
            x.incluir(g.palos[i].x);
            y.incluir(g.palos[i].y);
            if (i > 0)
                hueco = i == 1 ? g.palos[i].x - g.palos[i - 1].x
                               : std::min(hueco, g.palos[i].x - g.palos[i - 1].x);
        }
        if (!(hueco > 0))
            hueco = 1;
        mapa = new QLineSeries;
        lienzo.anadir(mapa);
        x.menor -= hueco / 2;
        x.mayor += hueco / 2;
    }
    if (!g.poligono.empty()) {
        const QColor c =
            g.histograma || !g.palos.empty() ? paletas::color(g.paleta, 3) : principal(g);
        for (const Punto& p : g.poligono) {
            x.incluir(p.x);
            y.incluir(p.y);
        }
        lienzo.anadir(linea(g.poligono, QPen(paletas::borde(c), 2.5)));
        lienzo.anadir(marcas(g.poligono, 8, c, paletas::borde(c)));
    }
    const double margen = (x.mayor - x.menor) * 0.03;
    x.menor -= margen;
    x.mayor += margen;
    y.mayor *= 1.1;
    lienzo.ejes(g.ejeX, x, g.ejeY, y);
    if (mapa) {
        QList<RectangulosGrafico::Rectangulo> palos;
        for (const Punto& p : g.palos)
            palos.append({QRectF(QPointF(p.x - hueco / 10, 0), QPointF(p.x + hueco / 10, p.y)),
                          principal(g)});
        new RectangulosGrafico(&chart, mapa, std::move(palos)); // the chart owns it
    }
}

void ojiva(QChart& chart, const GraficoAula& g, const QLocale& locale) {
    Lienzo lienzo(chart, g);
    const grafico::Ojiva& o = *g.ojiva;
    Rango x{+INFINITY, -INFINITY}, y{0, 0};
    for (const Punto& p : o.puntos) {
        x.incluir(p.x);
        y.incluir(p.y);
    }
    const double margen = (x.mayor - x.menor) * 0.03;
    x.menor -= margen;
    x.mayor += margen;
    y.mayor *= 1.08;
    const QColor c = principal(g);
    lienzo.anadir(linea(o.puntos, QPen(paletas::borde(c), 2.5)));
    if (!o.escalonada)
        lienzo.anadir(marcas(o.puntos, 8, c, paletas::borde(c)));
    if (g.opciones.cuartiles) {
        static const char* const kNombres[] = {"Q₁", "Me", "Q₃"};
        for (std::size_t k = 0; k < o.cuartiles.size() && k < 3; ++k) {
            const Punto& q = o.cuartiles[k];
            const QColor color = paletas::color(g.paleta, static_cast<int>(k) + 1);
            auto* guia = linea({{x.menor, q.y}, {q.x, q.y}, {q.x, 0}},
                               QPen(paletas::borde(color), 1.5, Qt::DashLine));
            guia->setName(QStringLiteral("%1 = %2").arg(QString::fromUtf8(kNombres[k]),
                                                        formatoResultado(q.x, locale)));
            guia->setColor(paletas::borde(color));
            lienzo.anadir(guia, true);
        }
    }
    lienzo.ejes(g.ejeX, x, g.ejeY, y);
}

void caja(QChart& chart, const GraficoAula& g, const QLocale& locale) {
    Lienzo lienzo(chart, g);
    const grafico::Caja& k = *g.caja;
    const QColor c = principal(g);
    const QColor tinta(0x20, 0x20, 0x20);
    Rango x{std::min(k.bigoteInferior, k.minimo), std::max(k.bigoteSuperior, k.maximo)};
    for (const double a : k.atipicos)
        x.incluir(a);
    const double margen = std::max((x.mayor - x.menor) * 0.06, 0.5);
    x.menor -= margen;
    x.mayor += margen;

    auto* arriba = new QLineSeries;
    *arriba << QPointF(k.q1, 0.66) << QPointF(k.q3, 0.66);
    auto* abajo = new QLineSeries;
    *abajo << QPointF(k.q1, 0.34) << QPointF(k.q3, 0.34);
    auto* cuerpo = new QAreaSeries(arriba, abajo);
    cuerpo->setColor(c.lighter(125));
    cuerpo->setPen(QPen(tinta, 1.5));
    cuerpo->setName(QStringLiteral("Q₁ = %1   Q₃ = %2")
                        .arg(formatoResultado(k.q1, locale), formatoResultado(k.q3, locale)));
    lienzo.anadir(cuerpo, true);
    auto* mediana = linea({{k.mediana, 0.34}, {k.mediana, 0.66}}, QPen(tinta, 3));
    mediana->setName(QStringLiteral("Me = %1").arg(formatoResultado(k.mediana, locale)));
    mediana->setColor(tinta);
    lienzo.anadir(mediana, true);
    const QPen fina(tinta, 1.5);
    auto* bigotes = linea({{k.bigoteInferior, 0.5}, {k.q1, 0.5}}, fina);
    bigotes->setName(QStringLiteral("Bigotes: %1 – %2")
                         .arg(formatoResultado(k.bigoteInferior, locale),
                              formatoResultado(k.bigoteSuperior, locale)));
    bigotes->setColor(tinta);
    lienzo.anadir(bigotes, true);
    lienzo.anadir(linea({{k.q3, 0.5}, {k.bigoteSuperior, 0.5}}, fina));
    lienzo.anadir(linea({{k.bigoteInferior, 0.42}, {k.bigoteInferior, 0.58}}, fina));
    lienzo.anadir(linea({{k.bigoteSuperior, 0.42}, {k.bigoteSuperior, 0.58}}, fina));
    if (!k.atipicos.empty()) {
        std::vector<Punto> fuera;
        for (const double a : k.atipicos)
            fuera.push_back({a, 0.5});
        auto* s = marcas(fuera, 9, Qt::white, paletas::color(g.paleta, 3));
        s->setName(QStringLiteral("Atípicos (%1)").arg(k.atipicos.size()));
        lienzo.anadir(s, true);
    }
    if (g.opciones.minimoMaximo) {
        auto* s = marcas({{k.minimo, 0.5}, {k.maximo, 0.5}}, 10, paletas::color(g.paleta, 2), tinta,
                         QScatterSeries::MarkerShapeTriangle);
        s->setName(
            QStringLiteral("Mín. = %1   Máx. = %2")
                .arg(formatoResultado(k.minimo, locale), formatoResultado(k.maximo, locale)));
        lienzo.anadir(s, true);
    }
    lienzo.ejes(g.ejeX, x, QString(), Rango{0, 1}, true);
}

void nube(QChart& chart, const GraficoAula& g, const QLocale& locale) {
    Lienzo lienzo(chart, g);
    const grafico::Nube& nb = *g.nube;
    Rango x{+INFINITY, -INFINITY}, y{+INFINITY, -INFINITY};
    std::int32_t mayorN = 1;
    for (const grafico::Nube::Par& p : nb.puntos) {
        x.incluir(p.x);
        y.incluir(p.y);
        mayorN = std::max(mayorN, p.n);
    }
    for (Rango* r : {&x, &y}) {
        const double margen = std::max((r->mayor - r->menor) * 0.08, 0.5);
        r->menor -= margen;
        r->mayor += margen;
    }
    // Areas proportional to nᵢ: the diameter grows with its square root, in
    // steps of two pixels so that points of similar weight share a series.
    std::map<int, std::vector<Punto>> porTamano;
    for (const grafico::Nube::Par& p : nb.puntos) {
        const double d = g.opciones.tamanoPorN ? 6 + 22 * std::sqrt(double(p.n) / mayorN) : 9;
        porTamano[2 * static_cast<int>(d / 2)].push_back({p.x, p.y});
    }
    const QColor c = principal(g);
    QColor relleno = c;
    relleno.setAlpha(170);
    bool primero = true;
    for (const auto& [tamano, puntos] : porTamano) {
        auto* s = marcas(puntos, tamano, relleno, paletas::borde(c));
        if (primero)
            s->setName(QStringLiteral("Puntos (xᵢ, yᵢ), área según nᵢ"));
        lienzo.anadir(s, primero);
        primero = false;
    }
    if (g.opciones.rectas && nb.pendienteYX && nb.ordenadaYX) {
        const double a = *nb.ordenadaYX, b = *nb.pendienteYX;
        auto* s = linea({{x.menor, a + b * x.menor}, {x.mayor, a + b * x.mayor}},
                        QPen(paletas::color(g.paleta, 3), 2));
        s->setName(QStringLiteral("Y sobre X:  y = %1 %2 %3·x")
                       .arg(formatoResultado(a, locale), b < 0 ? "−" : "+",
                            formatoResultado(std::abs(b), locale)));
        lienzo.anadir(s, true);
    }
    if (g.opciones.rectas && nb.pendienteXY && nb.ordenadaXY) {
        const double a = *nb.ordenadaXY, b = *nb.pendienteXY;
        auto* s = linea({{a + b * y.menor, y.menor}, {a + b * y.mayor, y.mayor}},
                        QPen(paletas::color(g.paleta, 2), 2, Qt::DashLine));
        s->setName(QStringLiteral("X sobre Y:  x = %1 %2 %3·y")
                       .arg(formatoResultado(a, locale), b < 0 ? "−" : "+",
                            formatoResultado(std::abs(b), locale)));
        lienzo.anadir(s, true);
    }
    if (g.opciones.centro) {
        auto* s =
            marcas({nb.centro}, 14, Qt::white, Qt::black, QScatterSeries::MarkerShapeRectangle);
        QString nombre =
            QStringLiteral("(x̄, ȳ) = (%1; %2)")
                .arg(formatoResultado(nb.centro.x, locale), formatoResultado(nb.centro.y, locale));
        if (nb.r)
            nombre += QStringLiteral("   r = %1").arg(formatoResultado(*nb.r, locale));
        s->setName(nombre);
        lienzo.anadir(s, true);
    }
    // The equations are long: a column of them beside the chart.
    lienzo.ejes(g.ejeX, x, g.ejeY, y, false, Qt::AlignRight);
}

// The curve from (0, 0) through (pᵢ, qᵢ) to (1, 1) under the line of equal
// shares; the gap between them is what the index measures.
void lorenz(QChart& chart, const GraficoAula& g, const QLocale& locale) {
    Lienzo lienzo(chart, g);
    const stats::Concentracion& c = *g.lorenz;
    std::vector<Punto> curva{{0, 0}};
    for (const stats::PuntoLorenz& p : c.puntos)
        curva.push_back({p.p, p.q});
    auto* igualdad = linea({{0, 0}, {1, 1}}, QPen(QColor(0x70, 0x70, 0x70), 1.5, Qt::DashLine));
    igualdad->setName(QStringLiteral("Reparto igual"));
    igualdad->setColor(QColor(0x70, 0x70, 0x70));
    lienzo.anadir(igualdad, true);
    // The area of concentration, between the diagonal and the curve.
    auto* arriba = new QLineSeries;
    auto* abajo = new QLineSeries;
    for (const Punto& p : curva) {
        *arriba << QPointF(p.x, p.x);
        *abajo << QPointF(p.x, p.y);
    }
    auto* area = new QAreaSeries(arriba, abajo);
    QColor relleno = paletas::color(g.paleta, 1);
    relleno.setAlpha(110);
    area->setColor(relleno);
    area->setPen(Qt::NoPen);
    area->setName(QStringLiteral("IG = %1").arg(formatoResultado(c.indice, locale)));
    lienzo.anadir(area, true);
    const QColor color = principal(g);
    auto* curvaSerie = linea(curva, QPen(paletas::borde(color), 2.5));
    curvaSerie->setName(QStringLiteral("Curva de Lorenz (pᵢ, qᵢ)"));
    curvaSerie->setColor(paletas::borde(color));
    lienzo.anadir(curvaSerie, true);
    if (curva.size() <= 200)
        lienzo.anadir(marcas(curva, 7, color, paletas::borde(color)));
    lienzo.ejes(g.ejeX, Rango{0, 1}, g.ejeY, Rango{0, 1});
}

} // namespace

std::unique_ptr<QChart> construirGraficoAula(const GraficoAula& g, const QLocale& locale) {
    auto chart = estilo::graficoVacio(locale);
    chart->setTitle(g.nota.isEmpty() ? g.titulo
                                     : g.titulo + QStringLiteral("<br><small>") + g.nota +
                                           QStringLiteral("</small>"));
    chart->legend()->setFont(letra(8));
    chart->legend()->setVisible(false);
    switch (g.tipo) {
    case TipoAula::Histograma:
    case TipoAula::Poligono:
    case TipoAula::HistogramaPoligono:
        histogramaYPoligono(*chart, g);
        break;
    case TipoAula::Ojiva:
        if (g.ojiva)
            ojiva(*chart, g, locale);
        break;
    case TipoAula::Caja:
        if (g.caja)
            caja(*chart, g, locale);
        break;
    case TipoAula::Nube:
        if (g.nube)
            nube(*chart, g, locale);
        break;
    case TipoAula::Lorenz:
        if (g.lorenz)
            lorenz(*chart, g, locale);
        break;
    }
    return chart;
}

QImage imagenAula(const GraficoAula& grafico, QSize tamano, const QLocale& locale) {
    return estilo::imagenDe(construirGraficoAula(grafico, locale), tamano);
}

} // namespace kalnor
