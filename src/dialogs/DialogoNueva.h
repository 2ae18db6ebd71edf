#pragma once

#include "stats/Kinds.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kalnor {

// frm_NUEVA: the kind of a new distribution, picked in a tree. "Aceptar" is
// enabled only while a kind (not a group) is picked.
class DialogoNueva : public QDialog {
    Q_OBJECT
public:
    explicit DialogoNueva(QWidget* parent = nullptr);

    // The kind picked; nullptr while none is.
    const stats::KindInfo* eleccion() const { return eleccion_; }
    QString ClaseElegida() const { return claseElegida_; }
    QString TipoElegido() const { return tipoElegido_; }

    QTreeWidget* arbol() const { return TreeView1_; }
    QPushButton* aceptar() const { return aceptar_; }
    QPushButton* cancelar() const { return cancelar_; }

private:
    void nodoElegido(QTreeWidgetItem* nodo);

    QTreeWidget* TreeView1_;
    QPushButton* aceptar_;
    QPushButton* cancelar_;
    const stats::KindInfo* eleccion_ = nullptr;
    QString claseElegida_;
    QString tipoElegido_;
};

} // namespace kalnor
