// The notes editor: bound to the statement of the open file, its buttons,
// the font rule and the writing of what is typed.

#include "../app/EntornoKalnor.h"

#include "notes/EditorNotas.h"
#include "notes/EstiloNotas.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QProcess>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <cstdio>

using namespace kalnor;
using namespace kalnor::prueba;

namespace {

QString notasEnArchivo(const QString& ruta) {
    Documento doc;
    doc.AbrirBase(ruta.toStdString());
    QTextDocument texto;
    texto.setHtml(QString::fromStdString(doc.Enunciado()));
    return texto.toPlainText();
}

// Child process of the crash test: opens `ruta`, types, says so, and waits
// to be killed.
int escribirYEsperar(const QString& ruta) {
    Documento doc;
    if (!doc.AbrirBase(ruta.toStdString()))
        return 3;
    EditorNotas editor(doc);
    editor.show();
    QTest::keyClicks(editor.caja(), "Notas que no se pierden");
    std::puts("escrito");
    std::fflush(stdout);
    return QApplication::exec();
}

} // namespace

class EditorNotasTest : public QObject {
    Q_OBJECT

private slots:
    void muestraElEnunciadoDelArchivoAbierto() {
        EntornoKalnor entorno;
        Documento doc;
        EditorNotas editor(doc);
        QVERIFY(editor.caja()->isReadOnly()); // nothing open: nowhere to write
        QVERIFY(doc.AbrirBase(entorno.ejemplo("Notas_examen.mdb").toStdString()));
        QVERIFY(editor.caja()->toPlainText().contains("NOTAS DEL EXAMEN"));
        QVERIFY(!editor.caja()->isReadOnly());
    }

    void loEscritoSigueAhiAlCerrarYReabrir() {
        EntornoKalnor entorno;
        const QString ruta = entorno.crear("a.mdb", "DIS");
        {
            Documento doc;
            EditorNotas editor(doc);
            QVERIFY(doc.AbrirBase(ruta.toStdString()));
            QTest::keyClicks(editor.caja(), "Media: 5,2");
            editor.guardar(); // what the window does before closing
            doc.CerrarBase();
        }
        QCOMPARE(notasEnArchivo(ruta), QString("Media: 5,2"));
        Documento doc;
        EditorNotas editor(doc);
        QVERIFY(doc.AbrirBase(ruta.toStdString()));
        QCOMPARE(editor.caja()->toPlainText(), QString("Media: 5,2"));
    }

    void seGuardaSoloPocoDespuesDeEscribir() {
        EntornoKalnor entorno;
        const QString ruta = entorno.crear("a.mdb", "DIS");
        Documento doc;
        EditorNotas editor(doc);
        QVERIFY(doc.AbrirBase(ruta.toStdString()));
        QTest::keyClicks(editor.caja(), "abc");
        QTRY_COMPARE_WITH_TIMEOUT(notasEnArchivo(ruta), QString("abc"), 2000);
    }

    void reabrirElMismoArchivoConservaLoPendiente() {
        // A command that reopens the file (a new column ...) while notes wait.
        EntornoKalnor entorno;
        const QString ruta = entorno.crear("a.mdb", "DIS");
        Documento doc;
        EditorNotas editor(doc);
        QVERIFY(doc.AbrirBase(ruta.toStdString()));
        QTest::keyClicks(editor.caja(), "pendiente");
        doc.CerrarBase();
        QVERIFY(doc.AbrirBase(ruta.toStdString()));
        QCOMPARE(editor.caja()->toPlainText(), QString("pendiente"));
        QCOMPARE(notasEnArchivo(ruta), QString("pendiente"));
    }

    void matarElProcesoNoPierdeLoEscrito() {
        EntornoKalnor entorno;
        const QString ruta = entorno.crear("a.mdb", "DIS");
        QProcess hijo;
        hijo.start(QApplication::applicationFilePath(), {"--escribir-y-esperar", ruta});
        QVERIFY(hijo.waitForStarted());
        QVERIFY(hijo.waitForReadyRead(20000));
        QVERIFY(hijo.readAllStandardOutput().contains("escrito"));
        QTest::qWait(2000);
        hijo.kill();
        QVERIFY(hijo.waitForFinished());
        QCOMPARE(notasEnArchivo(ruta), QString("Notas que no se pierden"));
    }

