#include "ControlGrafico.h"

#include "DibujoGrafico.h"
#include "ErrorGrafico.h"

#include <limits>
#include <string>

namespace kalnor {

namespace {

// The program draws a single data set; more would need a legend of sets
// that nothing fills.
constexpr int kMaxSeries = 1;

[[noreturn]] void noValido(const char* propiedad, long long valor) {
    throw ErrorGrafico(ErrorGrafico::kValorNoValido, std::string("Valor de propiedad no válido (") +
                                                         propiedad + " = " + std::to_string(valor) +
                                                         ")");
}

// A value that does not fit the property's integer type overflows, as an
// assignment to a 16-bit property would.
template <typename T> T entero(const char* propiedad, long long valor) {
    if (valor < std::numeric_limits<T>::min() || valor > std::numeric_limits<T>::max())
        throw ErrorGrafico(ErrorGrafico::kDesbordamiento, std::string("Desbordamiento (") +
                                                              propiedad + " = " +
                                                              std::to_string(valor) + ")");
    return static_cast<T>(valor);
}

template <typename T>
T enRango(const char* propiedad, long long valor, long long minimo, long long maximo) {
    const T v = entero<T>(propiedad, valor);
    if (v < minimo || v > maximo)
        noValido(propiedad, valor);
    return v;
}

const EtiquetaGrafico kSinEtiqueta{};

} // namespace

void ControlGrafico::setDataReset(long long valor) {
    if (entero<std::int32_t>("DataReset", valor) != kBorrarTodo)
        noValido("DataReset", valor);
    datos_.assign(datos_.size(), 0);
    etiquetas_.assign(etiquetas_.size(), EtiquetaGrafico{});
}

void ControlGrafico::setNumSets(long long valor) {
    numSets_ = enRango<std::int16_t>("NumSets", valor, 1, kMaxSeries);
    ajustarDatos();
}

void ControlGrafico::setNumPoints(long long valor) {
    numPoints_ = enRango<std::int32_t>("NumPoints", valor, 0, kMaxPuntos);
    ajustarDatos();
}

void ControlGrafico::setThisSet(long long valor) {
    thisSet_ = enRango<std::int16_t>("ThisSet", valor, 1, numSets_);
}

void ControlGrafico::setThisPoint(long long valor) {
    thisPoint_ = enRango<std::int16_t>("ThisPoint", valor, 1, std::max(numPoints_, 1));
}

void ControlGrafico::setGraphData(long long valor) {
    const auto v = entero<std::int32_t>("GraphData", valor);
    if (numPoints_ == 0)
        noValido("ThisPoint", thisPoint_);
    datos_[posicion(thisSet_, thisPoint_)] = v;
}

void ControlGrafico::setLabelText(const EtiquetaGrafico& etiqueta) {
    if (numPoints_ == 0)
        noValido("ThisPoint", thisPoint_);
    etiquetas_[static_cast<std::size_t>(thisPoint_ - 1)] = etiqueta;
}

void ControlGrafico::setGraphType(long long valor) {
    const auto v = entero<std::int32_t>("GraphType", valor);
    if (v != kSectores && v != kBarras && v != kLineas)
        noValido("GraphType", valor);
    tipo_ = v;
}

void ControlGrafico::setGraphStyle(long long valor) {
    estilo_ = enRango<std::int16_t>("GraphStyle", valor, 0, 3);
}

void ControlGrafico::setPalette(long long valor) {
    paleta_ = enRango<std::int16_t>("Palette", valor, 0, 2);
}

void ControlGrafico::setGridStyle(long long valor) {
    rejilla_ = enRango<std::int16_t>("GridStyle", valor, 0, 3);
}

void ControlGrafico::setDrawMode(long long valor) {
    const auto v = entero<std::int32_t>("DrawMode", valor);
    switch (v) {
    case kBorrar:
        modo_ = v;
        dibujado_ = false;
        if (dibujo_)
            dibujo_->borrar();
        break;
    case kDibujar:
        modo_ = v;
        dibujado_ = true;
        if (dibujo_)
            dibujo_->dibujar(*this);
        break;
    case kEscribir:
        modo_ = v;
        if (!dibujo_ || !dibujo_->escribirImagen(*this, ImageFile))
            throw ErrorGrafico(ErrorGrafico::kNoSePuedeEscribir,
                               "No se ha podido escribir la imagen del gráfico en «" +
                                   ImageFile.toStdString() + "»");
        break;
    default:
        noValido("DrawMode", valor);
    }
}

std::int32_t ControlGrafico::dato(int serie, int punto) const {
    if (serie < 1 || serie > numSets_ || punto < 1 || punto > numPoints_)
        return 0;
    return datos_[posicion(serie, punto)];
}

const EtiquetaGrafico& ControlGrafico::etiqueta(int punto) const {
    if (punto < 1 || punto > numPoints_)
        return kSinEtiqueta;
    return etiquetas_[static_cast<std::size_t>(punto - 1)];
}

std::size_t ControlGrafico::posicion(int serie, int punto) const {
    return static_cast<std::size_t>(serie - 1) * static_cast<std::size_t>(numPoints_) +
           static_cast<std::size_t>(punto - 1);
}

void ControlGrafico::ajustarDatos() {
    // Shrinking keeps the leading points, growing adds empty ones.
    datos_.resize(static_cast<std::size_t>(numSets_) * static_cast<std::size_t>(numPoints_), 0);
    etiquetas_.resize(static_cast<std::size_t>(numPoints_));
    if (thisPoint_ > std::max(numPoints_, 1))
        thisPoint_ = 1;
    if (thisSet_ > numSets_)
        thisSet_ = 1;
}

} // namespace kalnor
