// A distribution file is something a student e-mails: its statement may be
// made to hurt. Each hostile statement is written into a new distribution
// with SQLite, then shown in the notes editor and exported by kalnor-cli,
// each in a child process with limited memory and time. Both must end with
// a correct result or a clear message, and never read a file of the disk.

#include "../app/EntornoKalnor.h"

#include "notes/AccionesNotas.h"
#include "notes/EditorNotas.h"
#include "notes/ExportacionNotas.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QProcess>
#include <QTest>
#include <QTextEdit>

#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

using namespace kalnor;
using namespace kalnor::prueba;

namespace {

// Limits of every child: address space and processor time.
constexpr rlim_t kMemoria = rlim_t{1} << 30;
constexpr rlim_t kSegundos = 30;

void limitar() {
#ifndef KALNOR_SIN_LIMITE_MEMORIA // the sanitizers reserve terabytes of addresses
    const rlimit memoria{kMemoria, kMemoria};
    if (setrlimit(RLIMIT_AS, &memoria) != 0)
        _exit(126);
#endif
    const rlimit tiempo{kSegundos, kSegundos};
    if (setrlimit(RLIMIT_CPU, &tiempo) != 0)
        _exit(126);
}

QString leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
}

// Child: shows the statement of `ruta` in the notes editor, paints it, and
// exports the notes to `salida`.pdf/.odt/.html. Prints what it saw.
int mostrarEnEditor(const QString& ruta, const QString& salida) {
    Documento doc;
    if (!doc.AbrirBase(ruta.toStdString()))
        return 3;
    EditorNotas editor(doc);
    editor.resize(800, 600);
    editor.show();
    QApplication::processEvents();
    (void)editor.grab(); // paints the text and its pictures
    for (const char* sufijo : {".pdf", ".odt", ".html"}) {
        const QString destino = salida + QString::fromLatin1(sufijo);
        if (!editor.acciones().exportarA(destino, *formatoPorNombre(destino)))
            return 4;
    }
    const QString texto = editor.caja()->toPlainText();
    std::printf("letras %lld\n", static_cast<long long>(texto.size()));
    std::printf("solo-lectura %d\n", editor.caja()->isReadOnly() ? 1 : 0);
    std::printf("fondo %d\n", texto.contains(QStringLiteral("FONDO")) ? 1 : 0);
    for (const QLabel* rotulo : editor.findChildren<QLabel*>())
        if (rotulo->isVisible())
            std::printf("rótulo %s\n", qPrintable(rotulo->text()));
    return 0;
}

struct Resultado {
    int codigo = -1; // -1: killed, crashed or out of time
    QString salida;
    QString errores;
};

