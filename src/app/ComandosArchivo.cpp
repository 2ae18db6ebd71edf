#include "ComandosArchivo.h"

#include "DbError.h"
#include "DistribucionArchivo.h"
#include "Documento.h"
#include "InterfazComandos.h"
#include "access/ConversionAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <filesystem>
#include <system_error>

namespace kalnor {

namespace {

const QString kSinDatos = QStringLiteral("No hay un archivo abierto o no hay datos.");
const QString kTituloError = QStringLiteral("¡ Error !");

// Hourglass for the length of a command.
class Ocupado {
public:
    explicit Ocupado(InterfazComandos& ui) : ui_(ui) { ui_.ocupado(true); }
    ~Ocupado() { ui_.ocupado(false); }
    Ocupado(const Ocupado&) = delete;
    Ocupado& operator=(const Ocupado&) = delete;

private:
    InterfazComandos& ui_;
};

QString nombreDe(const QString& ruta) {
    return QFileInfo(ruta).fileName();
}

// Copies `origen` over `destino` through a temporary file beside it, so that
// a failed copy leaves `destino` as it was. Returns "" or the reason.
QString copiarArchivo(const QString& origen, const QString& destino) {
    const QString temporal = destino + QStringLiteral(".kalnor-tmp");
    QFile::remove(temporal);
    QFile fuente(origen);
    if (!fuente.copy(temporal)) {
        const QString motivo = fuente.errorString();
        QFile::remove(temporal);
        return motivo;
    }
    // A copy of a write-protected file must still take the user's changes.
    QFile::setPermissions(temporal, QFile::permissions(temporal) | QFileDevice::WriteOwner);
    std::error_code error;
    std::filesystem::rename(temporal.toStdString(), destino.toStdString(), error);
    if (error) {
        QFile::remove(temporal);
        return QString::fromLocal8Bit(error.message());
    }
    return {};
}

} // namespace

ComandosArchivo::ComandosArchivo(Documento& documento, const Rutas& rutas, InterfazComandos& ui,
                                 QObject* parent)
    : QObject(parent), documento_(documento), rutas_(rutas), ui_(ui) {
    connect(&documento_, &Documento::abierto, this, &ComandosArchivo::seguirCerrojo);
}

ComandosArchivo::~ComandosArchivo() = default;

QString ComandosArchivo::rutaCerrojo(const QString& archivo) {
    const QFileInfo info(archivo);
    return info.absoluteDir().filePath(QStringLiteral(".~kalnor.%1#").arg(info.fileName()));
}

void ComandosArchivo::seguirCerrojo() {
    const QString archivo = QString::fromStdString(documento_.BaseActual);
    // A file open only for reading is no one's to protect.
    const QString ruta =
        archivo.isEmpty() || documento_.soloLectura() ? QString() : rutaCerrojo(archivo);
    if (ruta == archivoCerrojo_)
        return;
    cerrojo_.reset(); // the previous file's lock goes
    archivoCerrojo_.clear();
    if (ruta.isEmpty())
        return;
    auto cerrojo = std::make_unique<QLockFile>(ruta);
    // Held as long as the file is open: only a holder that is gone (a
    // crash) makes the lock stale.
    cerrojo->setStaleLockTime(0);
    if (cerrojo->tryLock(0)) {
        cerrojo_ = std::move(cerrojo);
        archivoCerrojo_ = ruta;
    }
}

std::optional<bool> ComandosArchivo::abrirSoloLectura(const QString& archivo) {
    const QString ruta = rutaCerrojo(archivo);
    if (cerrojo_ && archivoCerrojo_ == ruta)
        return false; // this window holds it
    QLockFile prueba(ruta);
    prueba.setStaleLockTime(0);
    if (prueba.tryLock(0) || prueba.error() != QLockFile::LockFailedError)
        return false; // free (taken once the file opens), or a folder without locks
    qint64 pid = 0;
    QString equipo;
    QString programa;
    prueba.getLockInfo(&pid, &equipo, &programa);
    const QString quien = QStringLiteral("el proceso %1 en el equipo «%2»").arg(pid).arg(equipo);
    switch (ui_.otroKalnorLoTiene(nombreDe(archivo), quien)) {
    case InterfazComandos::AnteOtroKalnor::AbrirIgual:
        return false;
    case InterfazComandos::AnteOtroKalnor::SoloLectura:
        return true;
    case InterfazComandos::AnteOtroKalnor::Cancelar:
        break;
    }
    return std::nullopt;
}

void ComandosArchivo::ejecutar(const QString& clave) {
    try {
        if (clave == u"botonNUEVA")
            nueva();
        else if (clave == u"botonABRIR")
            abrir();
        else if (clave == u"botonGUARDAR")
            guardarComo();
        else if (clave == u"botonBORRAR")
            borrar();
        else if (clave == u"botonORDENAR")
            ordenar();
        else if (clave == u"botonRECUENTO")
            recuento();
        else if (clave == u"botonAYUDA")
            acercaDe();
        else if (clave == u"botonSALIR")
            salir();
    } catch (const DbError& e) {
        ui_.mostrarErrorComando(QString::fromStdString(e.what()), e.code());
    } catch (const std::exception& e) {
        ui_.mostrarErrorComando(QString::fromLocal8Bit(e.what()), 0);
    }
}

void ComandosArchivo::refrescar() {
    documento_.ContarRegistros();
    if (documento_.NumRegistros > 0)
        documento_.LeerVariable();
}

bool ComandosArchivo::sinDatos() const {
    return documento_.BaseActual.empty() || documento_.NumRegistros < 1;
}

void ComandosArchivo::mostrarTabla() {
    ui_.limpiarDisplay();
    const std::string base = documento_.BaseActual;
    if (!base.empty())
        documento_.AbrirBase(base);
    ui_.mostrarColumnas();
    if (documento_.NumRegistros > 0 && documento_.Data1.isOpen())
        documento_.Data1.Move(0);
}

void ComandosArchivo::reabrir(const std::string& base) {
    if (!base.empty())
        documento_.AbrirBase(base);
}

bool ComandosArchivo::abrirDistribucion(const QString& ruta) {
    const Ocupado ocupado(ui_);
    QString aAbrir = QFileInfo(ruta).absoluteFilePath();
    if (access::ConversionAccess::esArchivoAccess(aAbrir)) {
        const auto copia = copiaDeAccess(aAbrir);
        if (!copia)
            return false;
        aAbrir = *copia;
    }
    const std::optional<bool> soloLectura = abrirSoloLectura(aAbrir);
    if (!soloLectura)
        return false;
    if (documento_.AbrirBase(aAbrir.toStdString(), *soloLectura ? Documento::Acceso::SoloLectura
                                                                : Documento::Acceso::Escritura))
        return true;
    ui_.mensajeError(
        QStringLiteral("No se puede abrir «%1» como distribución:\n%2\n\n"
                       "La distribución abierta no ha cambiado.")
            .arg(nombreDe(ruta), QString::fromStdString(documento_.error.MensajeError)),
        kTituloError);
    return false;
}

bool ComandosArchivo::abrirAlEmpezar(const QString& ruta) {
    if (!abrirDistribucion(ruta))
        return false;
    const Ocupado ocupado(ui_);
    mostrarTabla();
    ui_.seleccionarPestana(1);
    return true;
}

std::optional<QString> ComandosArchivo::copiaDeAccess(const QString& original) {
    using access::ConversionAccess;
    const QString existente = ConversionAccess::copiaExistente(original, rutas_.RutaDat);
    if (!existente.isEmpty() &&
        !ui_.preguntar(QStringLiteral("«%1» es un archivo de Microsoft Access que ya se convirtió "
                                      "en «%2».\n\n¿ Desea convertirlo de nuevo y reemplazar "
                                      "esa copia ?\n(No: se abre la copia que ya existe.)")
                           .arg(nombreDe(original), existente))) {
        ui_.avisar(QStringLiteral("Se abre «%1», la copia de Kalnor del archivo de Access «%2».")
                       .arg(existente, nombreDe(original)));
        return existente;
    }
    const QString copia =
        existente.isEmpty() ? ConversionAccess::rutaCopia(original, rutas_.RutaDat) : existente;
    // The copy may be the open document: release it before it is replaced.
    const std::string anterior = documento_.BaseActual;
    const bool abiertaLaCopia =
        !anterior.empty() && QFileInfo(QString::fromStdString(anterior)).canonicalFilePath() ==
                                 QFileInfo(copia).canonicalFilePath();
    if (abiertaLaCopia)
        documento_.CerrarBase();
    const ConversionAccess conversion(programaConversion_);
    const auto resultado = conversion.convertir(original, copia, !existente.isEmpty());
    if (!resultado.ok) {
        if (abiertaLaCopia)
            reabrir(anterior);
        ui_.mensajeError(QStringLiteral("No se puede abrir «%1» como distribución:\n%2\n\n"
                                        "La distribución abierta no ha cambiado.")
                             .arg(nombreDe(original), resultado.mensaje),
                         kTituloError);
        return std::nullopt;
    }
    ui_.avisar(QStringLiteral("«%1» es un archivo de Microsoft Access: no se modifica. Se ha "
                              "convertido en «%2», que es la distribución que se abre.")
                   .arg(nombreDe(original), resultado.copia));
    return resultado.copia;
}

bool ComandosArchivo::nuevaTieneContenido(const QString& ruta) {
    if (!QFileInfo::exists(ruta))
        return false;
    const std::string base = ruta.toStdString();
    if (documento_.BaseActual == base)
        return documento_.ContarRegistros() > 0 || !documento_.Enunciado().empty();
    Documento otro;
    if (!otro.AbrirBase(base))
        return false; // not a distribution: nothing of the user's to keep
    return otro.ContarRegistros() > 0 || !otro.Enunciado().empty();
}

void ComandosArchivo::nueva() {
    refrescar();
    const stats::KindInfo* kind = ui_.elegirNuevaDistribucion();
    if (kind && !ui_.dejarDocumento())
        return;
    if (kind) {
        const QString ruta = rutaNueva(rutas_);
        if (!nuevaTieneContenido(ruta) ||
            ui_.preguntar(QStringLiteral("La distribución «Nueva.mdb» contiene datos o notas.\n"
                                         "¿ Desea reemplazarla por una distribución vacía ?"))) {
            const Ocupado ocupado(ui_);
            const std::string anterior = documento_.BaseActual;
            documento_.CerrarBase();
            try {
                CrearNueva((rutas_.RutaBin + "kalnor.ini").toStdString(), ruta.toStdString(),
                           std::string(kind->tipo),
                           std::string(kind->bivariate ? stats::kClaseBi : stats::kClaseUni));
                if (!documento_.AbrirBase(ruta.toStdString()))
                    throw DbError(documento_.error.MensajeError);
            } catch (const DbError& e) {
                reabrir(anterior);
                ui_.mensajeError(QStringLiteral("Error de E/S al crear distribución\n\n%1")
                                     .arg(QString::fromStdString(e.what())),
                                 kTituloError);
            }
        }
    }
    const Ocupado ocupado(ui_);
    mostrarTabla();
    ui_.seleccionarPestana(1);
}

void ComandosArchivo::abrir() {
    refrescar();
    const auto ruta = ui_.elegirArchivoAbrir(rutas_.RutaDat);
    if (!ruta || !ui_.dejarDocumento())
        return;
    if (!abrirDistribucion(*ruta))
        return;
    const Ocupado ocupado(ui_);
    mostrarTabla();
    ui_.seleccionarPestana(1);
}

void ComandosArchivo::guardarComo() {
    refrescar();
    if (sinDatos()) {
        ui_.mensajeError(kSinDatos, kTituloError);
        return;
    }
    guardarCopia();
}

bool ComandosArchivo::guardarCopia() {
    if (documento_.BaseActual.empty()) {
        ui_.mensajeError(kSinDatos, kTituloError);
        return false;
    }
    const auto elegida = ui_.elegirArchivoGuardar(rutas_.RutaDat);
    if (!elegida)
        return false;
    ui_.guardarNotas();
    const Ocupado ocupado(ui_);
    const QString origen = QString::fromStdString(documento_.BaseActual);
    const QString destino = QFileInfo(*elegida).absoluteFilePath();
    if (QFileInfo(origen).canonicalFilePath() == QFileInfo(destino).canonicalFilePath()) {
        mostrarTabla(); // saved onto itself: re-opened unchanged
        return false;
    }
    ui_.notasSiguenA(destino);
    documento_.CerrarBase();
    QString motivo = copiarArchivo(origen, destino);
    if (motivo.isEmpty() &&
        !documento_.AbrirBase(destino.toStdString(), Documento::Acceso::Escritura))
        motivo = QString::fromStdString(documento_.error.MensajeError);
    if (motivo.isEmpty() && documento_.soloLectura())
        motivo = QStringLiteral("ese archivo o su carpeta no admiten escritura");
    if (!motivo.isEmpty()) {
        ui_.notasSiguenA({});
        reabrir(origen.toStdString());
        ui_.mensajeError(QStringLiteral("No se ha podido guardar la distribución en «%1»:\n%2\n\n"
                                        "Se sigue trabajando con «%3».")
                             .arg(destino, motivo, nombreDe(origen)),
                         kTituloError);
        mostrarTabla();
        return false;
    }
    mostrarTabla();
    return true;
}

void ComandosArchivo::recargar() {
    if (documento_.BaseActual.empty())
        return;
    const Ocupado ocupado(ui_);
    mostrarTabla();
}

void ComandosArchivo::borrar() {
    refrescar();
    if (sinDatos()) {
        ui_.mensajeError(kSinDatos, kTituloError);
        return;
    }
    if (!ui_.preguntar(QStringLiteral("¿ Desea borrar los datos de la tabla ?")))
        return;
    const Ocupado ocupado(ui_);
    {
        RecordSet& datos = documento_.Data1;
        Database::Transaction transaccion(*datos.database());
        while (datos.RecordCount() > 0) {
            datos.MoveFirst();
            datos.Delete();
        }
        transaccion.commit();
    }
    reabrir(documento_.BaseActual);
    ui_.mostrarColumnas();
}

void ComandosArchivo::ordenar() {
    refrescar();
    if (sinDatos()) {
        ui_.mensajeError(kSinDatos, kTituloError);
        return;
    }
    const Ocupado ocupado(ui_);
    documento_.error.clear();
    documento_.OrdenarDatos();
    if (documento_.error.failed()) {
        ui_.mostrarErrorComando(QString::fromStdString(documento_.error.MensajeError),
                                documento_.error.NumError);
        return;
    }
    documento_.LeerVariable();
    ui_.mostrarColumnas();
}

void ComandosArchivo::recuento() {
    refrescar();
    if (sinDatos()) {
        ui_.mensajeError(kSinDatos, kTituloError);
        return;
    }
    const Ocupado ocupado(ui_);
    if (documento_.TipoDist != "CAT" && documento_.TipoDist != "DIS")
        return; // only a one-variable table of values can be tallied
    documento_.error.clear();
    documento_.OrdenarDatos("Xi");
    if (!documento_.error.failed())
        documento_.Recuento();
    if (documento_.error.failed())
        ui_.mostrarErrorComando(QString::fromStdString(documento_.error.MensajeError),
                                documento_.error.NumError);
    ui_.mostrarColumnas();
}

void ComandosArchivo::acercaDe() {
    ui_.mostrarAcercaDe();
}

void ComandosArchivo::salir() {
    if (ui_.dejarDocumento())
        ui_.salir();
}

} // namespace kalnor
