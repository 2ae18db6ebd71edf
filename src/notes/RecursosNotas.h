#pragma once

#include <QTextDocument>
#include <QTextEdit>

#include <memory>
#include <string_view>

namespace kalnor {

struct AlmacenImagenes;

// Pictures a document that shows or exports the statement and notes may
// use: only those the file holds as data: URLs, decoded within bounds of
// size and of the document's total. Any other name (a file, a device, a web
// address, a relative path) gets an empty picture, so that neither Qt's own
// fallbacks nor the ODT writer ever read it from the disk or the network.
// Qt asks a document's loadResource() first, and a document without a
// parent of its own kind reads files there: both classes below answer it.

// A document with that rule, also for its clones: a clone made with this
// document as its parent asks it for every resource.
class DocumentoProtegido : public QTextDocument {
    Q_OBJECT
public:
    explicit DocumentoProtegido(QObject* parent = nullptr);
    ~DocumentoProtegido() override;

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    std::unique_ptr<AlmacenImagenes> almacen_;
};

// The notes box, with that rule for the document it shows. Rich text pasted
// or dropped into it goes through the statement's sanitiser too: a page
// copied from anywhere is no safer than a file.
class CajaNotas : public QTextEdit {
    Q_OBJECT
public:
    explicit CajaNotas(QWidget* parent = nullptr);
    ~CajaNotas() override;

    QVariant loadResource(int type, const QUrl& name) override;

protected:
    void insertFromMimeData(const QMimeData* source) override;

private:
    std::unique_ptr<AlmacenImagenes> almacen_;
};

// Puts the statement, made safe, into the box: HTML as rich text, the rest
// as plain text. Returns whether it had to be cut.
bool mostrarEnunciado(QTextEdit& caja, std::string_view enunciado);

} // namespace kalnor
