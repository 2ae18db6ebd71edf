#pragma once

#include <QString>

namespace kalnor {

// The three folders the program relies on, each ending in '/'.
struct Rutas {
    QString RutaDat; // distributions; "Nueva.mdb" is made here
    QString RutaHlp; // help file
    QString RutaBin; // template "kalnor.ini" and pictures
    // The installed program's own files, shared by every user and never
    // written to; empty when run from the build tree.
    QString RutaInstalada;

    // Whether `carpeta` lies among the installed program's files: what the
    // program would write beside a distribution opened there (a chart's
    // picture) goes to RutaDat instead.
    bool esInstalada(const QString& carpeta) const;

    // Beside the executable when run from the build tree (bin/ holds the
    // template); after installation bin/ and hlp/ come from the install's
    // data folder and dat/ is a per-user folder seeded with the examples.
    static Rutas desdePrograma(const QString& programDir);
};

} // namespace kalnor
