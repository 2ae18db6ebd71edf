#include "CalculadoraGenerica.h"

#include "chart/ErrorGrafico.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

namespace kalnor {

namespace {

const QString kTitulo = QStringLiteral("Calculadora");
constexpr std::int16_t kNoEncontrado = 53; // classic "file not found"
constexpr int kEsperaCierre = 1500;        // ms a closing calculator is given

} // namespace

CalculadoraGenerica::CalculadoraGenerica() : CalculadoraGenerica(Opciones{}) {}

CalculadoraGenerica::CalculadoraGenerica(Opciones opciones) : opciones_(std::move(opciones)) {
    if (!opciones_.conectar)
        opciones_.conectar = [] { return ConexionX::abrir(); };
}

CalculadoraGenerica::~CalculadoraGenerica() {
    try {
        cerrar();
    } catch (...) {
        // Going down: nothing left to tell.
    }
}

bool CalculadoraGenerica::enMarcha() const {
    return proceso_ && proceso_->state() != QProcess::NotRunning;
}

qint64 CalculadoraGenerica::pid() const {
    return enMarcha() ? proceso_->processId() : 0;
}

void CalculadoraGenerica::abrir() {
    ventanas_ = std::make_unique<cWindows>(opciones_.conectar());
    if (ventanas_->CloseApp(kTitulo)) {
        // Let it go before the new one starts: a single-instance calculator
        // would otherwise hand the new start over to the closing one.
        QElapsedTimer reloj;
        reloj.start();
        while (ventanas_->FindWindow(kTitulo) && reloj.elapsed() < kEsperaCierre)
            QThread::msleep(50);
    }
    terminarPropia();

    QString ruta;
    for (const QString& programa : opciones_.programas) {
        ruta = opciones_.carpetas.isEmpty()
                   ? QStandardPaths::findExecutable(programa)
                   : QStandardPaths::findExecutable(programa, opciones_.carpetas);
        if (!ruta.isEmpty())
            break;
    }
    if (ruta.isEmpty())
        throw ErrorGrafico(kNoEncontrado,
                           QStringLiteral("No se encuentra ninguna calculadora del escritorio (%1)")
                               .arg(opciones_.programas.join(QStringLiteral(", ")))
                               .toStdString());
    auto proceso = std::make_unique<QProcess>();
    proceso->setProgram(ruta);
    // Its messages go where ours go instead of piling up unread.
    proceso->setProcessChannelMode(QProcess::ForwardedChannels);
    proceso->start();
    if (!proceso->waitForStarted(5000))
        throw ErrorGrafico(kNoEncontrado, QStringLiteral("No se ha podido iniciar %1: %2")
                                              .arg(ruta, proceso->errorString())
                                              .toStdString());
    proceso_ = std::move(proceso);
}

void CalculadoraGenerica::cerrar() {
    if (!ventanas_ && !proceso_)
        return; // not started during this run
    if (ventanas_)
        ventanas_->CloseApp(kTitulo);
    terminarPropia();
    ventanas_.reset();
}

void CalculadoraGenerica::terminarPropia() {
    // Without an X server (a Wayland session without XWayland, an offscreen
    // run) no window can be found by its title, and a calculator whose title
    // is not "Calculadora" (xcalc, kcalc...) is not found either: the one this
    // object started is ended instead, politely first.
    if (!enMarcha()) {
        proceso_.reset();
        return;
    }
    if (!proceso_->waitForFinished(ventanas_ && ventanas_->hayServidorX() ? 300 : 0)) {
        proceso_->terminate();
        if (!proceso_->waitForFinished(kEsperaCierre)) {
            proceso_->kill();
            proceso_->waitForFinished(kEsperaCierre);
        }
    }
    proceso_.reset();
}

} // namespace kalnor
