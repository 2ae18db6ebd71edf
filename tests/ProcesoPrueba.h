#pragma once

// Runs a program as a child of a test, as a user would: its arguments and
// standard input, under limits on its address space, processor time and
// wall-clock time, and, when the test runs as root, optionally as the user
// "nobody". A hostile file must end in a message, never in a machine that
// swaps or a test that hangs.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <grp.h>
#include <sys/resource.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace kalnor::testing {

struct Limites {
    rlim_t memoria = 0;     // bytes of address space; 0: no limit
    rlim_t segundosCpu = 0; // processor time; 0: no limit
    int esperaMs = 120000;  // wall clock, then the child is killed
    bool comoNadie = false; // as "nobody" when the test runs as root
};

struct Ejecucion {
    int codigo = -1; // -1: killed (by a limit or for running too long) or crashed
    std::string salida;
    std::string errores;
};

inline Ejecucion
ejecutar(const QString& programa, const std::vector<std::string>& args,
         const std::string& entrada = {}, const Limites& limites = {},
         const QProcessEnvironment& entorno = QProcessEnvironment::systemEnvironment()) {
    QStringList lista;
    for (const std::string& a : args)
        lista << QString::fromStdString(a);
    QProcess p;
    p.setProcessEnvironment(entorno);
    p.setChildProcessModifier([limites] {
#ifndef KALNOR_SIN_LIMITE_MEMORIA // the sanitizers reserve terabytes of addresses
        const rlimit memoria{limites.memoria, limites.memoria};
        if (limites.memoria != 0 && setrlimit(RLIMIT_AS, &memoria) != 0)
            _exit(126);
#endif
        const rlimit cpu{limites.segundosCpu, limites.segundosCpu};
        if (limites.segundosCpu != 0 && setrlimit(RLIMIT_CPU, &cpu) != 0)
            _exit(126);
        constexpr uid_t kNadie = 65534;
        if (limites.comoNadie && geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(kNadie) != 0 || setuid(kNadie) != 0))
            _exit(125);
    });
    p.start(programa, lista);
    Ejecucion r;
    if (!p.waitForStarted())
        return r;
    p.write(entrada.data(), static_cast<qint64>(entrada.size()));
    p.closeWriteChannel();
    if (!p.waitForFinished(limites.esperaMs)) {
        p.kill();
        p.waitForFinished();
    } else if (p.exitStatus() == QProcess::NormalExit) {
        r.codigo = p.exitCode();
    }
    r.salida = p.readAllStandardOutput().toStdString();
    r.errores = p.readAllStandardError().toStdString();
    return r;
}

} // namespace kalnor::testing
