#include "ConexionX.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace kalnor {

std::unique_ptr<ConexionX> ConexionX::abrir(const QByteArray& pantalla) {
    if (pantalla.isEmpty() && qEnvironmentVariableIsEmpty("DISPLAY"))
        return nullptr;
    int numero = 0;
    xcb_connection_t* c = xcb_connect(pantalla.isEmpty() ? nullptr : pantalla.constData(), &numero);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return nullptr;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < numero && it.rem; ++i)
        xcb_screen_next(&it);
    if (!it.rem) {
        xcb_disconnect(c);
        return nullptr;
    }
    return std::unique_ptr<ConexionX>(new ConexionX(c, it.data->root));
}

ConexionX::ConexionX(xcb_connection_t* conexion, std::uint32_t raiz)
    : conexion_(conexion), raiz_(raiz) {}

ConexionX::~ConexionX() {
    xcb_disconnect(conexion_);
}

std::uint32_t ConexionX::atomo(const char* nombre) {
    const auto hallado = atomos_.find(nombre);
    if (hallado != atomos_.end())
        return hallado->second;
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(conexion_, 0, static_cast<std::uint16_t>(std::strlen(nombre)), nombre);
    xcb_generic_error_t* error = nullptr;
    xcb_intern_atom_reply_t* respuesta = xcb_intern_atom_reply(conexion_, cookie, &error);
    std::free(error);
    const std::uint32_t valor = respuesta ? respuesta->atom : std::uint32_t{XCB_ATOM_NONE};
    std::free(respuesta);
    if (valor != XCB_ATOM_NONE)
        atomos_.emplace(nombre, valor);
    return valor;
}

void ConexionX::sincronizar() const {
    xcb_generic_error_t* error = nullptr;
    std::free(xcb_get_input_focus_reply(conexion_, xcb_get_input_focus(conexion_), &error));
    std::free(error);
}

} // namespace kalnor
