#include "cWindows.h"

#include <QByteArrayList>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace kalnor {

namespace {

// Replies of xcb are malloc'ed: freed with the holder.
template <typename T> using Respuesta = std::unique_ptr<T, decltype(&std::free)>;

template <typename T> Respuesta<T> tomar(T* puntero, xcb_generic_error_t* error) {
    std::free(error);
    return Respuesta<T>(puntero, &std::free);
}

struct Propiedad {
    xcb_atom_t tipo = XCB_ATOM_NONE;
    QByteArray datos;
};

// Titles and class names are short; this bound only guards against a hostile
// property (in 32-bit units).
constexpr std::uint32_t kLargoMaximo = 16384;

Propiedad leer(xcb_connection_t* c, xcb_window_t ventana, xcb_atom_t nombre,
               xcb_atom_t tipo = XCB_GET_PROPERTY_TYPE_ANY) {
    xcb_generic_error_t* error = nullptr;
    auto r = tomar(xcb_get_property_reply(
                       c, xcb_get_property(c, 0, ventana, nombre, tipo, 0, kLargoMaximo), &error),
                   error);
    if (!r || r->type == XCB_ATOM_NONE)
        return {};
    const int largo = xcb_get_property_value_length(r.get());
    return {r->type, QByteArray(static_cast<const char*>(xcb_get_property_value(r.get())), largo)};
}

std::vector<std::uint32_t> comoLista(const Propiedad& p) {
    std::vector<std::uint32_t> valores(static_cast<std::size_t>(p.datos.size()) / 4);
    std::memcpy(valores.data(), p.datos.constData(), valores.size() * 4);
    return valores;
}

constexpr std::uint32_t kEstadoIcono = 3; // IconicState of WM_CHANGE_STATE

} // namespace

cWindows::cWindows() : cWindows(ConexionX::abrir()) {}

cWindows::cWindows(std::unique_ptr<ConexionX> conexion) : conexion_(std::move(conexion)) {}

cWindows::~cWindows() = default;

std::vector<std::uint32_t> cWindows::superiores() {
    std::vector<std::uint32_t> ventanas;
    if (!conexion_)
        return ventanas;
    xcb_connection_t* c = conexion_->xcb();
    xcb_generic_error_t* error = nullptr;
    auto arbol =
        tomar(xcb_query_tree_reply(c, xcb_query_tree(c, conexion_->raiz()), &error), error);
    if (!arbol)
        return ventanas;
    const xcb_window_t* hijos = xcb_query_tree_children(arbol.get());
    const int n = xcb_query_tree_children_length(arbol.get());
    // The server lists the stack bottom first; the desktop's order is topmost first.
    for (int i = n - 1; i >= 0; --i)
        ventanas.push_back(cliente(hijos[i], 2));
    return ventanas;
}

std::uint32_t cWindows::cliente(std::uint32_t ventana, int profundidad) {
    // A window manager puts each program's window inside a frame of its own
    // and marks the program's window with WM_STATE; without one (a bare X
    // server) the root's children are the programs' windows themselves.
    xcb_connection_t* c = conexion_->xcb();
    const std::uint32_t estado = conexion_->atomo("WM_STATE");
    if (leer(c, ventana, estado).tipo != XCB_ATOM_NONE || profundidad == 0)
        return ventana;
    xcb_generic_error_t* error = nullptr;
    auto arbol = tomar(xcb_query_tree_reply(c, xcb_query_tree(c, ventana), &error), error);
    if (!arbol)
        return ventana;
    const xcb_window_t* hijos = xcb_query_tree_children(arbol.get());
    const int n = xcb_query_tree_children_length(arbol.get());
    for (int i = n - 1; i >= 0; --i) {
        const std::uint32_t dentro = cliente(hijos[i], profundidad - 1);
        if (leer(c, dentro, estado).tipo != XCB_ATOM_NONE)
            return dentro;
    }
    return ventana;
}

bool cWindows::visible(std::uint32_t ventana) {
    xcb_connection_t* c = conexion_->xcb();
    xcb_generic_error_t* error = nullptr;
    auto a = tomar(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, ventana), &error), error);
    return a && a->map_state == XCB_MAP_STATE_VIEWABLE;
}

QString cWindows::WindowText(std::uint32_t ventana) {
    xcb_connection_t* c = conexion_->xcb();
    const std::uint32_t utf8 = conexion_->atomo("UTF8_STRING");
    Propiedad p = leer(c, ventana, conexion_->atomo("_NET_WM_NAME"), utf8);
    if (p.datos.isEmpty())
        p = leer(c, ventana, XCB_ATOM_WM_NAME);
    // A title ends at its first NUL, if it holds one.
    const qsizetype fin = p.datos.indexOf('\0');
    if (fin >= 0)
        p.datos.truncate(fin);
    return p.tipo == utf8 ? QString::fromUtf8(p.datos) : QString::fromLatin1(p.datos);
}

