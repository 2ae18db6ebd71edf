// A program with one window of the title given, for the window-list tests:
// `ventana_titulada TITULO`. It ends when its window is closed.

#include <QGuiApplication>
#include <QRasterWindow>

int main(int argc, char* argv[]) {
    QGuiApplication aplicacion(argc, argv);
    QRasterWindow ventana;
    ventana.setTitle(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("Calculadora"));
    ventana.resize(200, 120);
    ventana.show();
    return QGuiApplication::exec();
}
