#include "Mensajes.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace kalnor {

void mensajeError(QWidget* parent, const QString& texto, const QString& titulo) {
    QMessageBox box(QMessageBox::Critical, titulo, texto, QMessageBox::Ok, parent);
    box.exec();
}

bool preguntaAtencion(QWidget* parent, const QString& texto) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("¡ Atención !"), texto,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Sí"));
    return box.exec() == QMessageBox::Yes;
}

} // namespace kalnor