QString cWindows::claseDe(std::uint32_t ventana) {
    // WM_CLASS holds "instance\0class\0".
    const QList<QByteArray> partes =
        leer(conexion_->xcb(), ventana, XCB_ATOM_WM_CLASS).datos.split('\0');
    const QByteArray clase =
        partes.size() > 1 && !partes[1].isEmpty() ? partes[1] : partes.value(0);
    return QString::fromLatin1(clase).left(255);
}

bool cWindows::esEscritorio(std::uint32_t ventana) {
    const std::vector<std::uint32_t> tipos = comoLista(
        leer(conexion_->xcb(), ventana, conexion_->atomo("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM));
    return std::ranges::find(tipos, conexion_->atomo("_NET_WM_WINDOW_TYPE_DESKTOP")) != tipos.end();
}

bool cWindows::admite(std::uint32_t ventana, std::uint32_t protocolo) {
    const std::vector<std::uint32_t> protocolos =
        comoLista(leer(conexion_->xcb(), ventana, conexion_->atomo("WM_PROTOCOLS"), XCB_ATOM_ATOM));
    return std::ranges::find(protocolos, protocolo) != protocolos.end();
}

void cWindows::enviar(std::uint32_t destino, std::uint32_t mascara, std::uint32_t ventana,
                      std::uint32_t tipo, std::uint32_t dato0, std::uint32_t dato1) {
    xcb_client_message_event_t evento{};
    evento.response_type = XCB_CLIENT_MESSAGE;
    evento.format = 32;
    evento.window = ventana;
    evento.type = tipo;
    evento.data.data32[0] = dato0;
    evento.data.data32[1] = dato1;
    char bytes[32] = {};
    static_assert(sizeof(evento) == sizeof(bytes));
    std::memcpy(bytes, &evento, sizeof(bytes));
    xcb_send_event(conexion_->xcb(), 0, destino, mascara, bytes);
}

std::vector<VentanaListada> cWindows::EnumTopWindows(ListaVentanas* lista) {
    if (lista)
        lista->Clear();
    std::vector<VentanaListada> ventanas;
    for (const std::uint32_t v : superiores()) {
        if (!visible(v))
            continue;
        const QString titulo = WindowText(v);
        if (titulo.isEmpty())
            continue;
        ventanas.push_back({titulo, v});
        if (lista)
            lista->AddItem(titulo, v);
    }
    return ventanas;
}

std::uint32_t cWindows::FindWindow(const QString& titulo, const QString& clase) {
    for (const std::uint32_t v : superiores())
        if (WindowText(v) == titulo && (clase.isEmpty() || claseDe(v) == clase) && !esEscritorio(v))
            return v;
    return 0;
}

QString cWindows::ClassName(const QString& titulo) {
    const std::uint32_t v = FindWindow(titulo);
    return v ? claseDe(v) : QString();
}

bool cWindows::CloseApp(const QString& titulo, const QString& clase) {
    if (!conexion_ || titulo == u"Progman")
        return false;
    const std::uint32_t v = FindWindow(titulo, clase);
    if (!v)
        return false;
    const std::uint32_t borrar = conexion_->atomo("WM_DELETE_WINDOW");
    if (admite(v, borrar)) {
        // ICCCM: the program decides how to close, as with its own close button.
        enviar(v, XCB_EVENT_MASK_NO_EVENT, v, conexion_->atomo("WM_PROTOCOLS"), borrar,
               XCB_CURRENT_TIME);
    } else {
        // A window that takes no close request: ask the window manager (EWMH),
        // which knows how to close it. Without one nothing happens: the
        // program is never killed from here.
        enviar(conexion_->raiz(),
               XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY, v,
               conexion_->atomo("_NET_CLOSE_WINDOW"), XCB_CURRENT_TIME, 2);
    }
    conexion_->sincronizar();
    return true;
}

void cWindows::MinimizeAll(const QString& clase) {
    if (!conexion_)
        return;
    for (const VentanaListada& listada : EnumTopWindows()) {
        const std::uint32_t v = FindWindow(listada.titulo, clase);
        if (!v)
            continue;
        // ICCCM 4.1.4: iconifying is asked of the window manager through the root.
        enviar(conexion_->raiz(),
               XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY, v,
               conexion_->atomo("WM_CHANGE_STATE"), kEstadoIcono, 0);
    }
    conexion_->sincronizar();
}

} // namespace kalnor
