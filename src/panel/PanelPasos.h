#pragma once

#include <QFrame>
#include <QStringList>

class QPushButton;
class QTextBrowser;

namespace kalnor {

// The "Paso a paso" panel of the calculator tab: the working of the last
// press, line by line, and a key that sends it to the notes.
class PanelPasos : public QFrame {
    Q_OBJECT
public:
    explicit PanelPasos(QWidget* parent = nullptr);

    // Shows `lineas` (the formula first, the result last); none clears it.
    void mostrar(const QStringList& lineas);
    const QStringList& lineas() const { return lineas_; }

    // The working as the notes take it: one line each, a blank line after.
    static QString textoParaNotas(const QStringList& lineas);

signals:
    void paraNotas(const QString& texto);

private:
    QStringList lineas_;
    QTextBrowser* texto_ = nullptr;
    QPushButton* aNotas_ = nullptr;
};

} // namespace kalnor
