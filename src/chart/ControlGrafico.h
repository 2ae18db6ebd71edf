#pragma once

#include <QString>

#include <cstdint>
#include <variant>
#include <vector>

namespace kalnor {

class DibujoGrafico;

// A point's label: nothing, a number (shown in the locale's notation) or a text.
using EtiquetaGrafico = std::variant<std::monostate, double, QString>;

// Graph1: the chart as a set of properties. The program fills the data
// arrays point by point and asks for a drawing with DrawMode; the drawing
// itself belongs to a DibujoGrafico. Values outside a property's range are
// refused with ErrorGrafico and change nothing.
class ControlGrafico {
public:
    // Points are addressed with a 16-bit index.
    static constexpr int kMaxPuntos = 32767;

    enum Tipo : std::int32_t { kSectores = 1, kBarras = 3, kLineas = 6 };
    enum Modo : std::int32_t { kBorrar = 1, kDibujar = 2, kEscribir = 6 };
    static constexpr std::int32_t kBorrarTodo = 9; // DataReset: every data array

    void setDibujo(DibujoGrafico* dibujo) { dibujo_ = dibujo; }
    DibujoGrafico* dibujo() const { return dibujo_; }

    void setDataReset(long long valor);
    void setNumSets(long long valor);
    void setNumPoints(long long valor);
    void setThisSet(long long valor);
    void setThisPoint(long long valor);
    void setGraphData(long long valor);
    void setLabelText(const EtiquetaGrafico& etiqueta);
    void setGraphType(long long valor);
    void setGraphStyle(long long valor);
    void setPalette(long long valor);
    void setGridStyle(long long valor);
    void setDrawMode(long long valor);

    std::int16_t NumSets() const { return numSets_; }
    std::int32_t NumPoints() const { return numPoints_; }
    std::int16_t ThisSet() const { return thisSet_; }
    std::int16_t ThisPoint() const { return thisPoint_; }
    std::int32_t GraphData() const { return dato(thisSet_, thisPoint_); }
    const EtiquetaGrafico& LabelText() const { return etiqueta(thisPoint_); }
    std::int32_t GraphType() const { return tipo_; }
    std::int16_t GraphStyle() const { return estilo_; }
    std::int16_t Palette() const { return paleta_; }
    std::int16_t GridStyle() const { return rejilla_; }
    std::int32_t DrawMode() const { return modo_; }

    // Titles of the chart and of its axes (bottom: the variable; left: the
    // frequencies).
    QString GraphTitle, BottomTitle, LeftTitle;
    // Where DrawMode 6 writes the image.
    QString ImageFile = QStringLiteral("grafico.png");

    // For the drawing: value of point `punto` (1-based) of set `serie`
    // (1-based), label of a point; 0 and nothing outside the arrays.
    std::int32_t dato(int serie, int punto) const;
    const EtiquetaGrafico& etiqueta(int punto) const;
    // True between a DrawMode 2 and the next DrawMode 1.
    bool dibujado() const { return dibujado_; }

private:
    std::size_t posicion(int serie, int punto) const;
    void ajustarDatos();

    DibujoGrafico* dibujo_ = nullptr;
    std::int16_t numSets_ = 1;
    std::int32_t numPoints_ = 0;
    std::int16_t thisSet_ = 1;
    std::int16_t thisPoint_ = 1;
    std::int32_t tipo_ = kBarras;
    std::int16_t estilo_ = 0;
    std::int16_t paleta_ = 0;
    std::int16_t rejilla_ = 0;
    std::int32_t modo_ = kDibujar;
    bool dibujado_ = false;
    std::vector<std::int32_t> datos_;        // set-major, numSets_ x numPoints_
    std::vector<EtiquetaGrafico> etiquetas_; // one per point
};

} // namespace kalnor
