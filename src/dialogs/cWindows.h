#pragma once

#include "ConexionX.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace kalnor {

// A top-level window as EnumTopWindows lists it.
struct VentanaListada {
    QString titulo;
    std::uint32_t handle = 0;
};

// A list shown to the user that EnumTopWindows may fill: one entry per window,
// its text the title and its item data the handle.
class ListaVentanas {
public:
    virtual ~ListaVentanas() = default;
    virtual void Clear() = 0;
    virtual void AddItem(const QString& texto, std::uint32_t itemData) = 0;
};

// The top-level windows of the desktop, found by title so that a program this
// one started (the desktop calculator) can be asked to close again. Works on
// the X server of the connection; with none (no display, Wayland without
// XWayland, offscreen) it finds nothing and every request does nothing.
class cWindows {
public:
    // On the desktop's display ($DISPLAY), when there is one.
    cWindows();
    explicit cWindows(std::unique_ptr<ConexionX> conexion);
    ~cWindows();

    bool hayServidorX() const { return conexion_ != nullptr; }

    // Visible top-level windows with a title, topmost first. `lista`, when
    // given, is emptied and filled with them.
    std::vector<VentanaListada> EnumTopWindows(ListaVentanas* lista = nullptr);
    // Class (the class part of WM_CLASS, at most 255 characters) of the
    // window titled `titulo`; empty when there is none.
    QString ClassName(const QString& titulo);
    // Asks the window titled `titulo` (of class `clase`, when given) to close,
    // the way the window manager's close button does. Never the desktop: the
    // title "Progman" and desktop-type windows are refused. True when a
    // window was found and asked.
    bool CloseApp(const QString& titulo, const QString& clase = {});
    // Asks every window EnumTopWindows lists (of class `clase`, when given)
    // to be minimized.
    void MinimizeAll(const QString& clase = {});
    // The first top-level window, topmost first, titled `titulo` and of class
    // `clase` when given, visible or not; 0 when none (desktop windows are
    // never found).
    std::uint32_t FindWindow(const QString& titulo, const QString& clase = {});

private:
    QString WindowText(std::uint32_t ventana);
    QString claseDe(std::uint32_t ventana);
    std::vector<std::uint32_t> superiores();
    std::uint32_t cliente(std::uint32_t ventana, int profundidad);
    bool visible(std::uint32_t ventana);
    bool esEscritorio(std::uint32_t ventana);
    bool admite(std::uint32_t ventana, std::uint32_t protocolo);
    void enviar(std::uint32_t destino, std::uint32_t mascara, std::uint32_t ventana,
                std::uint32_t tipo, std::uint32_t dato0, std::uint32_t dato1);

    std::unique_ptr<ConexionX> conexion_;
};

} // namespace kalnor
