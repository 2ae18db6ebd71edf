#pragma once

#include <QString>

namespace kalnor {

// The three folders the program relies on, each ending in '/'.
struct Rutas {
    QString RutaDat; // distributions; "Nueva.mdb" is made here
    QString RutaHlp; // help file
    QString RutaBin; // template "kalnor.ini" and pictures

    // Beside the executable when run from the build tree (bin/ holds the
    // template); after installation bin/ and hlp/ come from the install's
    // data folder and dat/ is a per-user folder seeded with the examples.
    static Rutas desdePrograma(const QString& programDir);
};

} // namespace kalnor
