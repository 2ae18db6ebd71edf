#include "ControladorCalculadora.h"

#include "FormatoResultado.h"
#include "PasoAPaso.h"
#include "app/CitaBreve.h"
#include "app/Documento.h"
#include "app/Version.h"
#include "stats/Bivariate.h"
#include "stats/Central.h"
#include "stats/Concentration.h"
#include "stats/Dispersion.h"
#include "stats/Kinds.h"

#include <QFileInfo>

#include <cmath>
#include <exception>

namespace kalnor {

namespace {

using stats::VariableType;

// Keys whose measure takes a median or a mode, which needs the table in
// ascending order of the active variable.
bool necesitaOrden(int Index) {
    return Index == 9 || Index == 10 || Index == 14 || Index == 15;
}

// The measure of each key of the first row.
Medida medidaTecla(int Index) {
    static constexpr Medida kMedidas[20] = {
        Medida::MediaAritmetica,
        Medida::MediaArmonica,
        Medida::MediaGeometrica,
        Medida::MediaCuadratica,
        Medida::Recorrido,
        Medida::Varianza,
        Medida::DesviacionTipica,
        Medida::CuasiVarianza,
        Medida::DesviacionMedia,
        Medida::DesviacionMediana,
        Medida::AsimetriaPearson,
        Medida::AsimetriaFisher,
        Medida::CoefVariacionPearson,
        Medida::CoefVariacionMedia,
        Medida::CoefVariacionMediana,
        Medida::SemiIntercuartilico,
        Medida::MediaAritmetica, // the unavailable key shows no working
        Medida::Maximo,
        Medida::Minimo,
        Medida::Curtosis,
    };
    return kMedidas[Index];
}

const char* nombreTecla(int Index) {
    static constexpr const char* kNombres[20] = {
        "Media Aritmética",
        "Media Armónica",
        "Media Geométrica",
        "Media Cuadrática",
        "Recorrido",
        "Varianza",
        "Desviación Típica",
        "Cuasi-Varianza",
        "Desviación Media",
        "Desviación Mediana",
        "Coef. Asimetría de Pearson",
        "Coef. Asimetría de Fisher",
        "Coef. Variación de Pearson",
        "Coef. Variación Media",
        "Coef. Variación Mediana",
        "Recorrido SemiIntercuartílico",
        "",
        "Máximo",
        "Mínimo",
        "Coef. de Curtosis",
    };
    return kNombres[Index];
}

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// Tells the window a sort is running for as long as it lives.
class Espera {
public:
    explicit Espera(ControladorCalculadora& c) : c_(c) { emit c_.ocupado(true); }
    ~Espera() { emit c_.ocupado(false); }
    Espera(const Espera&) = delete;
    Espera& operator=(const Espera&) = delete;

private:
    ControladorCalculadora& c_;
};

} // namespace

ControladorCalculadora::ControladorCalculadora(Documento& documento, QString rutaBin,
                                               QObject* parent)
    : QObject(parent), doc_(documento), rutaBin_(std::move(rutaBin)) {
    estado_.Image1 = rutaBin_ + "negro.gif";
    connect(&doc_, &Documento::abierto, this, &ControladorCalculadora::documentoAbierto);
    if (!doc_.BaseActual.empty())
        documentoAbierto();
}

void ControladorCalculadora::ejecutar(const std::function<void()>& manejador) {
    // The database layer reports trouble by exceptions: the key shows it as
    // a failure and nothing else changes.
    paso_.reset();
    pendiente_.reset();
    pasosGini_.clear();
    try {
        manejador();
    } catch (const std::exception& e) {
        mostrarFallo(QString::fromUtf8(e.what()));
    }
    redactarPasos();
    emit cambiado();
}

void ControladorCalculadora::empezarPaso(Medida medida) {
    traza_.clear();
    traza2_.clear();
    paso_ = DatosPaso{};
    paso_->medida = medida;
    paso_->traza = &traza_;
}

void ControladorCalculadora::redactarPasos() {
    pasos_.clear();
    if (!pasosGini_.isEmpty()) {
        pasos_ = pasosGini_;
        return;
    }
    if (!paso_ || !anotarPasos_)
        return;
    paso_->resultado = estado_.RESULTADO;
    paso_->fallo = estado_.lbl_Mensaje[0];
    paso_->sinDatos = doc_.NumRegistros < 1;
    if (!paso_->sinDatos)
        paso_->tipo = tipoActivo();
    // Written when someone reads it: a press whose working nobody shows
    // costs only the noting.
    pendiente_ = paso_;
}

QStringList ControladorCalculadora::pasos() const {
    if (pendiente_) {
        pasos_ = pasoAPaso(*pendiente_, locale_);
        pendiente_.reset();
    }
    return pasos_;
}

// The key computes nothing, but the working still teaches the index of the
// table on show; its refusal never reaches the display.
void ControladorCalculadora::explicarGini() {
    if (!anotarPasos_)
        return;
    stats::ErrorRecord err;
    const auto& l = doc_.listas;
    const auto c =
        stats::IndiceGini(err, tipoActivo(), l.Valores, l.LimInf, l.LimSup, l.Frecuencias);
    pasosGini_ = {QStringLiteral("Índice de concentración de Gini: la curva de Lorenz, con IG, "
                                 "está en la pestaña GRF")};
    if (c)
        pasosGini_ += pasosGini(*c, locale_);
    else
        pasosGini_ << "El índice no existe para esta tabla: " + qs(err.MensajeError)
                   << QStringLiteral("IG = ?");
}

void ControladorCalculadora::Comenzar() {
    for (const SelectorInfo& s : selectores())
        items_[static_cast<std::size_t>(s.selector)] = itemsSelector(s.selector);
    emit cambiado();
}

void ControladorCalculadora::limpiarDisplay() {
    estado_.lbl_Mensaje[0].clear();
    estado_.lbl_Mensaje[3].clear();
    estado_.lbl_Mensaje[5].clear();
    estado_.RESULTADO = "0";
    estado_.SUMATORIO = "0";
    estado_.Image1 = rutaBin_ + "negro.gif";
    estado_.Timer1Interval = 0;
    estado_.valor.reset();
    pasos_.clear();
    pendiente_.reset();
    emit cambiado();
}

bool ControladorCalculadora::leer(bool ordenar) {
    fallo_.clear();
    if (doc_.ContarRegistros() <= 0)
        return true;
    if (ordenar) {
        const Espera espera(*this);
        doc_.error.clear();
        doc_.OrdenarDatos();
        if (doc_.error.failed()) {
            fallo_ = qs(doc_.error.MensajeError);
            return false;
        }
        if (doc_.ContarRegistros() <= 0)
            return true;
    }
    if (!doc_.LeerVariable()) {
        fallo_ = qs(doc_.error.MensajeError);
        return false;
    }
    return true;
}

stats::VariableType ControladorCalculadora::tipoActivo() const {
    const stats::KindInfo* k = doc_.kind();
    return k ? stats::activeType(*k, doc_.VarActiva) : VariableType::Categorical;
}

void ControladorCalculadora::mostrarResultado(double v) {
    if (doc_.error.failed()) {
        mostrarFallo(qs(doc_.error.MensajeError));
    } else if (std::isnan(v)) {
        mostrarFallo(qs(stats::describe(stats::ErrorCode::InvalidArgument)));
    } else if (std::isinf(v)) {
        mostrarFallo(qs(stats::describe(stats::ErrorCode::Overflow)));
    } else {
        estado_.RESULTADO = formatoResultado(v, locale_);
        estado_.valor = v;
    }
}

void ControladorCalculadora::mostrarFallo(const QString& mensaje) {
    estado_.RESULTADO = "?";
    estado_.lbl_Mensaje[0] = mensaje;
    estado_.Timer1Interval = 500;
    estado_.valor.reset();
}

void ControladorCalculadora::mostrarSinValor() {
    estado_.RESULTADO = "?";
    estado_.valor.reset();
}

void ControladorCalculadora::cargarImagen(const char* nombre) {
    estado_.Image1 = rutaBin_ + QLatin1String(nombre);
}

// Recount, read (sorted when asked), clear the display and check that there
// is something to compute on. False when the handler must stop.
bool ControladorCalculadora::preparar(bool ordenar, const QString& sinDatos, const char* imagen) {
    const bool leido = leer(ordenar);
    limpiarDisplay();
    if (imagen)
        cargarImagen(imagen);
    doc_.error.clear();
    if (doc_.NumRegistros < 1) {
        mostrarFallo(sinDatos);
        return false;
    }
    if (!leido) {
        mostrarFallo(fallo_);
        return false;
    }
    return true;
}

void ControladorCalculadora::cmdTECLA_Click(int Index) {
    if (Index < 0 || Index > 19)
        return;
    ejecutar([&] {
        if (Index != 16)
            empezarPaso(medidaTecla(Index));
        if (!preparar(necesitaOrden(Index), kNoHayDatos))
            return;
        if (Index == 16) {
            if (aviso_)
                aviso_->avisar(QStringLiteral("Kalnor v.%1").arg(versionConComa()),
                               QStringLiteral("No disponible\r\nen versión ßeta."));
            return explicarGini();
        }
        estado_.lbl_Mensaje[5] = QString::fromUtf8(nombreTecla(Index));
        auto& err = doc_.error;
        const auto& x = doc_.listas.Valores;
        const auto& n = doc_.listas.Frecuencias;
        const auto& li = doc_.listas.LimInf;
        const auto& ls = doc_.listas.LimSup;
        const VariableType tipo = tipoActivo();
        switch (Index) {
        case 0:
            return mostrarResultado(stats::anotado::MediaAritmetica(err, x, n, anotar()));
        case 1:
            return mostrarResultado(stats::anotado::MediaArmonica(err, x, n, anotar()));
        case 2:
            return mostrarResultado(stats::anotado::MediaGeometrica(err, x, n, anotar()));
        case 3:
            return mostrarResultado(stats::anotado::MediaCuadratica(err, x, n, anotar()));
        case 4: {
            const double minimo = stats::Minimo(err, x);
            const double maximo = stats::Maximo(err, x);
            if (!err.failed()) {
                paso_->maximo = maximo;
                paso_->minimo = minimo;
            }
            return mostrarResultado(maximo - minimo);
        }
        case 5:
            return mostrarResultado(stats::anotado::Varianza(err, x, n, anotar()));
        case 6:
            return mostrarResultado(stats::anotado::DesviacionTipica(err, x, n, anotar()));
        case 7:
            return mostrarResultado(stats::anotado::CuasiVarianza(err, x, n, anotar()));
        case 8:
            return mostrarResultado(stats::anotado::DesviacionMedia(err, x, n, anotar()));
        case 9:
            return mostrarResultado(
                stats::anotado::DesviacionMediana(err, tipo, x, li, ls, n, anotar()));
        case 10:
            return mostrarResultado(
                stats::anotado::AsimetriaPearson(err, tipo, x, li, ls, n, anotar()));
        case 11:
            return mostrarResultado(stats::anotado::AsimetriaFisher(err, x, n, anotar()));
        case 12:
            return mostrarResultado(stats::anotado::CoefVariacionPearson(err, x, n, anotar()));
        case 13:
            return mostrarResultado(stats::anotado::CoefVariacionMedia(err, x, n, anotar()));
        case 14:
            return mostrarResultado(
                stats::anotado::CoefVariacionMediana(err, tipo, x, li, ls, n, anotar()));
        case 15:
            return semiIntercuartilico(tipo);
        case 17:
            return mostrarResultado(stats::Maximo(err, x));
        case 18:
            return mostrarResultado(stats::Minimo(err, x));
        case 19:
            return mostrarResultado(stats::anotado::CoefCurtosis(err, x, n, anotar()));
        default:
            return;
        }
    });
}

void ControladorCalculadora::semiIntercuartilico(VariableType tipo) {
    auto& err = doc_.error;
    const auto& l = doc_.listas;
    if (tipo == VariableType::Categorical)
        return mostrarSinValor();
    const bool discreto = tipo == VariableType::Discrete;
    const auto cuartil = [&](std::int16_t k, stats::Traza* t) {
        return discreto ? stats::anotado::CuantilDiscreto(err, k, 4, l.Valores, l.Frecuencias, t)
                        : stats::anotado::CuantilContinuo(err, k, 4, l.LimInf, l.LimSup,
                                                          l.Frecuencias, t);
    };
    const double q1 = cuartil(1, anotar());
    // The third quartile would clear a failure of the first one.
    if (err.failed())
        return mostrarResultado(0);
    const double q3 = cuartil(3, anotar(&traza2_));
    paso_->segunda = &traza2_;
    if (!err.failed()) {
        paso_->maximo = q3;
        paso_->minimo = q1;
    }
    mostrarResultado((q3 - q1) / 2);
}

double ControladorCalculadora::cuantil(std::int16_t k, std::int16_t q, VariableType tipo) {
    const auto& l = doc_.listas;
    return tipo == VariableType::Discrete
               ? stats::anotado::CuantilDiscreto(doc_.error, k, q, l.Valores, l.Frecuencias,
                                                 anotar())
               : stats::anotado::CuantilContinuo(doc_.error, k, q, l.LimInf, l.LimSup,
                                                 l.Frecuencias, anotar());
}

void ControladorCalculadora::cmdTECLAm_Click(int Index) {
    if (Index < 0 || Index > 1)
        return;
    ejecutar([&] {
        empezarPaso(Index == 0 ? Medida::Mediana : Medida::Moda);
        if (!preparar(true, kNoHayDatos))
            return;
        const VariableType tipo = tipoActivo();
        const auto& l = doc_.listas;
        if (Index == 0) {
            estado_.lbl_Mensaje[5] = "Mediana";
            if (tipo == VariableType::Categorical)
                return mostrarSinValor();
            return mostrarResultado(cuantil(1, 2, tipo));
        }
        estado_.lbl_Mensaje[5] = "Moda";
        // A categorical variable has a mode too: its most frequent word.
        const stats::CellValue moda =
            tipo == VariableType::Continuous
                ? stats::anotado::ModaContinua(doc_.error, l.LimInf, l.LimSup, l.Frecuencias,
                                               anotar())
                : stats::anotado::ModaDiscreta(doc_.error, l.Valores, l.Frecuencias, anotar());
        if (doc_.error.failed())
            return mostrarFallo(qs(doc_.error.MensajeError));
        if (moda.isNumber())
            return mostrarResultado(moda.asNumber());
        estado_.RESULTADO = formatoResultado(moda, locale_);
    });
}

bool ControladorCalculadora::esBidimensional() const {
    return doc_.Clase() == stats::kClaseBi;
}

// Both variables into ValoresX and ValoresY; the other variable is left
// active, as every two-variable key does.
bool ControladorCalculadora::leerAmbasVariables() {
    auto& l = doc_.listas;
    // A list still holding this very read is not copied again: on a big
    // table the copy, and reading it anew as numbers, cost more than the
    // measure.
    const auto copiar = [&] {
        const bool y = doc_.VarActiva != "X";
        std::optional<Documento::Origen>& copia = y ? copiaY_ : copiaX_;
        if (!doc_.lectura() || copia != doc_.lectura()) {
            (y ? l.ValoresY : l.ValoresX) = l.Valores;
            copia = doc_.lectura();
        }
    };
    copiar();
    cambiarVariable();
    if (!fallo_.isEmpty()) {
        mostrarFallo(fallo_);
        return false;
    }
    copiar();
    return true;
}

void ControladorCalculadora::cmdTECLAbi_Click(int Index) {
    if (Index < 0 || Index > 3)
        return;
    ejecutar([&] {
        // The measure of keys 2 and 3 is fixed below, once the variable
        // has been switched.
        static constexpr Medida kMedidas[4] = {Medida::Correlacion, Medida::Covarianza,
                                               Medida::RegresionX, Medida::RectaYsobreX};
        empezarPaso(kMedidas[Index]);
        if (!preparar(false, kNoHayDatosBi))
            return;
        if (!esBidimensional())
            return mostrarFallo(kNoHayDatosBi);
        if (!leerAmbasVariables())
            return;
        doc_.error.clear();
        auto& err = doc_.error;
        const auto& l = doc_.listas;
        switch (Index) {
        case 0:
            estado_.lbl_Mensaje[5] = "Coef. de Correlación Lineal";
            return mostrarResultado(stats::anotado::CoefCorrelacion(err, l.ValoresX, l.ValoresY,
                                                                    l.Frecuencias, anotar()));
        case 1:
            estado_.lbl_Mensaje[5] = "Covarianza";
            return mostrarResultado(
                stats::anotado::Covarianza(err, l.ValoresX, l.ValoresY, l.Frecuencias, anotar()));
        case 2:
            if (estado_.cmdVARIABLE != "Y") {
                estado_.lbl_Mensaje[5] = "Coef. de Regresión X";
                return mostrarResultado(stats::anotado::CoefRegresionX(err, l.ValoresX, l.ValoresY,
                                                                       l.Frecuencias, anotar()));
            }
            estado_.lbl_Mensaje[5] = "Coef. de Regresión Y";
            paso_->medida = Medida::RegresionY;
            return mostrarResultado(stats::anotado::CoefRegresionY(err, l.ValoresX, l.ValoresY,
                                                                   l.Frecuencias, anotar()));
        default:
            return rectaRegresion();
        }
    });
}

void ControladorCalculadora::rectaRegresion() {
    const bool yx = estado_.cmdVARIABLE == "Y";
    const QString titulo = yx ? "Recta Regresión: Y sobre X" : "Recta Regresión: X sobre Y";
    const QString prompt = yx ? "Escriba un valor para  X" : "Escriba un valor para  Y";
    const std::optional<QString> respuesta =
        pregunta_ ? pregunta_->pedir(titulo, prompt) : std::nullopt;
    // No answer: the display stays cleared and nothing is computed.
    if (!respuesta || respuesta->trimmed().isEmpty()) {
        paso_.reset();
        return;
    }
    estado_.lbl_Mensaje[5] = titulo;
    empezarPaso(yx ? Medida::RectaYsobreX : Medida::RectaXsobreY);
    paso_->punto = respuesta->trimmed();
    const auto& l = doc_.listas;
    const stats::CellValue punto = stats::CellValue::text(respuesta->trimmed().toStdString());
    mostrarResultado(
        stats::anotado::RectaRegresion(doc_.error, l.ValoresX, l.ValoresY, l.Frecuencias,
                                       yx ? stats::kYsobreX : stats::kXsobreY, punto, anotar()));
}

void ControladorCalculadora::cmd_Muestra_Click() {
    ejecutar([&] {
        empezarPaso(Medida::TamanoMuestral);
        if (!preparar(false, kNoHayDatos))
            return;
        estado_.lbl_Mensaje[5] = "Tamaño Muestral";
        const std::int32_t total = stats::TotalFrecuencias(doc_.error, doc_.listas.Frecuencias);
        if (doc_.error.failed())
            return mostrarFallo(qs(doc_.error.MensajeError));
        estado_.RESULTADO = QString::number(total);
        estado_.valor = total;
    });
}

void ControladorCalculadora::cambiarVariable() {
    const QString nueva = estado_.cmdVARIABLE != "X" ? "X" : "Y";
    ponerVariable(nueva);
    emit doc_.variableActivaCambiada();
    leer(false);
    limpiarDisplay();
}

void ControladorCalculadora::ponerVariable(const QString& var) {
    estado_.cmdVARIABLE = var;
    estado_.cmdTECLAbi3 = var == "X" ? "X|Y" : "Y|X";
    doc_.VarActiva = var.toStdString();
    estado_.lbl_Mensaje[4] = "var. " + var;
    estado_.lblColumnas = "Columnas: " + var;
}

void ControladorCalculadora::cmdVARIABLE_Click() {
    ejecutar([&] { cambiarVariable(); });
}

void ControladorCalculadora::cmd_Cls_Click() {
    limpiarDisplay();
    estado_.seleccion.fill(-1);
    emit cambiado();
}

void ControladorCalculadora::seleccionar(Selector s, int posicion) {
    const auto i = static_cast<std::size_t>(s);
    if (items_[i].isEmpty())
        items_[i] = itemsSelector(s);
    if (posicion < 0 || posicion >= items_[i].size()) {
        estado_.seleccion[i] = -1; // deselecting computes nothing
        emit cambiado();
        return;
    }
    estado_.seleccion[i] = posicion;
    ejecutar([&] {
        switch (s) {
        case Selector::CUARTILES:
        case Selector::QUINTILES:
        case Selector::DECILES:
        case Selector::PERCENTILES:
            return seleccionarCuantil(s, posicion);
        case Selector::MOMorigen:
        case Selector::MOMcentral:
            return seleccionarMomento(s, posicion);
        case Selector::MOMorigenBI:
        case Selector::MOMcentralBI:
            return seleccionarMomentoBi(s, posicion);
        }
    });
}

void ControladorCalculadora::seleccionarCuantil(Selector s, int posicion) {
    const SelectorInfo& si = info(s);
    empezarPaso(Medida::Cuantil);
    paso_->k = posicion + 1;
    paso_->q = si.partes;
    paso_->simbolo = items(s).value(posicion).trimmed();
    if (!preparar(true, kNoHayDatos, si.imagen))
        return;
    const auto k = static_cast<std::int16_t>(posicion + 1);
    estado_.lbl_Mensaje[5] = QString::fromUtf8(si.titulo) + QString::number(k) + ')';
    const VariableType tipo = tipoActivo();
    if (tipo == VariableType::Categorical)
        return mostrarSinValor();
    mostrarResultado(cuantil(k, si.partes, tipo));
}

void ControladorCalculadora::seleccionarMomento(Selector s, int posicion) {
    const SelectorInfo& si = info(s);
    empezarPaso(s == Selector::MOMorigen ? Medida::MomentoOrigen : Medida::MomentoCentral);
    paso_->r = posicion + 1;
    paso_->simbolo = items(s).value(posicion).trimmed();
    if (!preparar(false, kNoHayDatos, si.imagen))
        return;
    const auto r = static_cast<std::int16_t>(posicion + 1);
    estado_.lbl_Mensaje[5] = QString::fromUtf8(si.titulo) + QString::number(r) + ')';
    const auto& l = doc_.listas;
    mostrarResultado(
        s == Selector::MOMorigen
            ? stats::anotado::MomentoOrigen(doc_.error, l.Valores, l.Frecuencias, r, anotar())
            : stats::anotado::MomentoCentral(doc_.error, l.Valores, l.Frecuencias, r, anotar()));
}

void ControladorCalculadora::seleccionarMomentoBi(Selector s, int posicion) {
    const SelectorInfo& si = info(s);
    empezarPaso(s == Selector::MOMorigenBI ? Medida::MomentoOrigenBi : Medida::MomentoCentralBi);
    paso_->simbolo = items(s).value(posicion).trimmed();
    if (!preparar(false, kNoHayDatosMomBi, si.imagen))
        return;
    if (!esBidimensional())
        return mostrarFallo(kNoHayDatosMomBi);
    if (!leerAmbasVariables())
        return;
    cargarImagen(si.imagen);
    doc_.error.clear();
    const QString item = items(s)[posicion].trimmed();
    estado_.lbl_Mensaje[5] = QString::fromUtf8(si.titulo) + item;
    // "a(r,s)": the powers of X and Y.
    const auto r = static_cast<std::int16_t>(item.mid(2, 1).toShort());
    const auto sy = static_cast<std::int16_t>(item.mid(4, 1).toShort());
    paso_->r = r;
    paso_->s = sy;
    const auto& l = doc_.listas;
    mostrarResultado(s == Selector::MOMorigenBI
                         ? stats::anotado::MomentoOrigenBi(doc_.error, l.ValoresX, l.ValoresY,
                                                           l.Frecuencias, r, sy, anotar())
                         : stats::anotado::MomentoCentralBi(doc_.error, l.ValoresX, l.ValoresY,
                                                            l.Frecuencias, r, sy, anotar()));
}

void ControladorCalculadora::mostrarFormula(FilaTeclas fila, int indice) {
    const std::optional<QString> nombre =
        imagenTecla(fila, indice, estado_.lbl_Mensaje[2], estado_.cmdVARIABLE);
    if (!nombre)
        return;
    // Checked for the picture shown first: every pointer move lands here.
    const QString ruta = rutaBin_ + *nombre;
    if (ruta == estado_.Image1 || !QFileInfo::exists(ruta))
        return;
    estado_.Image1 = ruta;
    emit cambiado();
}

QString ControladorCalculadora::MouseDown(const QString& control) {
    const QString clave = claveAyuda(control);
    if (!clave.isEmpty())
        ultimaClave_ = clave;
    return ultimaClave_;
}

std::optional<QString> ControladorCalculadora::Image4_DragDrop() {
    const QString& nombre = estado_.lbl_Mensaje[5];
    if (!estado_.lbl_Mensaje[0].isEmpty() || nombre.isEmpty())
        return std::nullopt;
    constexpr int kAncho = 30;
    if (nombre.size() > kAncho) {
        estado_.lbl_Mensaje[0] =
            (QStringLiteral("El nombre «%1» tiene más de %2 caracteres y no cabe en la "
                            "línea de las notas")
                 .arg(nombre)
                 .arg(kAncho));
        // The display keeps the result: only the message blinks.
        estado_.Timer1Interval = 500;
        emit cambiado();
        return std::nullopt;
    }
    return QStringLiteral("\r\n") + nombre + QString(kAncho - nombre.size(), '.') +
           QStringLiteral("  ") + estado_.RESULTADO + QStringLiteral("\r\n");
}

void ControladorCalculadora::mostrarErrorComando(const QString& descripcion, int numero) {
    estado_.lbl_Mensaje[0] = descripcion;
    estado_.RESULTADO = "¡ Error " + QString(numero >= 0 ? " " : "") + QString::number(numero);
    estado_.valor.reset();
    emit cambiado();
}

void ControladorCalculadora::mostrarSumatorio(const QString& texto) {
    estado_.SUMATORIO = texto;
    emit cambiado();
}

void ControladorCalculadora::mostrarAviso(const QString& texto) {
    estado_.lbl_Mensaje[0] = texto;
    estado_.Timer1Interval = 500;
    emit cambiado();
}

void ControladorCalculadora::documentoAbierto() {
    const bool abierto = !doc_.BaseActual.empty();
    estado_.lbl_Mensaje[1] = abierto ? qs(citaBreve(doc_.Clase())) : QString();
    estado_.lbl_Mensaje[2] = abierto ? qs(doc_.Tipo()) : QString();
    estado_.cmdVARIABLEEnabled = abierto && doc_.Clase() != stats::kClaseUni;
    // A one-variable file has no Y to stay on.
    if (!estado_.cmdVARIABLEEnabled && doc_.VarActiva != "X") {
        ponerVariable("X");
        emit doc_.variableActivaCambiada();
    } else {
        ponerVariable(qs(doc_.VarActiva) == "Y" ? "Y" : "X");
    }
    emit cambiado();
}

} // namespace kalnor
