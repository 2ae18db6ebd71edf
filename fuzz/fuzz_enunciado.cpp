// Feeds arbitrary text to the statement's sanitiser and lays out and paints
// what it gives, as the notes box and the exports do. The output must stay
// within the nesting cap and Qt must take it without crashing or hanging.
#include "notes/EnunciadoSeguro.h"
#include "notes/RecursosNotas.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

namespace {

// Elements opened and not closed, at most, between <body> and </body>.
int anidamiento(std::string_view html) {
    const std::size_t inicio = html.find("<body");
    const std::size_t fin = html.rfind("</body>");
    if (inicio == std::string_view::npos || fin == std::string_view::npos)
        std::abort();
    int abiertos = 0;
    int maximo = 0;
    for (std::size_t i = html.find('>', inicio) + 1; i < fin; ++i) {
        if (html[i] != '<')
            continue;
        const std::size_t cierre = html.find('>', i);
        if (cierre == std::string_view::npos || cierre > fin)
            std::abort(); // a tag cut in two
        if (html[i + 1] == '/')
            --abiertos;
        else if (html[cierre - 1] != '/')
            maximo = std::max(maximo, ++abiertos);
        if (abiertos < 0)
            std::abort();
        i = cierre;
    }
    return abiertos == 0 ? maximo : kalnor::kAnidamientoMaximo + 1;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Lives as long as the process, as libFuzzer does.
    static const auto aplicacion = std::make_unique<QGuiApplication>(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view entrada(reinterpret_cast<const char*>(data), size);
    const kalnor::EnunciadoSeguro seguro = kalnor::sanearEnunciado(entrada);
    if (seguro.html && anidamiento(seguro.texto) > kalnor::kAnidamientoMaximo)
        std::abort();
    kalnor::DocumentoProtegido documento;
    const QString texto = QString::fromStdString(seguro.texto);
    if (seguro.html)
        documento.setHtml(texto);
    else
        documento.setPlainText(texto);
    documento.setTextWidth(400);
    QImage lienzo(400, 300, QImage::Format_ARGB32_Premultiplied);
    QPainter pintor(&lienzo);
    documento.drawContents(&pintor, QRectF(0, 0, 400, 300));
    return 0;
}
