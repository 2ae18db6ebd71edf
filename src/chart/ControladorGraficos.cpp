#include "ControladorGraficos.h"
#include "DibujoGrafico.h"

#include "CalculadoraEscritorio.h"
#include "ErrorGrafico.h"
#include "app/DbError.h"
#include "app/Documento.h"
#include "stats/ErrorRecord.h"
#include "stats/Kinds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>
#include <exception>

namespace kalnor {

namespace {

constexpr std::array<BotonGrafico, 4> kBotones{{
    {"botonBARRAS",
     " Barras ",
     ControlGrafico::kBarras,
     {"Por Defecto", "Barra Horiz.", "Pila Vert.", "Pila Horiz."}},
    {"botonSECTORES",
     " Sectores ",
     ControlGrafico::kSectores,
     {"Por Defecto", "BN sin lineas", "CO con lineas", "CO sin lineas"}},
    {"botonLINEAS",
     " Lineas ",
     ControlGrafico::kLineas,
     {"Por Defecto", "Simbolo", "Sticks", "Simbolo+Sticks"}},
    {"botonCALGEN", " Calculadora Genérica ", 0, {}},
}};

constexpr std::array<BotonAula, 7> kBotonesAula{{
    {"botonHISTOGRAMA", " Histograma ", " Histograma: rectángulos sobre las clases ",
     TipoAula::Histograma},
    {"botonPOLIGONO", " Polígono ", " Polígono de frecuencias ", TipoAula::Poligono},
    {"botonHISTPOL", " Hist.+Polígono ", " Histograma y polígono de frecuencias ",
     TipoAula::HistogramaPoligono},
    {"botonOJIVA", " Ojiva ", " Ojiva: polígono de frecuencias acumuladas ", TipoAula::Ojiva},
    {"botonNUBE", " Nube ", " Nube de puntos y rectas de regresión ", TipoAula::Nube},
    {"botonCAJA", " Caja ", " Diagrama de caja ", TipoAula::Caja},
    {"botonLORENZ", " Lorenz ", " Curva de Lorenz e índice de Gini ", TipoAula::Lorenz},
}};

const QStringList kPaletas{QStringLiteral("Color"), QStringLiteral("Pastel"),
                           QStringLiteral("Grises")};
const QStringList kRejillas{QStringLiteral("Ninguna"), QStringLiteral("Horizontal"),
                            QStringLiteral("Vertical"), QStringLiteral("Hor.+Vert.")};

constexpr int kLongitudEtiqueta = 3;

// First `n` characters of a text, counting characters rather than UTF-16
// units so that no letter is cut in half.
QString primeros(const QString& texto, int n) {
    int fin = 0;
    for (int contados = 0; fin < texto.size() && contados < n; ++contados)
        fin += texto[fin].isHighSurrogate() && fin + 1 < texto.size() ? 2 : 1;
    return texto.left(fin);
}

} // namespace

ControladorGraficos::ControladorGraficos(Documento& documento, Rutas rutas, QObject* parent)
    : QObject(parent), doc_(documento), rutas_(std::move(rutas)) {
    connect(&doc_, &Documento::abierto, this, [this] {
        // An open clears the chart and the lists until the next chart button.
        aula_.reset();
        ejecutar([this] { graph1_.setDrawMode(ControlGrafico::kBorrar); });
        Comenzar();
    });
}

ControladorGraficos::~ControladorGraficos() = default;

std::span<const BotonGrafico> ControladorGraficos::botones() {
    return kBotones;
}

std::span<const BotonAula> ControladorGraficos::botonesAula() {
    return kBotonesAula;
}

void ControladorGraficos::Comenzar() {
    estado_ = EstadoGraficos{};
    emit cambiado();
}

void ControladorGraficos::BorrarCboGraf() {
    estado_.cboESTILO.clear();
    estado_.cboPALETA = kPaletas;
    estado_.cboREJILLA = kRejillas;
    estado_.seleccion = {-1, -1, -1};
    emit cambiado();
}

EtiquetaGrafico ControladorGraficos::etiquetaDe(const stats::CellValue& valor) {
    if (const double* numero = valor.numberIf())
        return *numero;
    if (!valor.isText())
        return {}; // an empty cell has no label
    const QString texto = QString::fromStdString(valor.asText());
    if (stats::parseNumber(valor.asText()))
        return texto;
    return primeros(texto, kLongitudEtiqueta);
}

void ControladorGraficos::PintarGrafico(const stats::ValueList& Etiquetas,
                                        const stats::FrequencyList& Datos) {
    graph1_.setDataReset(ControlGrafico::kBorrarTodo);
    graph1_.setNumSets(1);
    graph1_.setNumPoints(static_cast<long long>(Datos.size()));
    for (std::size_t i = 0; i < Datos.size(); ++i) {
        graph1_.setThisSet(1);
        graph1_.setThisPoint(static_cast<long long>(i + 1));
        graph1_.setGraphData(Datos[i]);
        graph1_.setLabelText(i < Etiquetas.size() ? etiquetaDe(Etiquetas[i]) : EtiquetaGrafico{});
    }
    graph1_.setDrawMode(ControlGrafico::kDibujar);
}

void ControladorGraficos::ejecutar(const std::function<void()>& manejador) {
    // Failures go to the error record without a message, as the engine's do.
    try {
        manejador();
    } catch (const ErrorGrafico& e) {
        doc_.error.set(static_cast<stats::ErrorCode>(e.numero()), e.what());
    } catch (const DbError& e) {
        doc_.error.set(static_cast<stats::ErrorCode>(e.code()), e.what());
    } catch (const std::exception& e) {
        doc_.error.set(stats::ErrorCode::Database, e.what());
    }
}

void ControladorGraficos::Toolbar3_ButtonClick(const QString& clave) {
    bool leido = true;
    std::string fallo;
    ejecutar([&] {
        if (doc_.ContarRegistros() > 0 && !doc_.LeerVariable()) {
            leido = false;
            fallo = doc_.error.MensajeError;
        }
    });
    if (limpiarDisplay_)
        limpiarDisplay_();
    doc_.error.clear();

    const BotonGrafico* boton = nullptr;
    for (const BotonGrafico& b : kBotones)
        if (clave == QLatin1String(b.clave))
            boton = &b;
    if (!boton) {
        for (const BotonAula& b : kBotonesAula)
            if (clave == QLatin1String(b.clave) && doc_.NumRegistros >= 1)
                dibujarAula(b.tipo);
        return;
    }
    if (boton->tipo == 0) {
        if (calculadora_)
            ejecutar([this] { calculadora_->abrir(); });
        return;
    }
    if (doc_.NumRegistros < 1)
        return;
    if (!leido) {
        // Stale lists would be drawn as if they were this table's.
        doc_.error.set(stats::ErrorCode::UnreadableRecord, fallo);
        return;
    }
    ejecutar([this, boton] { dibujarTipo(*boton); });
}

void ControladorGraficos::dibujarTipo(const BotonGrafico& boton) {
    aula_.reset();
    BorrarCboGraf();
    for (const char* estilo : boton.estilos)
        estado_.cboESTILO << QString::fromUtf8(estilo);
    emit cambiado();
    graph1_.setGraphType(boton.tipo);
    graph1_.setPalette(0);
    graph1_.setGridStyle(0);
    titulos();
    PintarGrafico(doc_.listas.Valores, doc_.listas.Frecuencias);
    emit pestanaPedida(kPestanaGraficos);
}

void ControladorGraficos::dibujarAula(TipoAula tipo) {
    BorrarCboGraf();
    estado_.cboESTILO = estilosAula(tipo);
    estado_.seleccion[0] = estado_.cboESTILO.isEmpty() ? -1 : 0;
    emit cambiado();
    ejecutar([&] { aula_ = construirAula(doc_, tipo, opcionesAula(tipo, 0)); });
    if (!aula_) {
        // Unlike a failed Graph1 chart, the student is told why.
        emit aviso(QString::fromStdString(doc_.error.MensajeError));
        return;
    }
    redibujarAula();
    emit pestanaPedida(kPestanaGraficos);
}

void ControladorGraficos::redibujarAula() {
    if (DibujoGrafico* dibujo = graph1_.dibujo())
        dibujo->dibujarAula(*aula_);
}

void ControladorGraficos::titulos() {
    const stats::KindInfo* kind = doc_.kind();
    if (!kind)
        return;
    const QString var = kind->bivariate ? QString::fromStdString(doc_.VarActiva) : "X";
    graph1_.GraphTitle = QStringLiteral("Distribución %1").arg(QString::fromUtf8(kind->tipo));
    if (kind->bivariate)
        graph1_.GraphTitle += QStringLiteral(" · variable %1").arg(var);
    // U+1D62: subscript i.
    graph1_.BottomTitle = var + QChar(0x1D62);
    if (stats::activeType(*kind, doc_.VarActiva) == stats::VariableType::Continuous)
        graph1_.BottomTitle += QStringLiteral(" (marca de clase)");
    graph1_.LeftTitle = QStringLiteral("n") + QChar(0x1D62);
}

void ControladorGraficos::opcion(int lista, int posicion, const std::function<void(int)>& aplicar) {
    ejecutar([&] {
        aplicar(posicion);
        estado_.seleccion[static_cast<std::size_t>(lista)] = posicion;
        emit cambiado();
        graph1_.setDrawMode(ControlGrafico::kDibujar);
    });
}

void ControladorGraficos::cboESTILO_Click(int posicion) {
    if (aula_) {
        // The style list holds this chart's options: the chart is computed again.
        estado_.seleccion[0] = posicion;
        emit cambiado();
        const TipoAula tipo = aula_->tipo;
        const int paleta = aula_->paleta, rejilla = aula_->rejilla;
        ejecutar([&] { aula_ = construirAula(doc_, tipo, opcionesAula(tipo, posicion)); });
        if (!aula_) {
            emit aviso(QString::fromStdString(doc_.error.MensajeError));
            return;
        }
        aula_->paleta = paleta;
        aula_->rejilla = rejilla;
        return redibujarAula();
    }
    opcion(0, posicion, [this](int p) { graph1_.setGraphStyle(p); });
}

void ControladorGraficos::cboPALETA_Click(int posicion) {
    if (aula_) {
        aula_->paleta = posicion;
        estado_.seleccion[1] = posicion;
        emit cambiado();
        return redibujarAula();
    }
    opcion(1, posicion, [this](int p) { graph1_.setPalette(p); });
}

void ControladorGraficos::cboREJILLA_Click(int posicion) {
    if (aula_) {
        aula_->rejilla = posicion;
        estado_.seleccion[2] = posicion;
        emit cambiado();
        return redibujarAula();
    }
    opcion(2, posicion, [this](int p) { graph1_.setGridStyle(p); });
}

bool ControladorGraficos::escribirEn(const QString& carpeta) {
    if (carpeta.isEmpty() || !QFileInfo(carpeta).isDir())
        return false;
    graph1_.ImageFile = QDir(carpeta).filePath(kImagen);
    try {
        graph1_.setDrawMode(ControlGrafico::kEscribir);
        return true;
    } catch (const ErrorGrafico& e) {
        doc_.error.set(static_cast<stats::ErrorCode>(e.numero()), e.what());
        return false;
    }
}

QString ControladorGraficos::Graph1_Click() {
    const QString junto = doc_.BaseActual.empty()
                              ? QString()
                              : QFileInfo(QString::fromStdString(doc_.BaseActual)).absolutePath();
    // Beside the distribution first; a folder that cannot be written (a
    // read-only example folder, a CD) or the installed program's own files
    // fall back to the distributions' one.
    if ((!junto.isEmpty() && !rutas_.esInstalada(junto) && escribirEn(junto)) ||
        escribirEn(rutas_.RutaDat)) {
        doc_.error.clear();
        emit aviso(QStringLiteral("Gráfico guardado en %1").arg(graph1_.ImageFile));
        return graph1_.ImageFile;
    }
    if (!doc_.error.failed())
        doc_.error.set(static_cast<stats::ErrorCode>(ErrorGrafico::kNoSePuedeEscribir),
                       "No se ha podido escribir la imagen del gráfico");
    emit aviso(QStringLiteral("No se ha podido guardar el gráfico: %1")
                   .arg(QString::fromStdString(doc_.error.MensajeError)));
    return {};
}

} // namespace kalnor
