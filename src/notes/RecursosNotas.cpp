#include "RecursosNotas.h"

#include "EnunciadoSeguro.h"

#include <QBuffer>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QMimeData>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QUrl>

namespace kalnor {

namespace {

// Pixels of one picture, and of all the pictures of a document, at most.
constexpr qint64 kPixelesImagen = 4096LL * 4096;
constexpr qint64 kPixelesDocumento = 3 * kPixelesImagen;

QImage vacia() {
    QImage imagen(1, 1, QImage::Format_ARGB32);
    imagen.fill(Qt::transparent);
    return imagen;
}

} // namespace

// The pictures decoded so far (a document asks for them on every paint).
struct AlmacenImagenes {
    QHash<QString, QImage> imagenes;
    qint64 pixeles = 0;

    QImage imagen(const QUrl& url) {
        const QString clave = url.toString(QUrl::FullyEncoded);
        if (const auto it = imagenes.constFind(clave); it != imagenes.constEnd())
            return *it;
        QImage r = decodificar(url);
        if (r.isNull())
            r = vacia();
        else
            pixeles += qint64(r.width()) * r.height();
        imagenes.insert(clave, r);
        return r;
    }

    QImage decodificar(const QUrl& url) const {
        if (url.scheme().compare(u"data", Qt::CaseInsensitive) != 0)
            return {};
        const QByteArray ruta = url.path(QUrl::FullyEncoded).toLatin1();
        if (ruta.size() > qsizetype(kImagenEmbebidaMaxima))
            return {};
        const qsizetype coma = ruta.indexOf(',');
        if (coma < 0)
            return {};
        const QByteArray cabeza = ruta.left(coma).toLower();
        QByteArray formato;
        for (const char* tipo : {"png", "jpeg", "jpg", "gif", "bmp"})
            if (cabeza == QByteArray("image/") + tipo + ";base64")
                formato = tipo;
        if (formato.isEmpty())
            return {};
        QByteArray datos =
            QByteArray::fromBase64(QByteArray::fromPercentEncoding(ruta.mid(coma + 1)));
        QBuffer buffer(&datos);
        buffer.open(QIODevice::ReadOnly);
        QImageReader lector(&buffer, formato);
        lector.setAutoDetectImageFormat(false);
        lector.setAllocationLimit(int(kPixelesImagen * 4 / (1024 * 1024)));
        const QSize tam = lector.size();
        const qint64 n = qint64(tam.width()) * tam.height();
        if (!tam.isValid() || n > kPixelesImagen || pixeles + n > kPixelesDocumento)
            return {};
        return lector.read();
    }
};

DocumentoProtegido::DocumentoProtegido(QObject* parent)
    : QTextDocument(parent), almacen_(std::make_unique<AlmacenImagenes>()) {}

DocumentoProtegido::~DocumentoProtegido() = default;

QVariant DocumentoProtegido::loadResource(int, const QUrl& name) {
    return almacen_->imagen(name);
}

CajaNotas::CajaNotas(QWidget* parent)
    : QTextEdit(parent), almacen_(std::make_unique<AlmacenImagenes>()) {}

CajaNotas::~CajaNotas() = default;

QVariant CajaNotas::loadResource(int, const QUrl& name) {
    return almacen_->imagen(name);
}

void CajaNotas::insertFromMimeData(const QMimeData* source) {
    if (!acceptRichText() || !source->hasHtml()) {
        QTextEdit::insertFromMimeData(source);
        return;
    }
    // Taken as HTML whatever its first line looks like.
    const EnunciadoSeguro seguro = sanearEnunciado("<html><body>" + source->html().toStdString());
    textCursor().insertFragment(
        QTextDocumentFragment::fromHtml(QString::fromStdString(seguro.texto), document()));
    ensureCursorVisible();
}

bool mostrarEnunciado(QTextEdit& caja, std::string_view texto) {
    const EnunciadoSeguro enunciado = sanearEnunciado(texto);
    const QString seguro = QString::fromStdString(enunciado.texto);
    if (enunciado.html)
        caja.setHtml(seguro);
    else
        caja.setPlainText(seguro);
    return enunciado.recortado();
}

} // namespace kalnor
