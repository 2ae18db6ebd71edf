#pragma once

#include <QLabel>

class QMimeData;

namespace kalnor {

// Image4: the target the result display is dragged onto to write the
// result into the notes.
class DestinoResultado : public QLabel {
    Q_OBJECT
public:
    explicit DestinoResultado(QWidget* parent = nullptr);

    static inline const QString kTipo = QStringLiteral("application/x-kalnor-resultado");
    // What the result display carries when dragged.
    static QMimeData* datosArrastre(const QString& resultado);

signals:
    void soltado();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void resaltar(bool si);
};

} // namespace kalnor
