#include "DialogoNueva.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kalnor {

namespace {

constexpr int kRolClave = Qt::UserRole; // "uni" / "bi" on the group nodes

QIcon icono(const char* tema, QStyle::StandardPixmap reserva) {
    return QIcon::fromTheme(QString::fromLatin1(tema),
                            QApplication::style()->standardIcon(reserva));
}

} // namespace

DialogoNueva::DialogoNueva(QWidget* parent)
    : QDialog(parent), TreeView1_(new QTreeWidget), aceptar_(new QPushButton),
      cancelar_(new QPushButton) {
    setObjectName(QStringLiteral("frm_NUEVA"));
    setWindowTitle(QStringLiteral("NUEVA DISTRIBUCIÓN"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    TreeView1_->setObjectName(QStringLiteral("TreeView1"));
    TreeView1_->setHeaderHidden(true);
    TreeView1_->setIconSize(QSize(20, 20));
    TreeView1_->setMinimumSize(300, 240);

    // Node pictures: the two groups, a kind, and a kind while picked.
    const QIcon uni = icono("folder", QStyle::SP_DirIcon);
    const QIcon bi = icono("folder-documents", QStyle::SP_DirLinkIcon);
    QIcon tipo = icono("x-office-spreadsheet", QStyle::SP_FileIcon);
    tipo.addPixmap(icono("emblem-default", QStyle::SP_DialogApplyButton).pixmap(20),
                   QIcon::Selected);

    auto grupo = [this](const QString& texto, const QString& clave, const QIcon& dibujo,
                        const QStringList& tipos, const QIcon& dibujoTipo) {
        auto* raiz = new QTreeWidgetItem(TreeView1_, {texto});
        raiz->setData(0, kRolClave, clave);
        raiz->setIcon(0, dibujo);
        for (const QString& t : tipos)
            (new QTreeWidgetItem(raiz, {t}))->setIcon(0, dibujoTipo);
        raiz->setExpanded(true);
    };
    grupo(QStringLiteral("UNIDIMENSIONAL : X"), QStringLiteral("uni"), uni,
          {QStringLiteral("Categórica"), QStringLiteral("Discreta"), QStringLiteral("Continua")},
          tipo);
    grupo(QStringLiteral("BIDIMENSIONAL : X,Y"), QStringLiteral("bi"), bi,
          {QStringLiteral("Discreta, Discreta"), QStringLiteral("Discreta, Continua"),
           QStringLiteral("Continua, Continua")},
          tipo);

    aceptar_->setObjectName(QStringLiteral("Command1_1"));
    aceptar_->setText(QStringLiteral("Aceptar"));
    aceptar_->setEnabled(false);
    aceptar_->setDefault(true);
    cancelar_->setObjectName(QStringLiteral("Command1_0"));
    cancelar_->setText(QStringLiteral("Cancelar"));
    auto* botones = new QDialogButtonBox;
    botones->addButton(aceptar_, QDialogButtonBox::AcceptRole);
    botones->addButton(cancelar_, QDialogButtonBox::RejectRole);

    auto* indicacion = new QLabel(QStringLiteral("Elija el tipo de la nueva distribución:"));
    auto* capas = new QVBoxLayout(this);
    capas->setContentsMargins(12, 12, 12, 12);
    capas->setSpacing(8);
    capas->addWidget(indicacion);
    capas->addWidget(TreeView1_, 1);
    capas->addWidget(botones);

    connect(TreeView1_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* nodo) { nodoElegido(nodo); });
    connect(TreeView1_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* nodo) { nodoElegido(nodo); });
    connect(TreeView1_, &QTreeWidget::itemCollapsed, this, [this] {
        aceptar_->setEnabled(false);
        eleccion_ = nullptr;
    });
    connect(TreeView1_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* nodo) {
        if (nodo->parent() && aceptar_->isEnabled())
            accept();
    });
    connect(aceptar_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelar_, &QPushButton::clicked, this, &QDialog::reject);
}

void DialogoNueva::nodoElegido(QTreeWidgetItem* nodo) {
    if (!nodo)
        return;
    if (!nodo->parent()) { // a group
        aceptar_->setEnabled(false);
        tipoElegido_.clear();
        eleccion_ = nullptr;
        return;
    }
    const QString texto = nodo->text(0);
    eleccion_ = stats::kindByTipo(texto.toStdString());
    tipoElegido_ = texto;
    const std::string_view clase =
        eleccion_ && eleccion_->bivariate ? stats::kClaseBi : stats::kClaseUni;
    claseElegida_ = QString::fromUtf8(clase.data(), static_cast<qsizetype>(clase.size()));
    aceptar_->setEnabled(eleccion_ != nullptr);
}

} // namespace kalnor
