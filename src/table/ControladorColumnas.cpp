#include "ControladorColumnas.h"

#include "CalculoColumna.h"
#include "InterfazColumnas.h"
#include "TotalesColumnas.h"
#include "app/CitaBreve.h"
#include "app/DbError.h"
#include "app/Documento.h"
#include "panel/ControladorCalculadora.h"
#include "panel/FormatoResultado.h"
#include "stats/Central.h"

#include <algorithm>
#include <exception>

namespace kalnor {

namespace {

using stats::CellValue;
using stats::ErrorCode;
using stats::VariableType;

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// The busy pointer for as long as it lives.
class Ocupado {
public:
    explicit Ocupado(InterfazColumnas& ui) : ui_(ui) { ui_.ocupado(true); }
    ~Ocupado() { ui_.ocupado(false); }
    Ocupado(const Ocupado&) = delete;
    Ocupado& operator=(const Ocupado&) = delete;

private:
    InterfazColumnas& ui_;
};

// The variable's fields in a record: its value, or its class limits.
struct CamposVariable {
    bool continua = false;
    std::string valor, inferior, superior;
};

CamposVariable camposDe(const stats::KindInfo& tipo, bool deY) {
    const VariableType t = deY ? tipo.y : tipo.x;
    CamposVariable c;
    c.continua = t == VariableType::Continuous;
    c.valor = deY ? "Yi" : "Xi";
    c.inferior = deY ? "LiY" : "LiX";
    c.superior = deY ? "LsY" : "LsX";
    return c;
}

// Where a formula finds x for this kind: nothing when the list's formulas
// are not computed on it. The X list works on a discrete or continuous X;
// the Y list only on the two-variable kinds whose X is not categorical.
bool valoresCalculables(const stats::KindInfo& tipo, bool deY) {
    if (!deY)
        return tipo.x != VariableType::Categorical;
    return tipo.code == "DISDIS" || tipo.code == "CONCON" || tipo.code == "DISCON";
}

std::string textoError(ErrorCode codigo) {
    return stats::describe(codigo);
}

} // namespace

ControladorColumnas::ControladorColumnas(Documento& documento, ControladorCalculadora& calculadora,
                                         InterfazColumnas& ui, QObject* parent)
    : QObject(parent), doc_(documento), calculadora_(calculadora), ui_(ui) {
    connect(&doc_, &Documento::variableActivaCambiada, this,
            [this] { ListaColumnas(qs(doc_.VarActiva)); });
    ListaColumnas(qs(doc_.VarActiva));
}

void ControladorColumnas::ejecutar(const std::function<void()>& manejador) {
    // The database layer reports trouble by exceptions: its description is
    // shown and the command ends there.
    try {
        manejador();
    } catch (const std::exception& e) {
        ui_.mensaje(QString::fromUtf8(e.what()));
    }
    emit cambiado();
}

void ControladorColumnas::ListaColumnas(const QString& Variable) {
    estado_.cboSUMATORIOS.clear();
    for (const ColumnaDerivada& c : columnasDe(Variable.toStdString()))
        estado_.cboSUMATORIOS.append(
            QString::fromUtf8(c.entrada.data(), static_cast<int>(c.entrada.size())));
    estado_.seleccion = -1;
    estado_.lblColumnas = QStringLiteral("Columnas: ") + (Variable == "Y" ? "Y" : "X");
    emit cambiado();
}

void ControladorColumnas::cboSUMATORIOS_Click(int posicion) {
    if (posicion < 0 || posicion >= estado_.cboSUMATORIOS.size())
        return; // no text in the list: nothing happens
    estado_.seleccion = posicion;
    if (doc_.ContarRegistros() < 1) {
        ui_.mensaje(kNoHayDatos, kTituloAnadir);
        estado_.seleccion = -1;
        emit cambiado();
        return;
    }
    const std::string campo = campoDeEntrada(estado_.cboSUMATORIOS[posicion].toStdString());
    if (calculadora_.estado().cmdVARIABLE == "Y")
        CalcularColumnasY(campo);
    else
        CalcularColumnas(campo);
}

void ControladorColumnas::CalcularColumnas(const std::string& campo) {
    calcular(campo, false);
}

void ControladorColumnas::CalcularColumnasY(const std::string& campo) {
    calcular(campo, true);
}

bool ControladorColumnas::anadirCampo(const std::string& campo) {
    const std::string base = doc_.BaseActual;
    const std::string tabla = doc_.TipoDist;
    doc_.CerrarBase();
    std::string motivo;
    if (!Documento::CrearCampo(base, tabla, campo, &motivo))
        ui_.mensaje(qs(motivo));
    calculadora_.limpiarDisplay();
    if (!doc_.AbrirBase(base)) {
        ui_.mensaje(qs(doc_.error.MensajeError));
        ui_.mostrarColumnas();
        return false;
    }
    ui_.mostrarColumnas();
    leido_ = false;
    if (doc_.ContarRegistros() > 0) {
        doc_.Data1.MoveFirst();
        leido_ = doc_.LeerVariable();
    }
    return true;
}

void ControladorColumnas::calcular(const std::string& campo, bool deY) {
    ejecutar([&] {
        if (doc_.BaseActual.empty() || !doc_.Data1.isOpen()) {
            ui_.mensaje(kNoHayDatos, kTituloAnadir);
            return;
        }
        const Ocupado ocupado(ui_);
        if (!anadirCampo(campo))
            return;
        const ColumnaDerivada* columna = buscarColumna(deY ? "Y" : "X", campo);
        if (!columna)
            return; // not an entry of the list: the new column stays empty
        rellenar(*columna, campo, deY);
    });
}

void ControladorColumnas::rellenar(const ColumnaDerivada& columna, const std::string& campo,
                                   bool deY) {
    const stats::KindInfo* tipo = doc_.kind();
    if (!tipo)
        return;
    const Operacion op = columna.operacion;
    const CamposVariable var = camposDe(*tipo, deY);
    if (op == Operacion::Marca && !var.continua) {
        ui_.mensaje(kSoloContinua);
        return;
    }
    const bool deFrecuencias = op == Operacion::Acumulada || op == Operacion::Relativa ||
                               op == Operacion::RelativaPorciento || esAcumulada(op);
    if (op == Operacion::Conjunta) {
        if (tipo->code != "DISDIS" && tipo->code != "CONCON" && tipo->code != "DISCON")
            return;
    } else if (!deFrecuencias && op != Operacion::Marca && !valoresCalculables(*tipo, deY)) {
        return; // the column stays empty on this kind
    }

    if (esAcumulada(op)) {
        // Cumulative frequencies follow the variable's order.
        doc_.error.clear();
        doc_.OrdenarDatos(var.continua ? var.inferior : var.valor);
        if (doc_.error.failed()) {
            ui_.mensaje(qs(doc_.error.MensajeError));
            return;
        }
        ui_.mostrarColumnas();
        doc_.Data1.MoveFirst();
        leido_ = doc_.LeerVariable();
    }

    EntradaColumna entrada;
    entrada.operacion = op;
    if (usaTotal(op) || usaMedia(op)) {
        if (!leido_) {
            ui_.mensaje(qs(doc_.error.MensajeError));
            return;
        }
        stats::ErrorRecord error;
        entrada.N = stats::TotalFrecuencias(error, doc_.listas.Frecuencias);
        if (!error.failed() && usaMedia(op))
            entrada.m = stats::MediaAritmetica(error, doc_.listas.Valores, doc_.listas.Frecuencias);
        if (error.failed()) {
            doc_.error = error;
            ui_.mensaje(QStringLiteral("%1\n\nLa columna «%2» se ha quedado vacía.")
                            .arg(qs(error.MensajeError), qs(campo)));
            return;
        }
    }

    RecordSet& datos = doc_.Data1;
    const int indice = datos.fieldIndex(campo);
    if (indice < 0)
        return; // the field could not be added (its message was shown)
    const auto columnaDe = [&datos](const std::string& f) {
        return datos.fieldIndex(f) >= 0 ? datos.column(f) : std::vector<CellValue>();
    };
    const std::vector<CellValue> ni = columnaDe("ni");
    std::vector<CellValue> xv, xi, xs, yv, yi, ys;
    const auto origen = [&](const CamposVariable& c, std::vector<CellValue>& v,
                            std::vector<CellValue>& inf, std::vector<CellValue>& sup) {
        OrigenValor o;
        if (c.continua) {
            inf = columnaDe(c.inferior);
            sup = columnaDe(c.superior);
            o.inferior = &inf;
            o.superior = &sup;
            o.campo = c.inferior;
        } else {
            v = columnaDe(c.valor);
            o.valor = &v;
            o.campo = c.valor;
        }
        return o;
    };
    if (op == Operacion::Conjunta) {
        entrada.x = origen(camposDe(*tipo, false), xv, xi, xs);
        entrada.y = origen(camposDe(*tipo, true), yv, yi, ys);
    } else if (!deFrecuencias) {
        entrada.x = origen(var, xv, xi, xs);
    }
    entrada.ni = &ni;

    ValoresColumna resultado = calcularColumna(entrada);
    // Records after a failure are left empty, also when the column is
    // filled again: never a mix of new and earlier values.
    const std::size_t filas = ni.size();
    const std::size_t escritos = resultado.valores.size();
    resultado.valores.resize(filas, CellValue::null());
    const int total = static_cast<int>(filas);
    datos.SetColumn(indice, resultado.valores,
                    [this, total](int hechos) { ui_.progreso(hechos, total); });
    emit doc_.datosCambiados(); // the grid shows the column at once
    ui_.mostrarColumnas();

    if (resultado.fallo) {
        const FalloColumna& f = *resultado.fallo;
        QString motivo = qs(textoError(f.codigo));
        if (!f.campo.empty())
            motivo += QStringLiteral(" (campo «%1»)").arg(qs(f.campo));
        const QString hecho =
            escritos == 0 ? QStringLiteral("la columna «%1» se ha quedado vacía.").arg(qs(campo))
                          : QStringLiteral("la columna «%1» queda rellena hasta el registro %2.")
                                .arg(qs(campo))
                                .arg(escritos);
        doc_.error.set(f.codigo, textoError(f.codigo));
        ui_.mensaje(QStringLiteral("%1 en el registro %2.\n\nEl cálculo se ha detenido: %3")
                        .arg(motivo)
                        .arg(f.registro + 1)
                        .arg(hecho));
    }
}

void ControladorColumnas::DBGrid1_HeadClick(int ColIndex) {
    ColumnaActual_ = static_cast<std::int16_t>(ColIndex);
    CampoActual_ = campoEn(ColIndex);
}

std::string ControladorColumnas::campoEn(int columna) const {
    if (!doc_.Data1.isOpen())
        return {};
    const std::vector<std::string>& campos = doc_.Data1.FieldNames();
    if (columna < 0 || columna >= static_cast<int>(campos.size()))
        return {};
    return campos[static_cast<std::size_t>(columna)];
}

void ControladorColumnas::mnuEliminarCol_Click() {
    const std::string campo = campoEn(ColumnaActual_);
    if (campo.empty())
        return;
    eliminarCampo(campo);
}

void ControladorColumnas::eliminarCampo(const std::string& campo) {
    ejecutar([&] {
        if (esCampoProtegido(campo)) {
            ui_.mensaje(kProtegida, kTituloEliminar);
            return;
        }
        if (doc_.ContarRegistros() < 1) {
            ui_.mensaje(kNoHayDatos, kTituloEliminar);
            return;
        }
        const Ocupado ocupado(ui_);
        const std::string base = doc_.BaseActual;
        const std::string tabla = doc_.TipoDist;
        doc_.CerrarBase();
        std::string motivo;
        if (!Documento::BorrarCampo(base, tabla, campo, &motivo))
            ui_.mensaje(qs(motivo));
        calculadora_.limpiarDisplay();
        if (!doc_.AbrirBase(base))
            ui_.mensaje(qs(doc_.error.MensajeError));
        ui_.mostrarColumnas();
        if (doc_.Data1.isOpen())
            doc_.Data1.MoveFirst();
        if (doc_.ContarRegistros() > 0)
            doc_.LeerVariable();
    });
}

void ControladorColumnas::mnuOrdenarCol_Click() {
    ejecutar([&] {
        const std::string campo = campoEn(ColumnaActual_);
        if (doc_.BaseActual.empty() || doc_.ContarRegistros() < 1 || campo.empty()) {
            ui_.mensaje(QStringLiteral("No hay un archivo abierto o no hay datos."),
                        QStringLiteral("¡ Error !"));
            return;
        }
        const Ocupado ocupado(ui_);
        doc_.error.clear();
        doc_.OrdenarDatos(campo);
        if (doc_.error.failed()) {
            calculadora_.mostrarErrorComando(qs(doc_.error.MensajeError), doc_.error.NumError);
            return;
        }
        doc_.LeerVariable();
        ui_.mostrarColumnas();
    });
}

bool ControladorColumnas::sumar(const std::string& campo) {
    if (doc_.ContarRegistros() > 0) {
        doc_.Data1.MoveFirst();
        doc_.LeerVariable(); // the engine's lists follow the table; the sum needs none
    }
    const auto fallar = [this](ErrorCode codigo, const std::string& detalle) {
        doc_.error.set(codigo,
                       detalle.empty() ? textoError(codigo) : textoError(codigo) + " " + detalle);
        return false;
    };
    if (!doc_.Data1.isOpen() || doc_.NumRegistros < 1) {
        doc_.error.MensajeError = "No hay ningún registro activo.";
        doc_.error.NumError = DbError::kNoCurrentRecord;
        return false;
    }
    if (doc_.Data1.fieldIndex(campo) < 0) {
        doc_.error.MensajeError = "No se encuentra el campo «" + citaBreve(campo) + "».";
        doc_.error.NumError = DbError::kFieldNotFound;
        return false;
    }
    const std::vector<CellValue> celdas = doc_.Data1.column(campo);
    const std::optional<double> suma = sumaColumna(celdas);
    if (!suma) {
        const auto mala = std::find_if(celdas.begin(), celdas.end(),
                                       [](const CellValue& v) { return !v.isNumber(); });
        if (mala == celdas.end())
            return fallar(ErrorCode::Overflow, {});
        const std::string donde = "(registro " + std::to_string(mala - celdas.begin() + 1) +
                                  " de «" + citaBreve(campo) + "»)";
        return fallar(mala->isText() ? ErrorCode::TypeMismatch : ErrorCode::InvalidUseOfNull,
                      donde);
    }
    estado_.suma = *suma;
    calculadora_.mostrarSumatorio(formatoResultado(*suma, locale_));
    return true;
}

bool ControladorColumnas::sumarCampo(const std::string& campo) {
    CampoActual_ = campo;
    bool hecho = false;
    ejecutar([&] { hecho = sumar(campo); });
    return hecho;
}

void ControladorColumnas::mnuSumarCol_Click() {
    // A failure is only noted in the error record: SUMATORIO keeps its text.
    ejecutar([&] { sumar(CampoActual_); });
}

QString ControladorColumnas::lineaNotas(const QString& campo, const QString& suma) {
    const QString etiqueta = QStringLiteral("S[") + campo + QStringLiteral("]= ");
    const int puntos = std::max<int>(0, 30 - static_cast<int>(etiqueta.size()));
    return QStringLiteral("\r\n") + etiqueta + QString(puntos, '.') + ' ' + suma +
           QStringLiteral("\r\n");
}

void ControladorColumnas::mnuSumarColNot_Click() {
    ejecutar([&] {
        if (!sumar(CampoActual_)) {
            calculadora_.mostrarAviso(qs(doc_.error.MensajeError));
            return;
        }
        ui_.pegarEnNotas(lineaNotas(qs(CampoActual_), calculadora_.estado().SUMATORIO));
    });
}

} // namespace kalnor