// `programa` with `argumentos`, in `carpeta`, under the limits.
Resultado ejecutarLimitado(const QString& programa, const QStringList& argumentos,
                           const QString& carpeta) {
    QProcess p;
    p.setWorkingDirectory(carpeta);
    p.setChildProcessModifier(limitar);
    p.start(programa, argumentos);
    Resultado r;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    if (p.exitStatus() == QProcess::NormalExit)
        r.codigo = p.exitCode();
    r.salida = QString::fromUtf8(p.readAllStandardOutput());
    r.errores = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QString repetir(const QString& trozo, int veces) {
    QString r;
    r.reserve(trozo.size() * veces);
    for (int i = 0; i < veces; ++i)
        r += trozo;
    return r;
}

QString anidado(const QString& abre, const QString& cierra, int niveles) {
    return QStringLiteral("<html><body>") + repetir(abre, niveles) + QStringLiteral("FONDO") +
           repetir(cierra, niveles) + QStringLiteral("</body></html>");
}

bool escribirEnunciado(const QString& ruta, const QByteArray& texto) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(ruta.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    sqlite3_stmt* st = nullptr;
    bool ok = sqlite3_prepare_v2(db, "UPDATE ENUNCIADO SET ENUNCIADO = ?1", -1, &st, nullptr) ==
              SQLITE_OK;
    ok = ok && sqlite3_bind_text(st, 1, texto.constData(), static_cast<int>(texto.size()),
                                 SQLITE_TRANSIENT) == SQLITE_OK;
    ok = ok && sqlite3_step(st) == SQLITE_DONE && sqlite3_changes(db) == 1;
    sqlite3_finalize(st);
    sqlite3_close(db);
    return ok;
}

// A picture nobody else has: the test looks for it in what is exported.
void crearImagen(const QString& ruta) {
    QImage imagen(97, 89, QImage::Format_RGB32);
    imagen.fill(QColor(12, 34, 56));
    QPainter(&imagen).fillRect(10, 10, 40, 30, QColor(210, 180, 30));
    imagen.save(ruta, "PNG");
}

QString imagenIncrustada() {
    QImage imagen(40, 30, QImage::Format_RGB32);
    imagen.fill(QColor(1, 2, 3));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    imagen.save(&buffer, "PNG");
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
}

std::uint32_t crc32(const QByteArray& datos) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char c : datos) {
        crc ^= static_cast<std::uint8_t>(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray trozoPng(const char* tipo, const QByteArray& datos) {
    const auto be32 = [](std::uint32_t v) {
        QByteArray r;
        for (int d = 24; d >= 0; d -= 8)
            r += static_cast<char>((v >> d) & 0xFF);
        return r;
    };
    const QByteArray cuerpo = QByteArray(tipo) + datos;
    return be32(static_cast<std::uint32_t>(datos.size())) + cuerpo + be32(crc32(cuerpo));
}

// A PNG of a few bytes that says it is 30,000 × 30,000 pixels (3.6 GB).
QString imagenQueSeDiceEnorme() {
    QByteArray cabecera;
    for (const int lado : {30000, 30000})
        for (int d = 24; d >= 0; d -= 8)
            cabecera += static_cast<char>((lado >> d) & 0xFF);
    cabecera += QByteArray("\x08\x06\x00\x00\x00", 5); // 8 bits, RGBA
    const QByteArray png = QByteArray("\x89PNG\r\n\x1a\n", 8) + trozoPng("IHDR", cabecera) +
                           trozoPng("IDAT", qCompress(QByteArray(64, 0)).mid(4)) +
                           trozoPng("IEND", {});
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
}

// Whether a written file holds a picture `ancho` pixels wide: ODT keeps
// pictures under Pictures/ (names are not compressed), PDF as image objects
// with their width, HTML as <img>.
bool tieneImagen(const QString& ruta, int ancho) {
    const QString bytes = leer(ruta);
    if (ruta.endsWith(QStringLiteral(".odt")))
        return bytes.contains(QStringLiteral("Pictures/"));
    if (ruta.endsWith(QStringLiteral(".pdf")))
        return bytes.contains(QStringLiteral("/Width %1\n").arg(ancho));
    return bytes.contains(QStringLiteral("<img"), Qt::CaseInsensitive);
}

} // namespace

class EnunciadoHostilTest : public QObject {
    Q_OBJECT

private slots:
    void seMuestraYSeExportaSinDanio_data() {
        QTest::addColumn<QString>("enunciado");
        QTest::addColumn<bool>("fondo");     // the innermost text is shown
        QTest::addColumn<bool>("imagen");    // a picture reaches the exports
        QTest::addColumn<bool>("recortado"); // the statement is too big
        const QString archivo = QStringLiteral("ARCHIVO");
        QTest::newRow("5.000 tablas anidadas")
            << anidado("<table><tr><td>", "</td></tr></table>", 5000) << true << false << false;
        QTest::newRow("30 tablas anidadas")
            << anidado("<table border=1><tr><td>x</td><td>", "</td></tr></table>", 30) << true
            << false << false;
        QTest::newRow("100.000 divs anidados")
            << anidado("<div>", "</div>", 100000) << true << false << false;
        QTest::newRow("imagen de /dev/zero")
            << QStringLiteral("<p>FONDO</p><img src=\"/dev/zero\"><img src=\"file:///dev/zero\">")
            << true << false << false;
        QTest::newRow("imagen del disco de quien lo abre")
            << QStringLiteral("<p>FONDO</p><img src=\"%1\" width=1><img src=\"file://%1\">"
                              "<img src=\"secreto.png\"><img src=\"./secreto.png\" width=1>")
                   .arg(archivo)
            << true << false << false;
        QTest::newRow("imagen incrustada")
            << QStringLiteral("<p>FONDO</p><img src=\"%1\">").arg(imagenIncrustada()) << true
            << true << false;
        QTest::newRow("3 MB")
            << QStringLiteral("<html><body>") +
                   repetir(QStringLiteral("<p>Párrafo del enunciado, <b>largo</b>.</p>\n"), 70000)
            << false << false << true;
    }

    void seMuestraYSeExportaSinDanio() {
        QFETCH(QString, enunciado);
        QFETCH(bool, fondo);
        QFETCH(bool, imagen);
        QFETCH(bool, recortado);
        EntornoKalnor entorno;
        const QString carpeta = entorno.rutas().RutaDat;
        const QString secreto = carpeta + "secreto.png";
        crearImagen(secreto);
        const QString ruta = entorno.crear("hostil.mdb", "DIS");
        QVERIFY(escribirEnunciado(ruta,
                                  enunciado.replace(QStringLiteral("ARCHIVO"), secreto).toUtf8()));

        // The window's notes editor.
        const Resultado editor = ejecutarLimitado(
            QCoreApplication::applicationFilePath(),
            {QStringLiteral("--mostrar-en-editor"), ruta, carpeta + "notas"}, carpeta);
        QVERIFY2(editor.codigo == 0, qPrintable(editor.errores.right(2000)));
        QVERIFY2(editor.salida.contains(QStringLiteral("fondo %1").arg(fondo ? 1 : 0)),
                 qPrintable(editor.salida));
        QVERIFY(editor.salida.contains(QStringLiteral("solo-lectura %1").arg(recortado ? 1 : 0)));
        if (recortado)
            QVERIFY2(editor.salida.contains(QStringLiteral("3,0 MB")), qPrintable(editor.salida));
        for (const char* sufijo : {".pdf", ".odt", ".html"}) {
            const QString exportado = carpeta + "notas" + QString::fromLatin1(sufijo);
            QVERIFY2(tieneImagen(exportado, imagen ? 40 : 97) == imagen, qPrintable(exportado));
            QVERIFY(!leer(exportado).contains(QStringLiteral("secreto.png")));
        }

        // kalnor-cli exportar: the same statement in the informe.
        for (const char* sufijo : {".pdf", ".odt", ".html"}) {
            const QString informe = carpeta + "informe" + QString::fromLatin1(sufijo);
            const Resultado cli = ejecutarLimitado(
                QStringLiteral(KALNOR_CLI), {QStringLiteral("exportar"), ruta, informe}, carpeta);
            QVERIFY2(cli.codigo == 0, qPrintable(informe + ": " + cli.errores.right(2000)));
            QCOMPARE(cli.errores.contains(QStringLiteral("3,0 MB")), recortado);
            QVERIFY2(tieneImagen(informe, imagen ? 40 : 97) == imagen, qPrintable(informe));
            QVERIFY(!leer(informe).contains(QStringLiteral("secreto.png")));
            if (QString(sufijo) == u".html") {
                QTextDocument d;
                d.setHtml(QString::fromUtf8(leer(informe).toLatin1()));
                QCOMPARE(d.toPlainText().contains(QStringLiteral("FONDO")), fondo);
                QCOMPARE(d.toPlainText().contains(QStringLiteral("3,0 MB")), recortado);
            }
        }
    }

    // A picture the file holds but that would take gigabytes once decoded is
    // shown empty, and nothing runs out of memory.
    void laImagenQueSeDiceEnormeNoSeDescomprime() {
        EntornoKalnor entorno;
        const QString carpeta = entorno.rutas().RutaDat;
        const QString ruta = entorno.crear("enorme.mdb", "DIS");
        QVERIFY(escribirEnunciado(
            ruta,
            QStringLiteral("<p>FONDO</p><img src=\"%1\">").arg(imagenQueSeDiceEnorme()).toUtf8()));
        const Resultado editor = ejecutarLimitado(
            QCoreApplication::applicationFilePath(),
            {QStringLiteral("--mostrar-en-editor"), ruta, carpeta + "notas"}, carpeta);
        QVERIFY2(editor.codigo == 0, qPrintable(editor.errores.right(2000)));
        QVERIFY(editor.salida.contains(QStringLiteral("fondo 1")));
        const Resultado cli =
            ejecutarLimitado(QStringLiteral(KALNOR_CLI),
                             {QStringLiteral("exportar"), ruta, carpeta + "informe.pdf"}, carpeta);
        QVERIFY2(cli.codigo == 0, qPrintable(cli.errores.right(2000)));
        for (const char* pdf : {"notas.pdf", "informe.pdf"})
            QVERIFY(!tieneImagen(carpeta + pdf, 30000));
    }

    // What is pasted is no safer than a file: deep tables and a picture of
    // the disk from the clipboard.
    void loPegadoPasaPorLoMismo() {
        EntornoKalnor entorno;
        const QString secreto = entorno.rutas().RutaDat + "secreto.png";
        crearImagen(secreto);
        Documento doc;
        QVERIFY(doc.AbrirBase(entorno.crear("a.mdb", "DIS").toStdString()));
        EditorNotas editor(doc);
        editor.show();
        auto* datos = new QMimeData;
        datos->setHtml(QStringLiteral("<p>PEGADO</p><img src=\"%1\">").arg(secreto) +
                       anidado("<table><tr><td>", "</td></tr></table>", 3000));
        QApplication::clipboard()->setMimeData(datos);
        editor.caja()->paste();
        QVERIFY(editor.caja()->toPlainText().contains(QStringLiteral("PEGADO")));
        QVERIFY(editor.caja()->toPlainText().contains(QStringLiteral("FONDO")));
        (void)editor.grab();
        const QString odt = entorno.rutas().RutaDat + "notas.odt";
        QVERIFY(editor.acciones().exportarA(odt, FormatoNotas::Odt));
        QVERIFY(!tieneImagen(odt, 97));
    }

    // The stored statement is left as it was: showing it writes nothing.
    void loMostradoNoCambiaElArchivo() {
        EntornoKalnor entorno;
        const QString ruta = entorno.crear("hostil.mdb", "DIS");
        const QByteArray texto = anidado("<div>", "</div>", 1000).toUtf8();
        QVERIFY(escribirEnunciado(ruta, texto));
        const Resultado editor = ejecutarLimitado(
            QCoreApplication::applicationFilePath(),
            {QStringLiteral("--mostrar-en-editor"), ruta, entorno.rutas().RutaDat + "notas"},
            entorno.rutas().RutaDat);
        QCOMPARE(editor.codigo, 0);
        Documento doc;
        QVERIFY(doc.AbrirBase(ruta.toStdString()));
        QCOMPARE(QByteArray::fromStdString(doc.Enunciado()), texto);
    }
};

int main(int argc, char* argv[]) {
    QApplication aplicacion(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--mostrar-en-editor")
        return mostrarEnEditor(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    EnunciadoHostilTest prueba;
    return QTest::qExec(&prueba, argc, argv);
}

#include "EnunciadoHostilTest.moc"
