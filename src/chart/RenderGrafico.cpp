#include "RenderGrafico.h"

#include "ControlGrafico.h"
#include "EstiloGrafico.h"
#include "Paletas.h"
#include "RectangulosGrafico.h"
#include "ReduccionPuntos.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QHorizontalBarSeries>
#include <QHorizontalStackedBarSeries>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPieSeries>
#include <QPieSlice>
#include <QScatterSeries>
#include <QSet>
#include <QStackedBarSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace kalnor {

namespace {

using estilo::estiloEje;
using estilo::letra;
using estilo::paso;

// Beyond this many points labels, legends and single items would only pile up
// into an unreadable (and slow) mass: the chart is then drawn as one shape.
constexpr int kMaxDetalle = 120;
// Columns a many-point chart is reduced to: more than a screen's pixels, so the
// reduction never shows.
constexpr int kColumnas = 4096;
// Sectors and stacked shares below this part of the whole are joined (one
// degree of a pie).
constexpr double kParteMinima = 1.0 / 360.0;

struct Puntos {
    QStringList etiquetas;
    QList<double> valores;
    double maximo = 0;
    double total = 0;

    std::span<const double> todos() const {
        return {valores.constData(), static_cast<std::size_t>(valores.size())};
    }
};

Puntos leerPuntos(const ControlGrafico& g, const QLocale& locale) {
    Puntos p;
    const int n = g.NumPoints();
    p.etiquetas.reserve(n);
    p.valores.reserve(n);
    for (int i = 1; i <= n; ++i) {
        const double v = g.dato(1, i);
        p.valores << v;
        p.maximo = std::max(p.maximo, v);
        p.total += v;
        if (n <= kMaxDetalle)
            p.etiquetas << textoEtiqueta(g, i, locale);
    }
    return p;
}

// Category axes drop repeated names; repeated labels (the same X on several
// rows of a two-variable table, words with the same first letters) get
// invisible marks so that every point keeps its own.
QStringList unicas(const QStringList& etiquetas) {
    QStringList resultado;
    QSet<QString> vistas;
    resultado.reserve(etiquetas.size());
    for (QString e : etiquetas) {
        while (vistas.contains(e))
            e += QChar(0x200B);
        vistas.insert(e);
        resultado << e;
    }
    return resultado;
}

QValueAxis* ejeFrecuencias(const ControlGrafico& g, double maximo) {
    auto* eje = new QValueAxis;
    const double p = paso(maximo);
    // Room above the tallest bar for its label.
    eje->setRange(0, std::max(p, std::ceil(maximo * 1.08 / p) * p));
    eje->setTickType(QValueAxis::TicksDynamic);
    eje->setTickAnchor(0);
    eje->setTickInterval(p);
    eje->setLabelFormat(QStringLiteral("%.0f"));
    eje->setTitleText(g.LeftTitle);
    return eje;
}

// The bottom axis's grid lines are vertical, the left axis's horizontal.
void rejilla(QChart& chart, const ControlGrafico& g, QAbstractAxis* abajo,
             QAbstractAxis* izquierda) {
    estiloEje(abajo);
    estiloEje(izquierda);
    abajo->setGridLineVisible((g.GridStyle() & 2) != 0);
    izquierda->setGridLineVisible((g.GridStyle() & 1) != 0);
    chart.addAxis(abajo, Qt::AlignBottom);
    chart.addAxis(izquierda, Qt::AlignLeft);
}

void unir(QAbstractSeries* serie, QAbstractAxis* a, QAbstractAxis* b) {
    serie->attachAxis(a);
    serie->attachAxis(b);
}

QAbstractAxis* ejePuntos(const ControlGrafico& g, const Puntos& p, const QLocale& locale,
                         bool centrados) {
    // Points sit at 0 .. n-1, as a bar series places them.
    const int n = g.NumPoints();
    if (n <= kMaxDetalle) {
        auto* eje = new QBarCategoryAxis;
        eje->append(unicas(p.etiquetas));
        eje->setTitleText(g.BottomTitle);
        if (n > 16)
            eje->setLabelsAngle(-90);
        return eje;
    }
    // Rows numbered from 1 at round steps; row r sits at r - 1.
    auto* eje = new QCategoryAxis;
    const double margen = centrados ? 0.5 : 0.0;
    eje->setRange(-margen, n - 1 + margen);
    eje->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    const double salto = paso(n);
    eje->append(locale.toString(1), 0);
    for (double fila = salto; fila <= n; fila += salto)
        eje->append(locale.toString(static_cast<qlonglong>(fila)), fila - 1);
    eje->setTitleText(g.BottomTitle + QStringLiteral(" (fila)"));
    return eje;
}

// --- bars -------------------------------------------------------------------

QBarSet* conjunto(const ControlGrafico& g, const Puntos& p) {
    auto* set = new QBarSet(g.LeftTitle);
    set->append(p.valores);
    const QColor c = paletas::principal(g.Palette());
    set->setColor(c);
    set->setBorderColor(paletas::borde(c));
    return set;
}

void barrasSimples(QChart& chart, const ControlGrafico& g, const Puntos& p, const QLocale& locale,
                   bool horizontales) {
    QAbstractAxis* puntos = ejePuntos(g, p, locale, true);
    QValueAxis* frecuencias = ejeFrecuencias(g, p.maximo);
    QAbstractSeries* serie = nullptr;
    if (g.NumPoints() > kMaxDetalle) {
        // Only maps values to positions for the bars painted below.
        serie = new QLineSeries;
    } else {
        QAbstractBarSeries* barras =
            horizontales ? static_cast<QAbstractBarSeries*>(new QHorizontalBarSeries)
                         : static_cast<QAbstractBarSeries*>(new QBarSeries);
        barras->append(conjunto(g, p));
        // Bars of a frequency diagram stand apart.
        barras->setBarWidth(0.6);
        if (g.NumPoints() <= 24) {
            barras->setLabelsVisible(true);
            barras->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
            barras->setLabelsFormat(QStringLiteral("@value"));
        }
        serie = barras;
    }
    chart.addSeries(serie);
    if (horizontales) {
        rejilla(chart, g, frecuencias, puntos);
    } else {
        rejilla(chart, g, puntos, frecuencias);
    }
    const double tope = frecuencias->max();
    unir(serie, puntos, frecuencias);
    // Attaching a series fits the axes to its data: set the spans afterwards.
    frecuencias->setRange(0, tope);
    if (auto* valores = qobject_cast<QValueAxis*>(puntos))
        valores->setRange(-0.5, g.NumPoints() - 0.5);
    if (auto* conjuntoBarras = qobject_cast<QAbstractBarSeries*>(serie))
        for (QBarSet* s : conjuntoBarras->barSets())
            s->setLabelColor(Qt::black);
    if (g.NumPoints() > kMaxDetalle) {
        // Neighbouring bars touch at this density; the tallest of each column shows.
        QList<RectangulosGrafico::Rectangulo> barras;
        const QColor color = paletas::principal(g.Palette());
        for (const grafico::Columna& c : grafico::columnasDe(p.todos(), kColumnas)) {
            const double v = p.valores[c.indiceMaximo];
            const QRectF valores =
                horizontales ? QRectF(QPointF(0, c.desde - 0.5), QPointF(v, c.hasta + 0.5))
                             : QRectF(QPointF(c.desde - 0.5, 0), QPointF(c.hasta + 0.5, v));
            barras.append({valores, color});
        }
        new RectangulosGrafico(&chart, serie, std::move(barras)); // the chart owns it
    }
}

// A stacked chart of one data set: a single column split into the points'
// shares, the component bar of textbooks.
void barraCompuesta(QChart& chart, const ControlGrafico& g, const Puntos& p, bool horizontal) {
    const int n = g.NumPoints();
    auto* total = new QValueAxis;
    const double tope = std::max(1.0, p.total);
    const double salto = paso(tope);
    total->setRange(0, std::ceil(tope / salto) * salto);
    total->setTickType(QValueAxis::TicksDynamic);
    total->setTickAnchor(0);
    total->setTickInterval(salto);
    total->setLabelFormat(QStringLiteral("%.0f"));
    total->setTitleText(g.LeftTitle + QStringLiteral(" acumuladas"));
    auto* categoria = new QBarCategoryAxis;
    categoria->append(g.BottomTitle);

    QList<QAbstractSeries*> series;
    QList<RectangulosGrafico::Rectangulo> partes;
    if (n <= kMaxDetalle) {
        QAbstractBarSeries* pila =
            horizontal ? static_cast<QAbstractBarSeries*>(new QHorizontalStackedBarSeries)
                       : static_cast<QAbstractBarSeries*>(new QStackedBarSeries);
        for (int i = 0; i < n; ++i) {
            auto* parte = new QBarSet(p.etiquetas[i]);
            parte->append(p.valores[i]);
            const QColor c = paletas::color(g.Palette(), i);
            parte->setColor(c);
            parte->setBorderColor(paletas::borde(c));
            parte->setLabelColor(c.lightness() > 140 ? Qt::black : Qt::white);
            pila->append(parte);
        }
        pila->setBarWidth(0.45);
        if (n <= 24) {
            pila->setLabelsVisible(true);
            pila->setLabelsFormat(QStringLiteral("@value"));
        }
        series << pila;
    } else {
        // Painted as rectangles, shares thinner than a line joined.
        series << new QLineSeries; // maps values to positions only
        double acumulado = 0;
        int k = 0;
        for (const grafico::Tramo& t : grafico::tramosVisibles(p.todos(), kParteMinima)) {
            const double desde = acumulado, hasta = acumulado + t.suma;
            acumulado = hasta;
            const QRectF valores = horizontal
                                       ? QRectF(QPointF(desde, -0.225), QPointF(hasta, 0.225))
                                       : QRectF(QPointF(-0.225, desde), QPointF(0.225, hasta));
            partes.append({valores, paletas::color(g.Palette(), k++)});
        }
    }
    for (QAbstractSeries* s : series)
        chart.addSeries(s);
    if (horizontal)
        rejilla(chart, g, total, categoria);
    else
        rejilla(chart, g, categoria, total);
    const double maximo = total->max();
    for (QAbstractSeries* s : series)
        unir(s, categoria, total);
    total->setRange(0, maximo);
    if (!partes.isEmpty())
        new RectangulosGrafico(&chart, series.front(), std::move(partes)); // the chart owns it
    if (n <= kMaxDetalle) {
        chart.legend()->setVisible(true);
        chart.legend()->setAlignment(horizontal ? Qt::AlignBottom : Qt::AlignRight);
    }
}

// --- pie --------------------------------------------------------------------

void sectores(QChart& chart, const ControlGrafico& g, const Puntos& p, const QLocale& locale) {
    const int estilo = g.GraphStyle();
    const bool bn = estilo == 1;
    const int n = g.NumPoints();
    const bool detalle = n <= kMaxDetalle;
    auto* tarta = new QPieSeries;
    tarta->setPieSize(estilo == 2 ? 0.62 : 0.78);
    QList<QPieSlice*> porciones;
    if (detalle) {
        porciones.reserve(n);
        for (int i = 0; i < n; ++i)
            porciones << new QPieSlice(p.etiquetas[i], p.valores[i]);
    } else {
        // Sectors thinner than a line are joined: one slice per visible sector.
        for (const grafico::Tramo& t : grafico::tramosVisibles(p.todos(), kParteMinima))
            porciones << new QPieSlice(QString(), t.suma);
    }
    tarta->append(porciones);
    // The chart's theme colours a series as it is added: style it afterwards.
    chart.addSeries(tarta);
    for (int i = 0; i < porciones.size(); ++i) {
        QPieSlice* s = porciones[i];
        const QColor c = paletas::color(g.Palette(), i);
        if (bn) {
            s->setBrush(paletas::tramaBN(i));
            s->setPen(QPen(Qt::black, 1));
        } else if (estilo == 3) {
            // No outlines: the colours alone divide the sectors.
            s->setBrush(c);
            s->setPen(QPen(c, 1));
        } else if (estilo == 2) {
            s->setBrush(c);
            s->setPen(QPen(Qt::black, 1.5));
        } else {
            s->setBrush(c);
            s->setPen(QPen(Qt::white, 2));
        }
        if (!detalle) {
            // Outlines of hundreds of thin sectors would cover the sectors.
            if (!bn)
                s->setPen(QPen(c, 1));
            continue;
        }
        const QString pct =
            locale.toString(p.total > 0 ? 100.0 * p.valores[i] / p.total : 0.0, 'f', 1) +
            QStringLiteral(" %");
        // Sectors too narrow to hold a label leave it to the legend.
        const double parte = p.total > 0 ? p.valores[i] / p.total : 0.0;
        const bool cabe = parte >= (estilo == 3 ? 0.07 : 0.03);
        switch (estilo) {
        case 2:
            s->setLabel(QStringLiteral("%1: %2").arg(p.etiquetas[i], pct));
            s->setLabelPosition(QPieSlice::LabelOutside);
            s->setLabelArmLengthFactor(0.18);
            s->setLabelVisible(p.valores[i] > 0);
            break;
        case 3:
            s->setLabel(QStringLiteral("%1: %2").arg(p.etiquetas[i], pct));
            s->setLabelPosition(QPieSlice::LabelInsideHorizontal);
            s->setLabelColor(c.lightness() > 140 ? Qt::black : Qt::white);
            s->setLabelVisible(cabe);
            break;
        case 1:
            s->setLabelVisible(false);
            break;
        default:
            s->setLabel(pct);
            s->setLabelPosition(QPieSlice::LabelInsideNormal);
            s->setLabelColor(c.lightness() > 140 ? Qt::black : Qt::white);
            s->setLabelVisible(cabe);
            break;
        }
        s->setLabelFont(letra(8, estilo == 3));
    }
    // Default and black-and-white name the sectors in a legend.
    if (detalle && (estilo == 0 || estilo == 1)) {
        chart.legend()->setVisible(true);
        chart.legend()->setAlignment(Qt::AlignRight);
        const QList<QLegendMarker*> marcas = chart.legend()->markers(tarta);
        for (int i = 0; i < marcas.size() && i < n; ++i)
            marcas[i]->setLabel(QStringLiteral("%1 (%2)").arg(
                p.etiquetas[i], locale.toString(p.valores[i], 'f', 0)));
    }
}

// --- lines ------------------------------------------------------------------

QImage simbolo(bool cuadrado, const QColor& relleno, const QColor& borde) {
    QImage imagen(5, 5, QImage::Format_ARGB32_Premultiplied);
    imagen.fill(Qt::transparent);
    QPainter pintor(&imagen);
    pintor.setRenderHint(QPainter::Antialiasing);
    pintor.setPen(QPen(borde, 1));
    pintor.setBrush(relleno);
    if (cuadrado)
        pintor.drawRect(QRectF(0.5, 0.5, 4, 4));
    else
        pintor.drawEllipse(QRectF(0.5, 0.5, 4, 4));
    return imagen;
}

void lineas(QChart& chart, const ControlGrafico& g, const Puntos& p, const QLocale& locale) {
    const int estilo = g.GraphStyle();
    const bool simbolos = estilo == 1 || estilo == 3;
    const bool palos = estilo == 2 || estilo == 3;
    const int n = g.NumPoints();
    QAbstractAxis* puntos = ejePuntos(g, p, locale, true);
    QValueAxis* frecuencias = ejeFrecuencias(g, p.maximo);
    rejilla(chart, g, puntos, frecuencias);

    QList<QAbstractSeries*> series;
    if (palos) {
        auto* s = new QLineSeries;
        QList<QPointF> zigzag;
        if (n <= kMaxDetalle) {
            for (int i = 0; i < n; ++i)
                zigzag << QPointF(i, 0) << QPointF(i, p.valores[i]) << QPointF(i, 0);
        } else {
            // Sticks rise from zero: the tallest of each column covers the rest.
            for (const grafico::Columna& c : grafico::columnasDe(p.todos(), kColumnas)) {
                const double v = p.valores[c.indiceMaximo];
                zigzag << QPointF(c.indiceMaximo, 0) << QPointF(c.indiceMaximo, v)
                       << QPointF(c.indiceMaximo, 0);
            }
        }
        s->replace(zigzag);
        s->setPen(QPen(paletas::color(g.Palette(), 2), n > kMaxDetalle ? 1 : 4, Qt::SolidLine,
                       Qt::FlatCap));
        series << s;
    }
    auto* linea = new QLineSeries;
    QList<QPointF> trazo;
    if (n <= kMaxDetalle) {
        for (int i = 0; i < n; ++i)
            trazo << QPointF(i, p.valores[i]);
    } else {
        for (const int i : grafico::trazoReducido(p.todos(), kColumnas))
            trazo << QPointF(i, p.valores[i]);
    }
    linea->replace(trazo);
    const QColor c = paletas::principal(g.Palette());
    linea->setPen(QPen(paletas::borde(c), palos ? 1.5 : 2.5));
    series << linea;
    if (simbolos && n <= kMaxDetalle) {
        auto* marcas = new QScatterSeries;
        marcas->replace(trazo);
        marcas->setMarkerShape(palos ? QScatterSeries::MarkerShapeRectangle
                                     : QScatterSeries::MarkerShapeCircle);
        marcas->setMarkerSize(10);
        marcas->setColor(paletas::color(g.Palette(), 1));
        marcas->setBorderColor(paletas::borde(c));
        series << marcas;
    } else if (simbolos) {
        // Thousands of symbols: painted as one image each by an invisible line
        // instead of one scene item each, and those drawn over each other once.
        auto* marcas = new QLineSeries;
        QList<QPointF> visibles;
        for (const int i : grafico::simbolosVisibles(p.todos(), 1024, 512))
            visibles << QPointF(i, p.valores[i]);
        marcas->replace(visibles);
        marcas->setPen(Qt::NoPen);
        marcas->setLightMarker(simbolo(palos, paletas::color(g.Palette(), 1), paletas::borde(c)));
        series << marcas;
    }
    // Bar-category axes place point i at i, as the line series expect.
    auto* eje = new QValueAxis;
    eje->setVisible(false);
    chart.addAxis(eje, Qt::AlignBottom);
    const double tope = frecuencias->max();
    for (QAbstractSeries* s : series) {
        chart.addSeries(s);
        unir(s, qobject_cast<QBarCategoryAxis*>(puntos) ? eje : puntos, frecuencias);
    }
    // Attaching a series fits the axes to its data: set the spans afterwards.
    eje->setRange(-0.5, n - 0.5);
    if (auto* valores = qobject_cast<QValueAxis*>(puntos))
        valores->setRange(-0.5, n - 0.5);
    frecuencias->setRange(0, tope);
}

} // namespace