    void pegarEnNotasInsertaYDejaElTextoEnElPortapapeles() {
        EntornoKalnor entorno;
        Documento doc;
        EditorNotas editor(doc);
        QVERIFY(doc.AbrirBase(entorno.crear("a.mdb", "DIS").toStdString()));
        QTest::keyClicks(editor.caja(), "AB");
        editor.caja()->moveCursor(QTextCursor::PreviousCharacter);
        editor.PegarEnNotas("\r\nS[x]= 4\r\n");
        QCOMPARE(editor.caja()->toPlainText(), QString("A\nS[x]= 4\nB"));
        QCOMPARE(QApplication::clipboard()->text(), QString("\r\nS[x]= 4\r\n"));
    }

    void insertarLineaYCopiar() {
        EntornoKalnor entorno;
        Documento doc;
        EditorNotas editor(doc);
        QVERIFY(doc.AbrirBase(entorno.crear("a.mdb", "DIS").toStdString()));
        editor.cmdNotas_Click(6);
        QCOMPARE(editor.caja()->toPlainText(), "\n" + QString(58, '~') + "\n");
        QVERIFY(QApplication::clipboard()->text().contains(QString(58, '~')));
        // Copying with nothing selected leaves the clipboard empty.
        editor.cmdNotas_Click(4);
        QVERIFY(QApplication::clipboard()->text().isEmpty());
        editor.cmdNotas_Click(7); // select all
        editor.cmdNotas_Click(4);
        QVERIFY(QApplication::clipboard()->text().contains(QString(58, '~')));
        editor.cmdNotas_Click(3); // delete the selection
        QVERIFY(editor.caja()->toPlainText().isEmpty());
        editor.cmdNotas_Click(2); // undo
        QVERIFY(editor.caja()->toPlainText().contains('~'));
    }

    void tamanoDeLetraElegido() {
        QCOMPARE(tamanoAplicado(12), 11);
        QCOMPARE(tamanoAplicado(10), 10);
        QCOMPARE(tamanoAplicado(9), 9);
        QCOMPARE(tamanoAplicado(15), 15);
        QCOMPARE(tamanoAplicado(3), 2);
        QCOMPARE(tamanoAplicado(54), 53);
    }

    void cancelarElDialogoDeLetraVuelveALaNormal() {
        EntornoKalnor entorno;
        Documento doc;
        EditorNotas editor(doc);
        QVERIFY(doc.AbrirBase(entorno.crear("a.mdb", "DIS").toStdString()));
        editor.letraINI(false, QFont("DejaVu Sans", 20), Qt::red);
        QTimer reloj;
        reloj.setInterval(20);
        bool visto = false;
        connect(&reloj, &QTimer::timeout, [&] {
            if (auto* dialogo = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                visto = true;
                dialogo->reject();
            }
        });
        reloj.start();
        editor.cmdLETRA_Click();
        QVERIFY(visto);
        const QTextCharFormat f = editor.caja()->currentCharFormat();
        QCOMPARE(f.fontPointSize(), 9.0);
        QCOMPARE(f.foreground().color(), QColor(Qt::black));
    }

    void letraElegidaYLetraNormal() {
        EntornoKalnor entorno;
        Documento doc;
        EditorNotas editor(doc);
        QVERIFY(doc.AbrirBase(entorno.crear("a.mdb", "DIS").toStdString()));
        QFont elegida("DejaVu Sans", 12);
        elegida.setBold(true);
        editor.letraINI(false, elegida, Qt::red);
        QTextCharFormat f = editor.caja()->currentCharFormat();
        QCOMPARE(f.fontPointSize(), 11.0);
        QCOMPARE(f.fontWeight(), int(QFont::Bold));
        QCOMPARE(f.foreground().color(), QColor(Qt::red));
        editor.cmdNotas_Click(0);
        f = editor.caja()->currentCharFormat();
        QCOMPARE(f.fontPointSize(), 9.0);
        QCOMPARE(f.fontFamilies().toStringList().value(0), QString("Courier New"));
        QCOMPARE(f.fontWeight(), int(QFont::Normal));
        QCOMPARE(f.foreground().color(), QColor(Qt::black));
    }
};

int main(int argc, char* argv[]) {
    QApplication aplicacion(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--escribir-y-esperar")
        return escribirYEsperar(QString::fromLocal8Bit(argv[2]));
    EditorNotasTest prueba;
    return QTest::qExec(&prueba, argc, argv);
}

#include "EditorNotasTest.moc"
