#pragma once

#include <QByteArray>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

struct xcb_connection_t;

namespace kalnor {

// One connection to an X server (X11, or XWayland under Wayland), closed
// with the object. Window lists and close requests go through it.
class ConexionX {
public:
    // Connects to `pantalla` (":1"), or to $DISPLAY when empty. nullptr when
    // no X server can be reached: no display at all, a Wayland session without
    // XWayland, an offscreen run.
    static std::unique_ptr<ConexionX> abrir(const QByteArray& pantalla = {});
    ~ConexionX();
    ConexionX(const ConexionX&) = delete;
    ConexionX& operator=(const ConexionX&) = delete;

    xcb_connection_t* xcb() const { return conexion_; }
    std::uint32_t raiz() const { return raiz_; }
    // The atom called `nombre`, asked of the server the first time only.
    std::uint32_t atomo(const char* nombre);
    // Waits until the server has handled every request sent so far.
    void sincronizar() const;

private:
    ConexionX(xcb_connection_t* conexion, std::uint32_t raiz);

    xcb_connection_t* conexion_;
    std::uint32_t raiz_;
    std::map<std::string, std::uint32_t> atomos_;
};

} // namespace kalnor