QString textoEtiqueta(const ControlGrafico& grafico, int punto, const QLocale& locale) {
    const EtiquetaGrafico& e = grafico.etiqueta(punto);
    if (const double* v = std::get_if<double>(&e))
        return locale.toString(*v, 'g', QLocale::FloatingPointShortest);
    if (const QString* t = std::get_if<QString>(&e))
        return *t;
    return {};
}

std::unique_ptr<QChart> construirGrafico(const ControlGrafico& grafico, const QLocale& locale) {
    auto chart = estilo::graficoVacio(locale);
    chart->legend()->setVisible(false);
    chart->legend()->setFont(letra(8));
    // A cleared chart is blank, title included.
    if (!grafico.dibujado() || grafico.NumPoints() == 0)
        return chart;
    chart->setTitle(grafico.GraphTitle);
    const Puntos p = leerPuntos(grafico, locale);
    switch (grafico.GraphType()) {
    case ControlGrafico::kSectores:
        sectores(*chart, grafico, p, locale);
        break;
    case ControlGrafico::kLineas:
        lineas(*chart, grafico, p, locale);
        break;
    default:
        if (grafico.GraphStyle() >= 2)
            barraCompuesta(*chart, grafico, p, grafico.GraphStyle() == 3);
        else
            barrasSimples(*chart, grafico, p, locale, grafico.GraphStyle() == 1);
        break;
    }
    return chart;
}

QImage imagenGrafico(const ControlGrafico& grafico, QSize tamano, const QLocale& locale) {
    return estilo::imagenDe(construirGrafico(grafico, locale), tamano);
}

} // namespace kalnor
